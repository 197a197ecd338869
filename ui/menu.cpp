#include "ui/menu.h"

std::map<int32_t, const char*> MenuTable;

void RunMenu() {}
