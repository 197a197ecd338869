// One option of a command line, short (-gvd) or long (--list): its row
// drives recognition, dispatch and the help page alike.
#pragma once

#include <cstddef>

namespace ui {

template <typename Action>
struct OptionRow {
  const char* name;  // the letters after the dash ("gvd"), or the long name ("--list")
  int values;        // value elements that must follow it
  const char* help;  // its lines of the help page
  Action action;
};

// The first of `count` rows whose name `matches` the argument; null for none.
template <typename Row, typename Match>
const Row* FindOptionRow(const Row* rows, std::size_t count, Match matches) {
  for (std::size_t at = 0; at < count; ++at) {
    if (matches(rows[at].name)) return &rows[at];
  }
  return nullptr;
}

}  // namespace ui
