#include "ui/menu_answers.h"

#include <cstddef>

#include "ops/messages.h"
#include "ops/setting_table.h"
#include "runtime/console.h"
#include "ui/decimal_number.h"

namespace ui {

using runtime::WordRead;

namespace {

constexpr size_t kNumberWordSize = 80;

AnswerStatus AnswerOf(WordRead read) {
  switch (read) {
    case WordRead::kRead:
      return AnswerStatus::kAnswered;
    case WordRead::kTooLong:
      return AnswerStatus::kRejected;
    case WordRead::kEndOfInput:
      break;
  }
  return AnswerStatus::kEndOfInput;
}

// A setting's answer: its wanted text, or the timer's number.
AnswerStatus ReadSettingAnswer(const ops::SettingRow& row, int part, MenuWork& work) {
  if (row.rule == ops::SettingRule::kSeconds) {
    char word[kNumberWordSize];
    const WordRead read = runtime::ConsoleReadNumberWord(word, sizeof word);
    if (read == WordRead::kEndOfInput) return AnswerStatus::kEndOfInput;
    const bool taken =
        read == WordRead::kRead && ParseDecimalInt32(word, &work.setting.standbyTimer);
    return taken ? AnswerStatus::kAnswered : AnswerStatus::kRejected;
  }
  return AnswerOf(runtime::ConsoleReadWord(row.wanted(work.setting, part), row.capacity));
}

AnswerStatus ReadAnswer(const char* answer, MenuWork& work) {
  int part = 0;
  const ops::SettingRow* row = ops::FindSettingRow(answer, &part);
  if (row != nullptr) return ReadSettingAnswer(*row, part, work);
  return AnswerOf(runtime::ConsoleReadWord(work.firmwarePath, sizeof work.firmwarePath));
}

}  // namespace

AnswerStatus AskQuestions(const MenuQuestion (&questions)[kMaxMenuQuestions], MenuWork& work) {
  for (const MenuQuestion& question : questions) {
    if (question.prompt == nullptr) break;
    runtime::ConsolePrint("%s", question.prompt);
    const AnswerStatus status = ReadAnswer(question.answer, work);
    if (status == AnswerStatus::kRejected) ops::PrintInputParameterError();
    if (status != AnswerStatus::kAnswered) return status;
  }
  return AnswerStatus::kAnswered;
}

}  // namespace ui
