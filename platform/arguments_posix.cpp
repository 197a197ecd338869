#include "platform/arguments.h"

namespace platform {

std::vector<std::string> Utf8Arguments(const char* const* argv) {
  std::vector<std::string> arguments;
  for (const char* const* at = argv; at != nullptr && *at != nullptr; ++at) {
    arguments.emplace_back(*at);
  }
  return arguments;
}

}  // namespace platform
