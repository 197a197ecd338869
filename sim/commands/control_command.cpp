#include "sim/commands/control_command.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/files.h"
#include "sim/bridge/crc32.h"
#include "sim/bridge/decimal.h"
#include "sim/bridge/fields.h"
#include "sim/bridge/state_store.h"
#include "sim/library/env.h"
#include "sim/library/knobs.h"

namespace sim {
namespace {

// Below the commands in the usage.
constexpr const char* kFieldUsage =
    "FIELD: series mode version vid pid manufacturer product serial hdd-vendor\n"
    "       hdd-product timer manu-prod-ctl inquiry-ctl display-hdd map-hdd sn-from-nvram\n";

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kMisuse = 2;

bool ParseIndex(const std::string& text, std::size_t* index) {
  long value = 0;
  if (text.empty() || text[0] == '+' || text[0] == '-' || !ParseDecimal(text, 0, INT_MAX, &value))
    return false;
  *index = static_cast<std::size_t>(value);
  return true;
}

bool ParseMode(const std::string& text, int32_t* mode) {
  long value = 0;
  if (!ParseDecimal(text, INT32_MIN, INT32_MAX, &value)) return false;
  *mode = static_cast<int32_t>(value);
  return true;
}

std::string Usage();

class Command {
 public:
  Command(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
      : args_(args), out_(out), err_(err), store_(StateStore::FromEnvironment()) {}

  int Run();

  // The commands (kCommands).
  int Reset() {
    std::string error;
    if (!store_.Overwrite(DefaultState(), &error)) return Fail(error);
    return kOk;
  }

  int Show() {
    State state;
    std::string error;
    if (!store_.Load(&state, &error)) return Fail(error);
    out_ << "state: " << store_.path() << "\n";
    if (state.devices.empty()) out_ << "no devices\n";
    for (std::size_t i = 0; i < state.devices.size(); ++i) {
      ShowUnit("device " + std::to_string(i), state.devices[i]);
    }
    for (const Device& d : state.unplugged) ShowUnit("unplugged", d);
    return kOk;
  }

  int Add() {
    Series series = Series::kOther;
    if (args_.size() == 3 && args_[1] == "--series") {
      if (!ParseSeries(args_[2], &series)) return Misuse(args_[0], "the series is t7 or other");
    } else if (!Expect(1)) {
      return Misuse(args_[0], "it takes nothing or --series t7|other");
    }
    std::string path;
    int status = Update([&](State& state) {
      path = AddDevice(state, series).path;
      return true;
    });
    if (status == kOk) out_ << path << "\n";
    return status;
  }

  // A new unit, as add; with --back PATH, that unplugged unit again.
  int Plug() {
    if (args_.size() == 1 || (args_.size() == 3 && args_[1] == "--series")) return Add();
    if (args_.size() != 3 || args_[1] != "--back") {
      return Misuse("plug", "it takes nothing, --series t7|other or --back PATH");
    }
    const std::string& path = args_[2];
    failure_ = path + " is not unplugged";
    return Update([&path](State& state) { return PlugBackDevice(state, path); });
  }

  int Unplug() {
    if (!Expect(2)) return Misuse("unplug", "it takes one device PATH");
    const std::string& path = args_[1];
    failure_ = path + " is not plugged in";
    return Update([&path](State& state) { return UnplugDevice(state, path); });
  }

  int Remove() {
    std::size_t index = 0;
    if (!Expect(2) || !ParseIndex(args_[1], &index)) {
      return Misuse("remove", "it takes one device number N, 0 or more");
    }
    failure_ = "no device " + args_[1];
    return Update([index](State& state) {
      if (index >= state.devices.size()) return false;
      state.devices.erase(state.devices.begin() + static_cast<std::ptrdiff_t>(index));
      return true;
    });
  }

  // An empty bench: no unit attached or unplugged, paths numbered anew from sim0.
  int RemoveAll() {
    return Update([](State& state) {
      state = State();
      return true;
    });
  }

  int Set() { return SetOrGet(true); }

  int Get() { return SetOrGet(false); }

  // Copied a piece at a time: a trace may grow to any size.
  int Trace() {
    const std::string path = KnobText(kTraceVariable);
    if (path.empty()) return Fail(std::string(kTraceVariable) + " is not set");
    bool missing = false;
    std::string error;
    std::FILE* file =
        platform::OpenRegularFile(path, &error, platform::FileAccess::kRead, &missing);
    if (file == nullptr) return missing ? kOk : Fail(error);
    char piece[16384];
    for (std::size_t n; (n = std::fread(piece, 1, sizeof piece, file)) > 0;) {
      out_.write(piece, static_cast<std::streamsize>(n));
    }
    const bool unread = std::ferror(file) != 0;
    std::fclose(file);
    return unread ? Fail("cannot read " + path) : kOk;
  }

  int PrintStatePath() {
    out_ << store_.path() << "\n";
    return kOk;
  }

 private:
  bool Expect(std::size_t count) const { return args_.size() == count; }

  void ShowUnit(const std::string& label, const Device& d) {
    out_ << label << ": " << d.path << "\n"
         << "  series: " << SeriesName(d.series) << "\n"
         << "  mode: " << d.mode << "\n"
         << "  version: " << d.version << "\n"
         << "  firmware: " << d.firmware.size << " bytes, crc32 " << Crc32Text(d.firmware.crc32)
         << "\n";
    for (std::size_t f = 0; f < kFieldCount; ++f) {
      Field field = static_cast<Field>(f);
      out_ << "  " << FieldName(field) << ": " << FieldText(d.settings, field) << "\n";
    }
  }

  int Misuse(const std::string& verb, const std::string& why) {
    err_ << "bridgesim: " << (verb.empty() ? "" : verb + ": ") << why << "\n" << Usage();
    return kMisuse;
  }

  int Fail(const std::string& message) {
    err_ << "bridgesim: " << message << "\n";
    return kFailed;
  }

  int Update(const std::function<bool(State&)>& change) {
    std::string error;
    if (!store_.Update(change, &error)) return Fail(error.empty() ? failure_ : error);
    return kOk;
  }

  int SetOrGet(bool set) {
    std::size_t at = 1;
    std::size_t index = 0;
    if (args_.size() > 2 && args_[1] == "--device") {
      if (!ParseIndex(args_[2], &index)) return Misuse(args_[0], "--device takes a number N");
      at = 3;
    }
    if (args_.size() != at + (set ? 2 : 1)) {
      return Misuse(args_[0], set ? "it takes FIELD VALUE" : "it takes one FIELD");
    }
    const std::string& name = args_[at];
    Field field = Field::kCount;
    if (name != "series" && name != "mode" && name != "version" && !ParseFieldName(name, &field)) {
      return Misuse(args_[0], "unknown field '" + name + "'");
    }
    if (!set) return PrintField(index, name, field);
    const std::string& value = args_[at + 1];
    // A number field given no decimal number is misuse; a number the device
    // cannot hold is a failure, like any other value it cannot hold.
    long number = 0;
    if ((name == "mode" || field == Field::kTimer || IsFlagField(field)) &&
        !ParseDecimal(value, LONG_MIN, LONG_MAX, &number)) {
      return Misuse(args_[0], name + " takes a decimal number, not '" + value + "'");
    }
    bool valid = true;
    int status = Update([&](State& state) {
      if (index >= state.devices.size()) {
        failure_ = "no device " + std::to_string(index);
        return false;
      }
      Device& d = state.devices[index];
      if (name == "series") {
        valid = ParseSeries(value, &d.series);
      } else if (name == "mode") {
        valid = ParseMode(value, &d.mode);
      } else if (name == "version") {
        valid = IsDeviceText(value, kMaxVersion);
        if (valid) d.version = value;
      } else {
        valid = StoreFieldText(d.settings, field, value);
      }
      if (!valid) failure_ = "the device cannot hold " + name + " '" + value + "'";
      return valid;
    });
    return status;
  }

  int PrintField(std::size_t index, const std::string& name, Field field) {
    State state;
    std::string error;
    if (!store_.Load(&state, &error)) return Fail(error);
    if (index >= state.devices.size()) return Fail("no device " + std::to_string(index));
    const Device& d = state.devices[index];
    if (name == "series") {
      out_ << SeriesName(d.series) << "\n";
    } else if (name == "mode") {
      out_ << d.mode << "\n";
    } else if (name == "version") {
      out_ << d.version << "\n";
    } else {
      out_ << FieldText(d.settings, field) << "\n";
    }
    return kOk;
  }

  const std::vector<std::string>& args_;
  std::ostream& out_;
  std::ostream& err_;
  StateStore store_;
  std::string failure_ = "the change was refused";
};

// bridgesim's commands, in the order the usage lists them.
struct CommandRow {
  const char* name;
  const char* arguments;  // as the usage shows them after the name
  const char* what;
  int (Command::*run)();
  bool checksArguments;  // else the command takes none
};

const CommandRow kCommands[] = {
    {"reset", "", "one default device, whatever the state held", &Command::Reset, false},
    {"show", "", "all devices", &Command::Show, false},
    {"add", "[--series t7|other]", "append a device", &Command::Add, true},
    {"plug", "[--series t7|other]", "plug in a new unit (prints its path)", &Command::Plug, true},
    {"plug", "--back PATH", "plug the unplugged unit PATH in again", &Command::Plug, true},
    {"unplug", "PATH", "unplug unit PATH; it keeps all it holds", &Command::Unplug, true},
    {"remove", "N", "remove device number N", &Command::Remove, true},
    {"remove-all", "", "no devices, none unplugged; paths from sim0 again", &Command::RemoveAll,
     false},
    {"set", "[--device N] FIELD VALUE", "change a field of device N (default 0)", &Command::Set,
     true},
    {"get", "[--device N] FIELD", "print a field of device N (default 0)", &Command::Get, true},
    {"trace", "", "print the file named by BRIDGESIM_TRACE", &Command::Trace, false},
    {"state-path", "", "print the state file's path", &Command::PrintStatePath, false},
};

// Each command with its arguments, then what it does in a column of its own.
std::string Usage() {
  constexpr std::size_t kWhatColumn = 31;
  std::string usage = "usage: bridgesim COMMAND\n";
  for (const CommandRow& row : kCommands) {
    std::string line = std::string(row.name) + (*row.arguments != '\0' ? " " : "") + row.arguments;
    line.resize(std::max(kWhatColumn, line.size() + 1), ' ');
    usage += "  " + line + row.what + "\n";
  }
  return usage + kFieldUsage;
}

int Command::Run() {
  Knobs knobs;
  std::string why;
  if (!ReadKnobs(&knobs, &why)) {
    err_ << "bridgesim: " << why << "; the simulated library lists no device\n";
  }
  if (args_.empty()) return Misuse("", "a COMMAND is needed");
  const std::string& verb = args_[0];
  if (verb == "-h" || verb == "--help" || verb == "help") {
    out_ << Usage();
    return kOk;
  }
  for (const CommandRow& row : kCommands) {
    if (verb != row.name) continue;
    if (!row.checksArguments && !Expect(1)) return Misuse(verb, "it takes no arguments");
    return (this->*row.run)();
  }
  return Misuse("", "unknown command '" + verb + "'");
}

}  // namespace

int RunControlCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    return Command(args, out, err).Run();
  } catch (const std::exception& e) {
    err << "bridgesim: " << e.what() << "\n";
    return kFailed;
  }
}

}  // namespace sim
