// What the production line needs of the system: a file changed under an
// exclusive lock, lines appended durably, files made only when new, the
// host's name and the UTC time. One implementation per system.
#pragma once

#include <functional>
#include <string>

// Opens the file at path (made when missing), waits for an exclusive lock on
// it that other processes honour, and hands its whole text to change. When
// change returns true, its new text replaces the old one and is on disk
// before the lock is released (a new file's folder entry too). False, with
// why, when the system refuses any of it.
bool ChangeFileLocked(const char* path, const std::function<bool(std::string& text)>& change,
                      std::string* why);

// Appends text to the file at path (made when missing) and has it on disk
// before returning.
bool AppendDurably(const char* path, const std::string& text, std::string* why);

// Makes the file at path with text, on disk before returning; an existing
// file is never touched (false, with why).
bool CreateNewFile(const char* path, const std::string& text, std::string* why);

std::string HostName();

// The current UTC time as ISO 8601: 2024-05-01T12:34:56Z.
std::string UtcTimeText();
