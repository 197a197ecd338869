#include "line/json_line.h"

namespace line {

Json ParsedJson(std::string_view text) {
  // The views' iterators, as the record index's own reading takes them.
  return Json::parse(text.begin(), text.end(), nullptr, false);
}

}  // namespace line
