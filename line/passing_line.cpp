#include "line/passing_line.h"

#include "line/json_line.h"

namespace line {

namespace {

// Keeps the top level's "result", "serial" and "dry_run" and reads past the
// rest without building it: a rebuild reads every passing line of a record.
class TopLevelFields {
 public:
  bool null() { return Value(nullptr); }
  bool boolean(bool value) { return Value(nullptr, value); }
  bool number_integer(Json::number_integer_t) { return Value(nullptr); }
  bool number_unsigned(Json::number_unsigned_t) { return Value(nullptr); }
  bool number_float(Json::number_float_t, const std::string&) { return Value(nullptr); }
  bool string(std::string& text) { return Value(&text); }
  bool binary(Json::binary_t&) { return Value(nullptr); }
  bool start_object(std::size_t) {
    object_ = object_ || depth_ == 0;
    return Open();
  }
  bool start_array(std::size_t) { return Open(); }
  bool end_object() { return Close(); }
  bool end_array() { return Close(); }
  bool key(std::string& name) {
    if (depth_ == 1) key_ = name;
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
    return false;
  }
  bool Passed(std::string* serial) const {
    *serial = serial_;
    return object_ && passed_ && !dryRun_ && !serial_.empty();
  }

 private:
  // A value of the top level's latest key (the last one counts, as in a parsed object).
  bool Value(const std::string* text, bool isTrue = false) {
    if (depth_ != 1) return true;
    if (key_ == "result") passed_ = text != nullptr && *text == "pass";
    if (key_ == "serial") serial_ = text != nullptr ? *text : std::string();
    if (key_ == "dry_run") dryRun_ = isTrue;
    return true;
  }
  // A container as a value is no text and no true.
  bool Open() {
    Value(nullptr);
    ++depth_;
    return true;
  }
  bool Close() {
    --depth_;
    return true;
  }
  int depth_ = 0;
  bool object_ = false, passed_ = false, dryRun_ = false;
  std::string key_, serial_;
};

}  // namespace

bool PassingSerialOf(std::string_view line, std::string* serial) {
  // Lines without these words (failed units) are not parsed at all.
  if (line.find("\"pass\"") == std::string_view::npos ||
      line.find("\"serial\"") == std::string_view::npos) {
    return false;
  }
  TopLevelFields fields;
  return Json::sax_parse(line.begin(), line.end(), &fields) && fields.Passed(serial);
}

}  // namespace line
