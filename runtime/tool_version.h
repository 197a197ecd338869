// The tool's own version, shown in the banners of both front ends.
#pragma once

namespace runtime {

constexpr const char* kToolVersion = "v1.0.0.0";

}  // namespace runtime
