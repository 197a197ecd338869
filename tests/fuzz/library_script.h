// What both fuzz targets share: the input's split into the front end's part
// and a script for the recording fake, the scripted fake itself, and a
// harmless place to run in. The targets change directory at start: give them
// corpus directories and -artifact_prefix as absolute paths.
//
// Input: <front-end part> [ "\n%%\n" <script> ]. Without the marker the whole
// input is the front end's and the fake answers with its defaults.
//
// Script, one line each:
//   line 1: the device. '7' first: a QZT7-series bridge; '0' first: no device
//           listed (deviceCount 0); the rest of the line, when present, is the
//           device path (at most 255 characters kept).
//   then one line per library call, in call order: an action character and a
//   value. Actions: '0' fails and writes nothing; 'f' returns 0 but writes;
//   'w' returns 1 but writes nothing; '1'..'9' that result; '-' -1; 'M' and
//   'X' the 32-bit extremes; anything else (or no line left) the fake's own
//   result. The value, when present, is what this call writes: the text
//   (over-long ones included) and, when it reads as a number (strtoll, base
//   0), the ids, running-code mode and standby timer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

struct FuzzInput {
  std::string frontEnd;
  std::string script;
};

FuzzInput SplitFuzzInput(const uint8_t* data, size_t size);

// Installs the fake with the script's device and its per-call answers.
void InstallScriptedLibrary(const std::string& script);
void UninstallScriptedLibrary();

// Once per process: runs from a fresh scratch directory holding one readable
// image, "fw.bin", so path checks can pass, and returns the output sink:
// nothing, or standard output when BRIDGEFW_FUZZ_SHOW is set (to rerun one
// input and read what the tool printed; ShowCalls then lists the calls made).
FILE* PrepareFuzzProcess();

// A '/' in a path would reach files outside the scratch directory (devices
// among them); the tool gives the byte no meaning, so it becomes '_'.
void KeepInScratchDirectory(std::string& text);

void ShowCalls();

// One run changes the device at most once: true when the fake saw at most one
// of the calls that write settings or firmware.
bool AtMostOneCommit();
