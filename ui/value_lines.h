// Value lines that both front ends print the same way.
#pragma once

#include "ops/customized_setting.h"

// "FW version: %s\n", or "FW version: Internal code\n" for the text the
// library reports while the bridge runs its internal code.
void PrintFWVersion(const char* versionText);

// The seven lines of a whole settings read, in the order vid, pid,
// manufacturer, product, serial number, HDD string, standby timer.
void PrintCustomizedSetting(const CustomizedSetting& setting);
