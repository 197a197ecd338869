// The production line's record (JSON Lines, one line per unit), written all
// or nothing by any number of tool instances at once, and the serials its
// passing units were given, found without reading it through.
//
// Beside the record (at the end of its symbolic links, so that every path
// to one record shares them): RECORD.lock, the lock file every append and
// lookup is made under (platform::FileLock; the record itself is never
// locked, so its readers are never hindered), and RECORD.serials, the index
// of passing serials (line/record_index.h).
#pragma once

#include <string>

namespace line {

// Whether the record at `path` can be appended to, asked before any unit is
// touched: it is opened to be changed (made, empty, when missing: it then
// stays, as the lock file does), its lock is taken, and its index is brought
// up to date (made from the whole record if need be, which takes a while for
// a long one: better now than while a unit waits). Refused with the system's
// reason: no path, a missing folder, a directory, anything but a regular file
// (a FIFO, a device), the file the tool's own output goes to, a file that may
// not be written, a lock not granted in time, an index that cannot be made.
bool CheckRecordAppendable(const std::string& path, std::string* why);

// Appends `line` (given without its line end) under the record's lock, all
// or nothing: a write that fails (a full disk) is cut back to the record's
// size before it, so no torn line stays. A last line without its line end (a
// torn tail from a crash, an edit in Notepad) is first ended with "\n", and
// `endedTail` says so. The line is on disk before this returns. With a
// `passedSerial`, the line is a passing unit's with that serial, and it is
// added to the index under the same lock. The line is written even when the
// index fails (the record is what counts): the index takes it when next opened.
bool AppendRecordLine(const std::string& path, const std::string& line,
                      const std::string& passedSerial, bool* endedTail, std::string* why);

// Whether `serial` was given to a passing unit of the record at `path` (a
// missing record: no, and nothing is made). Under the record's lock, with
// the index brought up to date first.
bool SerialPassedBefore(const std::string& path, const std::string& serial, bool* passed,
                        std::string* why);

}  // namespace line
