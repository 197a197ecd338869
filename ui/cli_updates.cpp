#include "ui/option_families.h"

int32_t RunUpdateOption(char, const char* const*, char*) { return 0; }
