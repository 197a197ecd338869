#include "line/run_image.h"

#include "line/sha256.h"
#include "platform/files.h"

bool DigestImage(const std::string& image, ImageDigest* digest, std::string* why) {
  std::string bytes;
  bool missing = false;
  if (!platform::ReadFileText(image, &bytes, &missing, why, kMaxImageSize)) return false;
  Sha256 sha;
  sha.Add(bytes.data(), bytes.size());
  digest->sha256 = sha.HexDigest();
  digest->size = bytes.size();
  return true;
}
