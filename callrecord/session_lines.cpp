#include "callrecord/session_lines.h"

namespace callrecord {

std::string SessionRunLine(const std::string& time, long processId, const std::string& library,
                           const std::string& problem) {
  std::string line = "run " + time + " pid " + std::to_string(processId) + " library " +
                     QuoteText(library.c_str());
  if (!problem.empty()) line += " " + problem;
  return line + "\n";
}

std::string SessionCallLine(const std::string& time, const std::string& call, int32_t result) {
  return time + " " + call + ResultText(result) + "\n";
}

SessionLine ParseSessionLine(const std::string& rawLine, RecordedCall* call, std::string* error) {
  std::string line = rawLine;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos || line[first] == '#') return SessionLine::kNote;
  if (line.compare(first, 4, "run ") == 0) return SessionLine::kRun;
  *call = RecordedCall();
  const std::size_t timeEnd = line.find(' ', first);
  if (timeEnd == std::string::npos) {
    *error = "a call needs a time stamp, then NAME(ARGUMENTS) = RESULT";
    return SessionLine::kBad;
  }
  const std::size_t callStart = line.find_first_not_of(' ', timeEnd);
  const std::string text = callStart == std::string::npos ? "" : line.substr(callStart);
  return ParseCall(text, call, error) ? SessionLine::kCall : SessionLine::kBad;
}

}  // namespace callrecord
