#include "ui/menu.h"

#include <cstddef>

#include "runtime/console.h"
#include "runtime/tool_version.h"
#include "sdk/library_text.h"
#include "ui/menu_answers.h"
#include "ui/menu_entries.h"

namespace ui {

using runtime::ConsolePrint;

std::map<int32_t, const char*> MenuTable;

namespace {

constexpr size_t kChoiceSize = 80;
constexpr const char* kRule = "--------------------------- \n";

bool ExitChosen = false;  // by the last RunMenu

}  // namespace

void BuildMenu() {
  MenuTable.clear();
  for (const MenuEntry& entry : kMenuEntries) MenuTable[entry.number] = entry.text;
}

void ShowMenu() {
  char sdkVersion[kSdkVersionSize];
  sdk::ReadSdkVersion(sdkVersion);
  ConsolePrint("%s", kRule);
  ConsolePrint("Sample tool %s \n", runtime::kToolVersion);
  ConsolePrint("SDK version : %s\n", sdkVersion);
  ConsolePrint("%s", kRule);
  ConsolePrint("Select function to test : \n\n");
  for (const auto& [number, text] : MenuTable) ConsolePrint("%d. %s \n", number, text);
  ConsolePrint("%s", kRule);
}

int32_t ParseMenuChoice(const char* answer) {
  if (answer == nullptr) return -1;
  // Only one or two characters can be a choice; a longer text is not scanned.
  size_t length = 0;
  while (length < 3 && answer[length] != '\0') ++length;
  if (length < 1 || length > 2) return -1;
  int32_t value = 0;
  for (size_t i = 0; i < length; ++i) {
    if (answer[i] < '0' || answer[i] > '9') return -1;
    value = value * 10 + (answer[i] - '0');
  }
  return value;
}

int32_t RunMenuFunction(const char* device, int32_t number) {
  MenuWork work = {};
  const MenuEntry* entry = FindMenuEntry(number);
  if (entry == nullptr || entry->run == nullptr) return -1;
  // An answer that could not be taken, or the end of input, fails the entry
  // before its operation runs.
  if (AskQuestions(entry->questions, work) != AnswerStatus::kAnswered) return 0;
  return entry->run(device, work);
}

bool MenuExitChosen() { return ExitChosen; }

void RunMenu(const char* device) {
  ExitChosen = false;
  BuildMenu();
  ShowMenu();
  char choice[kChoiceSize];
  for (;;) {
    // The end of input leaves nothing to wait for: it ends the menu as Exit does.
    if (runtime::ConsoleReadWord(choice, sizeof choice) == runtime::WordRead::kEndOfInput) return;
    const int32_t number = ParseMenuChoice(choice);
    // A number without an entry (0, 22 to 99) is answered like a non-number.
    const auto chosen = MenuTable.find(number);
    if (chosen == MenuTable.end()) {
      ConsolePrint("[Error] Only accepts number. Please re-enter the number.\n");
      ConsolePrint("Select function to test :\n");
      continue;
    }
    if (number == kExitNumber) {
      ExitChosen = true;
      return;
    }
    if (number == kShowHelpNumber) {
      ShowMenu();
      continue;
    }
    if (RunMenuFunction(device, number) == 0) {
      ConsolePrint("%s FAIL\n", chosen->second);
      return;
    }
    ConsolePrint("%s PASS\n", chosen->second);
    const MenuEntry* entry = FindMenuEntry(number);
    if (entry != nullptr && entry->notice) {
      ConsolePrint("Please power off-on device to make settings take effect!!\n");
    }
    return;
  }
}

}  // namespace ui
