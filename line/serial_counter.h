// The profile's serial counter, PROFILE.counter: the next number to hand out,
// as decimal text. A number is taken under an exclusive lock and the next
// one is on disk before it is used, so no number is handed out twice, across
// units, runs, crashes and tool instances.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

namespace line {

// The counter's next number (never below start). With take, the counter is
// moved past it, durably, before this returns; without, it is only looked at.
// A number past `end` is never handed out: the range is used up.
bool NextSerialNumber(const std::string& counterPath, uint64_t start, bool take, uint64_t* number,
                      std::string* why, uint64_t end = UINT64_MAX);

// Why `number` cannot be handed out under a range that ends at `end`.
std::string RangeUsedUp(uint64_t number, uint64_t end);

}  // namespace line
