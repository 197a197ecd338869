// The one JSON type of the line's records and reports, and the one reading
// of a line of it, so that the program holds a single JSON parser.
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

namespace line {

using Json = nlohmann::ordered_json;

// A line of JSON (a record line, a worker's event); discarded when it is none.
Json ParsedJson(std::string_view text);

}  // namespace line
