// The shift report over records written here: every figure, both forms, refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "line/long_options.h"
#include "tests/fake/console_capture.h"

namespace {

const char* const kRecords[][2] = {
    {"a.jsonl",
     R"({"time":"2026-01-01T09:05:00Z","serial":"L-41","serial_number":41,"result":"pass"}
{"time":"2026-01-01T09:20:00Z","serial":"L-42","serial_number":42,"result":"fail","failed_step":"writing","failed_call":"QZ_Commit"}
{"time":"2026-01-01T10:40:00Z","serial":"L-44","serial_number":44,"before":{"serial":"L-42"},"result":"pass"}
not json
{"time":"2026-01-01T10:10:00Z","serial":"L-45","serial_number":45,"result":"fail","failed_step":"verifying"}
{"time":"2026-01-01T10:30:00Z","serial":"L-46","serial_number":46,"result":"pass","dry_run":true}
)"},
    {"b.jsonl", "\r\n{\"serial\":\"L-41\",\"serial_number\":48,\"result\":\"pass\"}\n"},
    {"e.jsonl", ""},
    {"x.jsonl", "[1]\n{\"result\":1}"},
};

TEST(ShiftReportTest, FiguresAndRefusals) {
  for (const auto& record : kRecords) std::ofstream(record[0]) << record[1];
  std::ofstream("n.jsonl") << std::string("{}\n\n\0", 5);
  std::ofstream("l.jsonl") << std::string(3 << 20, 'x') << "\n{\"result\":\"pass\"}";
  const struct {
    const char* args;
    int status;
    const char* output;
  } cases[] = {
      {"a.jsonl b.jsonl", 1,
       "records        a.jsonl, b.jsonl\nunits          5\npassed         3\nfailed         2\n"
       "yield          60.0%\nretries        1\nfailed steps   verifying 1, writing 1\n"
       "failed calls   QZ_Commit 1\nhour           2026-01-01T09  units 2  passed 1\n"
       "hour           2026-01-01T10  units 2  passed 1\nhour           unknown        "
       "units 1  passed 1\nserials        41 to 48, 3 never given: 43, 46-47\n"
       "duplicates     1: L-41\ndry-run lines  1 (not units)\nbad lines      1: a.jsonl:4\n"},
      {"l.jsonl a.jsonl --json", 0,
       R"({"records":["l.jsonl","a.jsonl"],"units":5,"passed":3,"failed":2,"yield":0.6,"retries":1,)"
       R"("failed_steps":{"verifying":1,"writing":1},"failed_calls":{"QZ_Commit":1},"per_hour":[)"
       R"({"hour":"2026-01-01T09","units":2,"passed":1},{"hour":"2026-01-01T10","units":2,)"
       R"("passed":1},{"hour":"unknown","units":1,"passed":1}],"serials":{"first":41,"last":45,)"
       R"("gaps":[43],"gap_count":1},"duplicates":[],"dry_run_lines":1,"bad_lines":[{"file":)"
       R"("l.jsonl","line":1},{"file":"a.jsonl","line":4}],"bad_line_count":2})"
       "\n"},
      {"a.jsonl none.jsonl", 2, "cannot open none.jsonl: No such file or directory\n"},
      {"e.jsonl", 2, "e.jsonl is empty\n"},
      {"n.jsonl", 2, "n.jsonl is not a text file (a NUL byte on line 3)\n"},
      {"x.jsonl", 2, "x.jsonl holds no record line (a JSON object with a \"result\")\n"},
      {"--json", 2, "--report needs a value (see --help)\n"},
      {"a.jsonl -fv", 2, "an option after a long option (see --help)\n"},
  };
  for (const auto& c : cases) {
    std::istringstream words(std::string("bridgefw --report ") + c.args);
    const std::vector<std::string> args{std::istream_iterator<std::string>(words), {}};
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    argv.push_back(nullptr);
    ConsoleCapture capture;
    line::LineRun run;
    EXPECT_EQ(line::PrepareLongOptions(argv.data(), &run), std::optional<int>(c.status)) << c.args;
    EXPECT_EQ(capture.Output(), c.output);
  }
  for (const auto& record : kRecords) std::remove(record[0]);
  for (const char* name : {"l.jsonl", "n.jsonl"}) std::remove(name);
}

}  // namespace
