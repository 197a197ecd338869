#include <nettle/sha2.h>

#include "platform/digest.h"

namespace platform {

// nettle's hash functions cannot fail: nothing to tell in `why`.
bool Sha256Hex(const void* data, std::size_t size, std::string* hex, std::string* /*why*/) {
  sha256_ctx context;
  sha256_init(&context);
  sha256_update(&context, size, static_cast<const uint8_t*>(data));
  uint8_t digest[SHA256_DIGEST_SIZE];
  sha256_digest(&context, sizeof digest, digest);
  *hex = LowerHex(digest, sizeof digest);
  return true;
}

}  // namespace platform
