// The simulator's rules for values given as text (knobs, bridgesim's
// arguments): a number is a decimal integer from min to max and nothing else;
// a knob's value is taken without the blanks around it, and a blank value is
// no value at all, whichever knob it is.
#pragma once

#include <string>

namespace sim {

bool ParseDecimal(const std::string& text, long min, long max, long* value);

// The text without the blanks (spaces and tabs) around it.
std::string TrimBlanks(const std::string& text);

// The BRIDGESIM_* variable's value, trimmed; empty when it is unset or blank.
std::string KnobText(const char* variable);

}  // namespace sim
