#include "sim/library/session.h"

namespace sim {

Session& CurrentSession() {
  static Session session;
  return session;
}

std::recursive_mutex& EntryMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

bool FailWithReason(const std::string& why) {
  std::string& note = CurrentSession().note;
  if (note.empty()) note = why;  // the first reason is the cause
  return false;
}

void ResetSessionForTest() {
  std::lock_guard<std::recursive_mutex> guard(EntryMutex());
  CurrentSession() = Session();
}

}  // namespace sim
