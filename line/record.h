// The line's record: one JSON line per unit, appended all or nothing.
#pragma once

#include <string>

bool CheckRecordAppendable(const std::string& path, std::string* why);
bool AppendRecordLine(const std::string& path, const std::string& line,
                      const std::string& passedSerial, bool* endedTail, std::string* why);
bool SerialPassedBefore(const std::string& path, const std::string& serial, bool* passed,
                        std::string* why);
