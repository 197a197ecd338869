#include "ui/bounded_text.h"

#include <cstring>

bool CopyBoundedText(char* dest, size_t size, const char* text) {
  if (dest == nullptr || text == nullptr || size == 0) return false;
  const size_t length = std::strlen(text);
  if (length >= size) return false;
  std::memcpy(dest, text, length);
  std::memset(dest + length, 0, size - length);
  return true;
}
