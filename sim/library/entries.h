// The 86 entry points inside the simulator, declared from the one list.
//   sim::impl::NAME  - what the emulated bridge does;
//   sim::entry::NAME - the same behind the test knobs (fault, trace) and a
//                      catch-all, exactly what the exported NAME runs.
#pragma once

#include "sdk/api_entries.h"

namespace sim {

#define SIM_DECLARE_ENTRY(name, params, args) int32_t name params;

namespace impl {
QZ_API_ENTRIES(SIM_DECLARE_ENTRY)
}

namespace entry {
QZ_API_ENTRIES(SIM_DECLARE_ENTRY)
}

#undef SIM_DECLARE_ENTRY

}  // namespace sim
