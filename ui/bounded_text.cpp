#include "ui/bounded_text.h"

#include <cstring>

namespace ui {

bool CopyBoundedText(char* dest, size_t size, const char* text) {
  if (dest == nullptr || text == nullptr || size == 0) return false;
  const size_t length = std::strlen(text);
  if (length >= size) return false;
  // The whole field is rewritten: no tail of an earlier value survives.
  std::memset(dest, 0, size);
  std::memcpy(dest, text, length + 1);
  return true;
}

}  // namespace ui
