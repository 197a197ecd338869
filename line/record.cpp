#include "line/record.h"

#include "platform/files.h"

bool CheckRecordAppendable(const std::string& path, std::string* why) {
  std::FILE* file = platform::OpenRegularFile(path, why, platform::FileAccess::kUpdate);
  if (file == nullptr) {
    bool missing = false;
    std::string text;
    if (platform::ReadFileText(path, &text, &missing, why) || !missing) return false;
    return platform::AppendToFile(path, "", platform::Sync::kToDisk, why);
  }
  std::fclose(file);
  return true;
}

bool AppendRecordLine(const std::string& path, const std::string& line,
                      const std::string& /*passedSerial*/, bool* endedTail, std::string* why) {
  *endedTail = false;
  return platform::AppendToFile(path, line + "\n", platform::Sync::kToDisk, why);
}

bool SerialPassedBefore(const std::string& path, const std::string& serial, bool* passed,
                        std::string* why) {
  std::string text;
  bool missing = false;
  *passed = false;
  if (!platform::ReadFileText(path, &text, &missing, why, 1u << 30)) return missing;
  *passed = text.find("\"serial\":\"" + serial + "\"") != std::string::npos &&
            text.find("\"result\":\"pass\"") != std::string::npos;
  return true;
}
