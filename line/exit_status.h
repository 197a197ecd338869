// Exit statuses of a run with long options.
#pragma once

namespace line {

constexpr int kLineAllPassed = 0;
constexpr int kLineUnitFailed = 1;
constexpr int kLineUsageError = 2;  // nothing touched
constexpr int kLineNoDevice = 3;    // no library, or no (such) device

}  // namespace line
