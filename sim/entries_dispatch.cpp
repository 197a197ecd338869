// sim::entry::NAME: every entry point behind Dispatch.
#include "sim/dispatch.h"
#include "sim/entries.h"

namespace sim {
namespace entry {

#define SIM_DEFINE_ENTRY(name, params, args)                                       \
  int32_t name params {                                                            \
    return Dispatch(#name, std::make_tuple args, [&] { return impl::name args; }); \
  }
QZ_API_ENTRIES(SIM_DEFINE_ENTRY)
#undef SIM_DEFINE_ENTRY

}  // namespace entry
}  // namespace sim
