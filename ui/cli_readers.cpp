#include "ui/option_families.h"

int32_t RunReaderOption(char, const char* const*, char*) { return 0; }
