// Asking an entry's questions and reading the answers into its work record.
#pragma once

#include "ui/menu_entries.h"

namespace ui {

enum class AnswerStatus { kAnswered, kRejected, kEndOfInput };

// Prints each prompt just before its own read, in order, and stops at the
// first answer that cannot be taken: an over-long word, or a number answer
// that is not a signed 32-bit decimal (kRejected, after "Input parameter
// error! \n"), or the end of input (kEndOfInput, nothing more printed).
AnswerStatus AskQuestions(const MenuQuestion (&questions)[kMaxMenuQuestions], MenuWork& work);

}  // namespace ui
