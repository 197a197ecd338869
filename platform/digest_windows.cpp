#include <windows.h>
// After windows.h, whose types it uses.
#include <bcrypt.h>

#include <algorithm>
#include <cstdio>

#include "platform/digest.h"

namespace platform {

namespace {

// CNG reports an NTSTATUS, which has no text of its own in the console's code page.
bool Failed(const char* call, NTSTATUS status, std::string* why) {
  char code[11];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
  *why = std::string("SHA-256: ") + call + " failed, status " + code;
  return false;
}

}  // namespace

bool Sha256Hex(const void* data, std::size_t size, std::string* hex, std::string* why) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  NTSTATUS status = BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
  if (!BCRYPT_SUCCESS(status)) return Failed("BCryptOpenAlgorithmProvider", status, why);
  // No buffer for the hash object: CNG keeps it itself (Windows 7 and later).
  BCRYPT_HASH_HANDLE hash = nullptr;
  const char* call = "BCryptCreateHash";
  status = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0);
  // A ULONG of bytes at most per call, where size_t is wider.
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t done = 0; BCRYPT_SUCCESS(status) && done < size;) {
    const auto piece = static_cast<ULONG>(std::min<std::size_t>(size - done, ULONG{1} << 30));
    call = "BCryptHashData";
    status = BCryptHashData(hash, const_cast<PUCHAR>(bytes + done), piece, 0);
    done += piece;
  }
  UCHAR digest[32];
  if (BCRYPT_SUCCESS(status)) {
    call = "BCryptFinishHash";
    status = BCryptFinishHash(hash, digest, sizeof digest, 0);
  }
  if (hash != nullptr) BCryptDestroyHash(hash);
  BCryptCloseAlgorithmProvider(algorithm, 0);
  if (!BCRYPT_SUCCESS(status)) return Failed(call, status, why);
  *hex = LowerHex(digest, sizeof digest);
  return true;
}

}  // namespace platform
