// The interactive front end: a numbered menu on standard input and output.
#pragma once

#include <cstdint>
#include <map>

namespace ui {

// Menu number -> entry text (constant texts; the table owns none).
extern std::map<int32_t, const char*> MenuTable;

// device: the device the chosen entry acts on.
void RunMenu(const char* device);
// Whether the last RunMenu ended by the Exit entry.
bool MenuExitChosen();
void BuildMenu();
void ShowMenu();
// The number 0..99 that a one- or two-digit answer writes, else -1.
int32_t ParseMenuChoice(const char* answer);
// Runs entry 2..20 and returns its result; -1 for any other number.
int32_t RunMenuFunction(const char* device, int32_t number);

}  // namespace ui
