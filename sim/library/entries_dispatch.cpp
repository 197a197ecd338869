// sim::entry::NAME: every entry point behind Dispatch.
#include <cstring>

#include "platform/process.h"
#include "sim/library/dispatch.h"
#include "sim/library/entries.h"
#include "sim/library/knobs.h"
#include "sim/library/session.h"

namespace sim {

void RunEntry(const char* name, const char* device, int32_t (*call)(void*), void* body,
              CallOutcome* outcome) noexcept {
  try {
    std::lock_guard<std::recursive_mutex> guard(EntryMutex());
    Session& session = CurrentSession();
    session.note.clear();
    session.interrupt = false;
    const int count = ++session.callCounts[name];
    Knobs knobs;
    std::string why;
    session.knobsError.clear();
    if (!ReadKnobs(&knobs, &why)) {
      // Refused knobs: the listing still runs, to list nothing; the rest fail.
      session.knobsError = why;
      outcome->result = std::strcmp(name, "QZ_GetDeviceList") == 0 ? call(body) : 0;
      outcome->why = why;
      return;
    }
    if (auto delay = knobs.delays.find(name); delay != knobs.delays.end()) {
      platform::SleepMilliseconds(delay->second);
      outcome->delayMs = delay->second;
    }
    if (std::optional<int32_t> fault = FaultFor(knobs.faults, name, count, device)) {
      outcome->result = *fault;
      outcome->injected = true;
      return;
    }
    session.interrupt = knobs.interrupt == name;
    session.programMsPerKib = knobs.programMsPerKib;
    outcome->result = call(body);
    outcome->carriedOut = true;
    outcome->why = session.note;
  } catch (...) {
    outcome->result = 0;  // a library call never throws out
    outcome->carriedOut = false;
  }
}

namespace entry {

#define SIM_DEFINE_ENTRY(name, params, args)                                       \
  int32_t name params {                                                            \
    return Dispatch(#name, std::make_tuple args, [&] { return impl::name args; }); \
  }
QZ_API_ENTRIES(SIM_DEFINE_ENTRY)
#undef SIM_DEFINE_ENTRY

}  // namespace entry
}  // namespace sim
