#include "ui/option_families.h"

int32_t RunWriterOption(char, const char* const*, char*) { return 0; }
