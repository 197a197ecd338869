// The simulated bridge's image parser on any bytes: it must answer, never
// read out of bounds, and accept only what it can describe.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim/bridge/image_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::FILE* file =
      bytes.empty() ? std::fopen("/dev/null", "rb") : fmemopen(&bytes[0], bytes.size(), "rb");
  if (file == nullptr) std::abort();
  sim::ImageInfo info;
  std::string error;
  const bool good = sim::ReadImageFrom(file, &info, &error);
  std::fclose(file);
  // A good image is exactly its parts; a bad one says why.
  const uint64_t parts = sim::kImageHeaderSize + (info.hasSettings ? sim::kImageSettingsSize : 0) +
                         info.payloadSize + sim::kImageCrcSize;
  if (good ? parts != size || info.version.empty() : error.empty()) std::abort();
  return 0;
}
