#include "sim/library/fault.h"

#include <climits>

#include "callrecord/entry_names.h"
#include "sim/bridge/decimal.h"

namespace sim {
namespace {

bool ParseRule(const std::string& text, FaultRule* rule, std::string* why) {
  std::string body = text;
  std::size_t equals = body.find('=');
  if (equals != std::string::npos) {
    long value = 0;
    if (!ParseDecimal(body.substr(equals + 1), INT32_MIN, INT32_MAX, &value)) {
      *why = "'" + text + "': the value after = is no 32-bit integer";
      return false;
    }
    rule->value = static_cast<int32_t>(value);
    body.resize(equals);
  }
  std::size_t at = body.find('@');
  if (at != std::string::npos) {
    long call = 0;
    if (!ParseDecimal(body.substr(at + 1), 1, INT_MAX, &call)) {
      *why = "'" + text + "': the call number after @ is not 1 or more";
      return false;
    }
    rule->call = static_cast<int>(call);
    body.resize(at);
  }
  std::size_t slash = body.find('/');
  if (slash != std::string::npos) {
    rule->device = body.substr(slash + 1);
    body.resize(slash);
    if (rule->device.empty()) {
      *why = "'" + text + "' names no device after /";
      return false;
    }
  }
  if (body.empty()) {
    *why = "'" + text + "' names no entry point";
    return false;
  }
  rule->name = body;
  return true;
}

}  // namespace

std::vector<std::string> SplitKnobList(const std::string& text) {
  std::vector<std::string> items;
  if (TrimBlanks(text).empty()) return items;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    items.push_back(TrimBlanks(text.substr(start, comma - start)));
    start = comma + 1;
  }
  return items;
}

std::vector<FaultRule> ParseFaultRules(const std::string& text) {
  std::vector<FaultRule> rules;
  std::string why;
  for (const std::string& item : SplitKnobList(text)) {
    FaultRule rule;
    if (ParseRule(item, &rule, &why)) rules.push_back(rule);
  }
  return rules;
}

bool ParseFaultRulesStrict(const std::string& text, std::vector<FaultRule>* rules,
                           std::string* why) {
  std::vector<FaultRule> parsed;
  for (const std::string& item : SplitKnobList(text)) {
    FaultRule rule;
    if (!ParseRule(item, &rule, why)) return false;
    if (!callrecord::IsEntryName(rule.name)) {
      *why = "'" + rule.name + "' is no entry point of the library";
      return false;
    }
    parsed.push_back(rule);
  }
  *rules = std::move(parsed);
  return true;
}

std::optional<int32_t> FaultFor(const std::vector<FaultRule>& rules, const std::string& name,
                                int call, const char* device) {
  for (const FaultRule& rule : rules) {
    const bool onDevice = rule.device.empty() || (device != nullptr && rule.device == device);
    if (rule.name == name && (rule.call == 0 || rule.call == call) && onDevice) return rule.value;
  }
  return std::nullopt;
}

}  // namespace sim
