#include "ui/decimal_number.h"

#include <limits>

#include "runtime/decimal.h"

namespace ui {

bool ParseDecimalInt32(const char* text, int32_t* value) {
  int64_t parsed = 0;
  if (text == nullptr || !runtime::ParseDecimal(text, std::numeric_limits<int32_t>::min(),
                                                std::numeric_limits<int32_t>::max(), &parsed)) {
    return false;
  }
  *value = static_cast<int32_t>(parsed);
  return true;
}

}  // namespace ui
