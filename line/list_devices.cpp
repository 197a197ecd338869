#include "line/list_devices.h"

#include <cstring>

#include "line/device_choice.h"
#include "line/exit_status.h"
#include "line/unit_reading.h"
#include "runtime/console.h"
#include "runtime/device_list.h"
#include "sdk/api_table.h"

namespace line {

using runtime::DeviceList;

namespace {

struct Listed {
  UnitReading unit;
  bool read = false;
  std::string version;  // "-" when it runs no firmware
};

Listed ReadListed(int index) {
  Listed listed;
  const sdk::RefusalWatch watch;
  listed.read = ReadUnit(DeviceList[index], &listed.unit) && watch.FirstRefused() == nullptr;
  const bool firmware = std::strcmp(ModeName(listed.unit), "firmware") == 0;
  listed.version = firmware ? listed.unit.version : "-";
  return listed;
}

std::string Shown(const Listed& listed, const char* setting) {
  if (!listed.read) return "?";
  return ops::FindSettingRow(setting)->readText(listed.unit.setting);
}

Json ListedJson(int index, const Listed& listed) {
  return Json{{"device", index + 1},
              {"path", DeviceList[index]},
              {"series", SeriesName(listed.unit)},
              {"mode", ModeName(listed.unit)},
              {"version", listed.version},
              {"vid", Shown(listed, "vid")},
              {"pid", Shown(listed, "pid")},
              {"serial", Shown(listed, "serial")}};
}

void PrintListed(int index, const Listed& listed) {
  const std::string ids = listed.read ? Shown(listed, "vid") + ":" + Shown(listed, "pid") : "?";
  runtime::ConsolePrint("%d %s %s %s %s %s %s\n", index + 1, ShownText(DeviceList[index]).c_str(),
                        SeriesName(listed.unit), ModeName(listed.unit),
                        ShownText(listed.version).c_str(), ids.c_str(),
                        ShownText(Shown(listed, "serial")).c_str());
}

}  // namespace

int ListDevices(const LineRequest& request) {
  Json list = Json::array();
  int status = kLineAllPassed;
  for (int i = 0; i < runtime::ListedDeviceCount(); ++i) {
    const Listed listed = ReadListed(i);
    if (!listed.read) status = kLineUnitFailed;
    if (request.json) list.push_back(ListedJson(i, listed));
    if (!request.json) PrintListed(i, listed);
  }
  if (request.json) {
    runtime::ConsolePrint("%s\n",
                          list.dump(-1, ' ', false, Json::error_handler_t::replace).c_str());
  } else {
    PrintListingLimit();
  }
  return status;
}

}  // namespace line
