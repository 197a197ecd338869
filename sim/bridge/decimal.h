// The simulator's one rule for numbers given as text (knobs, bridgesim's
// arguments): a decimal integer from min to max and nothing else.
#pragma once

#include <string>

namespace sim {

bool ParseDecimal(const std::string& text, long min, long max, long* value);

}  // namespace sim
