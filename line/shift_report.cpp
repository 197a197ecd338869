#include "line/shift_report.h"

#include "line/exit_status.h"
#include "line/shift_output.h"
#include "line/shift_reading.h"
#include "runtime/console.h"

namespace line::shift {

int RunShiftReport(const LineRequest& request) {
  ShiftTally tally;
  std::string why;
  for (const char* record : request.records) {
    if (!ReadShiftRecord(record, &tally, &why)) {
      runtime::ConsolePrint("%s\n", why.c_str());
      return kLineUsageError;
    }
  }
  FinishTally(&tally);
  const std::string report = request.json ? ShiftReportJson(request.records, tally)
                                          : ShiftReportText(request.records, tally);
  runtime::ConsolePrint("%s", report.c_str());
  // A serial on two passing units is two bridges that cannot be told apart.
  return tally.duplicates.empty() ? kLineAllPassed : kLineUnitFailed;
}

}  // namespace line::shift
