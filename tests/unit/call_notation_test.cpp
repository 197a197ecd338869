// The call notation and the session lines read back: escapes, hex, results,
// outputs, run ids, the run line, and a reader over lines cut, blank and torn.
#include "callrecord/call_notation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "callrecord/session_lines.h"
#include "sdk/api_sizes.h"

namespace {

using namespace callrecord;

// A call as read: each argument a word (O: an output; T: a text; [..]: a list).
std::string Shown(const RecordedCall& call) {
  std::string text = call.name;
  for (const CallValue& v : call.args) {
    text += v.out ? " O" : " ";
    if (v.kind == CallValue::Kind::kNull) text += "null";
    if (v.kind == CallValue::Kind::kText) text += "T" + v.text;
    if (v.kind == CallValue::Kind::kNumber) text += std::to_string(v.number);
    if (v.kind == CallValue::Kind::kList) {
      text += "[";
      for (const std::string& path : v.list) text += path + ";";
      text += "]";
    }
  }
  return text + " = " + std::to_string(call.result);
}

TEST(CallNotation, ParseCallReadsWhatIsWrittenAndNothingElse) {
  std::string sixteen = "QZ_GetDeviceList(list=[\"\"";  // as many paths as a list holds
  for (int i = 1; i < 16; ++i) sixteen += ", \"\"";
  const std::string arg = "!argument 1 cannot be read",
                    end = "!expected = and a 32-bit result at the end";
  const struct {
    std::string text, read;  // read: Shown, or "!" and the error
  } rows[] = {
      {R"(QZ_A("a\\b\"c\x41\x7f", null, -12, 0x3a5C, out=0xFFFF, out="", out=-7) = 2147483647)",
       "QZ_A Ta\\b\"cA\x7f null -12 14940 O65535 OT O-7 = 2147483647"},
      {"  QZ_B ( ) = -2147483648  ", "QZ_B = -2147483648"},
      {R"(QZ_GetDeviceList(list=["d0", "d1"], out=2) = 0x10)",
       "QZ_GetDeviceList O[d0;d1;] O2 = 16"},
      {R"(QZ_GetDeviceList(out ["d0"], out 1) = 1)", "QZ_GetDeviceList O[d0;] O1 = 1"},
      {"QZ_GetDeviceList(list=[], out=0) = 0", "QZ_GetDeviceList O[] O0 = 0"},
      {sixteen + "], out=16) = 1", "QZ_GetDeviceList O[" + std::string(16, ';') + "] O16 = 1"},
      {sixteen + ", \"\"], out=17) = 1", arg},
      {"QZ_A(4294967296, 0x100000000) = 1", "QZ_A 4294967296 4294967296 = 1"},
      {"(1) = 1", "!expected an entry-point name and ("},
      {"QZ_A 1) = 1", "!expected an entry-point name and ("},
      {"QZ_A(1 2) = 1", "!expected , or ) after argument 1"},
      {"QZ_A(12AB) = 1", "!expected , or ) after argument 1"},
      {"QZ_A(1,) = 1", "!argument 2 cannot be read"},
      {R"(QZ_A("\x00") = 1)", arg},
      {R"(QZ_A("\x4") = 1)", arg},
      {R"(QZ_A("\q") = 1)", arg},
      {R"(QZ_A("a\) = 1)", arg},
      {R"(QZ_A("open) = 1)", arg},
      {"QZ_A(out=null) = 1", arg},
      {"QZ_A(list=null) = 1", arg},
      {"QZ_A(list=5) = 1", arg},
      {"QZ_A([]) = 1", arg},
      {R"(QZ_A(list=["a" "b"]) = 1)", arg},
      {"QZ_A(list=[1]) = 1", arg},
      {"QZ_A(0x) = 1", arg},
      {"QZ_A(-) = 1", arg},
      {"QZ_A(4294967297) = 1", arg},
      {"QZ_A(0x100000001) = 1", arg},
      {"QZ_A() = 2147483648", end},
      {"QZ_A() = -2147483649", end},
      {"QZ_A() = 1 x", end},
      {"QZ_A() 1", end},
      {"QZ_A() =", end},
      {"QZ_A()", end},
  };
  for (const auto& row : rows) {
    RecordedCall call;
    std::string error;
    const bool ok = ParseCall(row.text, &call, &error);
    EXPECT_EQ(ok ? Shown(call) : "!" + error, row.read) << row.text;
    EXPECT_EQ(call.written, ok ? row.text : "");
  }
}

// Every byte a library may leave is written so that it reads back as itself.
TEST(CallNotation, QuotedTextReadsBackAsItself) {
  const std::string bytes = "\x01\x1F ~\x7F\\\"\xE9\xFF";
  const std::string quoted = QuoteText(bytes.c_str());
  EXPECT_EQ(quoted, R"("\x01\x1F ~\x7F\\\"\xE9\xFF")");
  EXPECT_EQ(QuoteText(nullptr), "null");
  RecordedCall call;
  std::string error;
  ASSERT_TRUE(ParseCall("QZ_A(" + quoted + ") = 1", &call, &error)) << error;
  EXPECT_EQ(call.args.at(0).text, bytes);
}

