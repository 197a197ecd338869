#include "ui/menu_answers.h"

#include <cstddef>

#include "ops/messages.h"
#include "runtime/console.h"
#include "ui/decimal_number.h"

namespace {

constexpr size_t kNumberWordSize = 80;

struct TextField {
  char* text;
  size_t size;  // terminator included
};

template <size_t N>
TextField Field(char (&text)[N]) {
  return {text, N};
}

TextField TextFieldOf(MenuField field, MenuWork& work) {
  CustomizedSetting& setting = work.setting;
  switch (field) {
    case MenuField::kFirmwarePath:
      return Field(work.firmwarePath);
    case MenuField::kVidText:
      return Field(setting.vidText);
    case MenuField::kPidText:
      return Field(setting.pidText);
    case MenuField::kManufacturer:
      return Field(setting.manufacturer);
    case MenuField::kProduct:
      return Field(setting.product);
    case MenuField::kSerialNumber:
      return Field(setting.serialNumber);
    case MenuField::kHddString1:
      return Field(setting.hddString1);
    case MenuField::kHddString2:
      return Field(setting.hddString2);
    case MenuField::kStandbyTimer:  // the number answer, read apart
      break;
  }
  return {nullptr, 0};  // a read into no room takes nothing
}

AnswerStatus ReadAnswer(MenuField field, MenuWork& work) {
  if (field == MenuField::kStandbyTimer) {
    char word[kNumberWordSize];
    const WordRead read = ConsoleReadNumberWord(word, sizeof word);
    if (read == WordRead::kEndOfInput) return AnswerStatus::kEndOfInput;
    const bool taken =
        read == WordRead::kRead && ParseDecimalInt32(word, &work.setting.standbyTimer);
    return taken ? AnswerStatus::kAnswered : AnswerStatus::kRejected;
  }
  const TextField target = TextFieldOf(field, work);
  switch (ConsoleReadWord(target.text, target.size)) {
    case WordRead::kRead:
      return AnswerStatus::kAnswered;
    case WordRead::kTooLong:
      return AnswerStatus::kRejected;
    case WordRead::kEndOfInput:
      break;
  }
  return AnswerStatus::kEndOfInput;
}

}  // namespace

AnswerStatus AskQuestions(const MenuQuestion (&questions)[kMaxMenuQuestions], MenuWork& work) {
  for (const MenuQuestion& question : questions) {
    if (question.prompt == nullptr) break;
    ConsolePrint("%s", question.prompt);
    const AnswerStatus status = ReadAnswer(question.field, work);
    if (status == AnswerStatus::kRejected) PrintInputParameterError();
    if (status != AnswerStatus::kAnswered) return status;
  }
  return AnswerStatus::kAnswered;
}
