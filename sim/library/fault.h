// BRIDGESIM_FAULT: make named entry points fail or return a given value.
//   NAME       every call returns 0 without effect
//   NAME=V     every call returns V without effect
//   NAME@N     only the N-th call (1-based) in this process
//   NAME@N=V   the N-th call returns V
//   NAME/PATH  (with any of the above) only calls that name the device PATH
//              first; @N still counts every call of NAME
// Rules are separated by commas. ParseFaultRules skips a malformed rule;
// ParseFaultRulesStrict (what the simulated library uses) refuses the whole
// text and says why.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct FaultRule {
  std::string name;
  int call = 0;  // 0: every call
  int32_t value = 0;
  std::string device;  // empty: any device
};

std::vector<FaultRule> ParseFaultRules(const std::string& text);

// Also refuses a rule naming no entry point of the library.
bool ParseFaultRulesStrict(const std::string& text, std::vector<FaultRule>* rules,
                           std::string* why);

// What the `call`-th call of `name`, for `device` (its first text argument,
// or null), returns instead of being carried out; nothing when no rule
// applies. The first matching rule wins.
std::optional<int32_t> FaultFor(const std::vector<FaultRule>& rules, const std::string& name,
                                int call, const char* device = nullptr);

// The comma-separated items of a knob, each trimmed of blanks; none for an
// empty text.
std::vector<std::string> SplitKnobList(const std::string& text);

}  // namespace sim
