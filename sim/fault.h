// BRIDGESIM_FAULT: make named entry points fail or return a given value.
//   NAME       every call returns 0 without effect
//   NAME=V     every call returns V without effect
//   NAME@N     only the N-th call (1-based) in this process
//   NAME@N=V   the N-th call returns V
// Rules are separated by commas; a malformed rule is ignored.
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
};

std::vector<FaultRule> ParseFaultRules(const std::string& text);

// What the `call`-th call of `name` returns instead of being carried out;
// nothing when no rule applies. The first matching rule wins.
std::optional<int32_t> FaultFor(const std::vector<FaultRule>& rules, const std::string& name,
                                int call);

}  // namespace sim