// What a call left in its outputs is left again as the library leaves it (a
// text with its terminator, as far as the buffer reaches) and told back.
TEST(CallNotation, OutputsLeftAgainAndToldBack) {
  const std::string longer(90, 'v'), fitting = std::string("ab") + '\0' + std::string(77, '#');
  for (const auto& [left, buffer] : {std::pair(longer, longer.substr(0, 80)), {"ab", fitting}}) {
    RecordedCall call;
    std::string error;
    ASSERT_TRUE(
        ParseCall(R"(QZ_GetFWVersion("d", out=")" + left + R"(", out=0xFFFF, out=2147483647) = 1)",
                  &call, &error))
        << error;
    char text[kLibraryTextSize + 1];
    std::memset(text, '#', sizeof text);
    uint16_t id = 0;
    int32_t number = 0;
    const auto args = std::make_tuple("d", text, &id, &number);
    EXPECT_TRUE(CallAgrees(call, "QZ_GetFWVersion", args));
    EXPECT_FALSE(CallAgrees(call, "QZ_GetFWVersion", std::make_tuple("e", text, &id, &number)));
    WriteOutputs(args, call.args, "QZ_GetFWVersion");
    EXPECT_EQ(std::string(text, sizeof text), buffer + "#");
    EXPECT_EQ(
        CallText("QZ_GetFWVersion", args, true),
        R"(QZ_GetFWVersion("d", out=")" + left.substr(0, 80) + R"(", out=0xFFFF, out=2147483647))");
  }
  // The library version's buffer holds 20 bytes only.
  char version[kLibraryTextSize];
  std::memset(version, '#', sizeof version);
  CallValue sdk;
  sdk.text = std::string(40, 'S');
  WriteOutput(version, sdk, "QZ_GetSDKVersion");
  EXPECT_EQ(std::string(version, 21), std::string(20, 'S') + "#");
  EXPECT_EQ(ArgText(version, "QZ_GetSDKVersion", true), "out=\"" + std::string(20, 'S') + "\"");
}

TEST(SessionLines, SplitTellsNotesRunsAndCalls) {
  using K = SessionLine;
  const struct {
    std::string line;
    K kind;
    const char *run, *call;
  } rows[] = {
      {"", K::kNote, "", ""},
      {" \t", K::kNote, "", ""},
      {"\r", K::kNote, "", ""},
      {" \t# 1-2 QZ_A() = 1", K::kNote, "", ""},
      {"run 2025-03-04T09:15:02Z pid 4 library \"l\"", K::kRun, "", ""},
      {"09:15 42-2025 run command \"a\"", K::kRun, "42-2025", "run command \"a\""},
      {"09:15 42-2025 QZ_A() = 1\r", K::kCall, "42-2025", "QZ_A() = 1"},
      {" 09:15   42-2025   runs", K::kCall, "42-2025", "runs"},
      {"09:15  QZ_A() = 1", K::kCall, "", "QZ_A() = 1"},
      {"09:15 42- run", K::kCall, "", "42- run"},
      {"09:15 -2025 run", K::kCall, "", "-2025 run"},
      {"09:15 4a-2025 run", K::kCall, "", "4a-2025 run"},
      {"09:15 42-20x5 run", K::kCall, "", "42-20x5 run"},
      {"09:15 42-2025", K::kCall, "42-2025", ""},
      {"09:15", K::kBad, "", ""},
  };
  for (const auto& row : rows) {
    const SessionLineParts split = SplitSessionLine(row.line);
    EXPECT_EQ(split.kind, row.kind) << row.line;
    EXPECT_EQ(split.run, row.run) << row.line;
    EXPECT_EQ(split.call, row.call) << row.line;
  }
}

TEST(SessionLines, RunAndCallLinesAsWritten) {
  EXPECT_EQ(SessionRunId(4242, "2025-03-04T09:15:02.117345Z"), "4242-20250304091502117345");
  EXPECT_EQ(SessionRunLine("T", "1-2", std::string("bridgefw\0-sm\0A \"B\"\0", 19), true, "C:\\q",
                           "not loaded"),
            R"(T 1-2 run command "bridgefw" "-sm" "A \"B\"" "" ... library "C:\\q" not loaded)"
            "\n");
  EXPECT_EQ(SessionRunLine("T", "1-2", "", false, "l", ""), "T 1-2 run library \"l\"\n");
  EXPECT_EQ(SessionCallLine("T", "1-2", "QZ_A()", -5), "T 1-2 QZ_A() = -5\n");
}

// Lines of every length, the last one torn, and a return to a line told before.
TEST(SessionLines, ReaderCutsOverLongLinesAndReturns) {
  const std::string longest(kMaxSessionLine, 'x'), over = longest + "yz";
  const std::string text = "a\r\n\n" + longest + "\n" + over + "\nlast";
  std::FILE* file = std::tmpfile();
  ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
  std::rewind(file);
  SessionReader reader(file);
  const struct {
    std::string line;
    bool tooLong;
    uint64_t offset;
  } lines[] = {{"a\r", false, 3},
               {"", false, 4},
               {longest, false, 5 + kMaxSessionLine},
               {longest, true, 5 + 2 * kMaxSessionLine},
               {"last", false, text.size()}};
  uint64_t number = 0;
  for (const auto& want : lines) {
    std::string_view line;
    ASSERT_TRUE(reader.Next(&line)) << number;
    EXPECT_EQ(line, want.line);
    EXPECT_EQ(reader.tooLong(), want.tooLong);
    EXPECT_EQ(reader.lineNumber(), ++number);
    EXPECT_EQ(reader.offset(), want.offset);
  }
  std::string_view line;
  EXPECT_FALSE(reader.Next(&line));
  EXPECT_FALSE(reader.failed());
  ASSERT_TRUE(reader.Return(4, 2));
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line, longest);
  EXPECT_EQ(reader.lineNumber(), 3u);
  std::fclose(file);
}

}  // namespace
