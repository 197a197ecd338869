#include "line/run_image.h"

#include "platform/digest.h"
#include "platform/files.h"

namespace line {

bool DigestImage(const std::string& image, ImageDigest* digest, std::string* why) {
  std::string bytes;
  bool missing = false;
  if (!platform::ReadFileText(image, &bytes, &missing, why, kMaxImageSize)) return false;
  if (!platform::Sha256Hex(bytes.data(), bytes.size(), &digest->sha256, why)) return false;
  digest->size = bytes.size();
  return true;
}

}  // namespace line
