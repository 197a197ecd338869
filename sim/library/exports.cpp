// The library's exported C names, one per entry of the list. Built twice:
// complete, and with BRIDGESIM_LACK_DISKFORMAT lacking exactly QZ_DiskFormat,
// so that the tool's refusal of an incomplete library can be shown. On 32-bit
// x86, BRIDGESIM_STDCALL makes every export stdcall (the callee pops its
// arguments) under the same plain names, as a library built with a
// module-definition file exports them.
#include "sim/library/entries.h"

#if defined(_WIN32)
#define QZ_EXPORT __declspec(dllexport)
#else
#define QZ_EXPORT __attribute__((visibility("default")))
#endif

// SIM_OMITTED(name) is 1 for a name with a SIM_OMIT_<name> marker, else 0.
#define SIM_SECOND(a, b, ...) b
#define SIM_PROBE(...) SIM_SECOND(__VA_ARGS__, 0, ~)
#define SIM_OMITTED(name) SIM_PROBE(SIM_OMIT_##name)
#define SIM_CAT(a, b) SIM_CAT_INNER(a, b)
#define SIM_CAT_INNER(a, b) a##b

#if defined(BRIDGESIM_LACK_DISKFORMAT)
#define SIM_OMIT_QZ_DiskFormat ~, 1
#endif

#if defined(BRIDGESIM_STDCALL)
#define SIM_EXPORT_CALL __attribute__((stdcall))
#else
#define SIM_EXPORT_CALL QZ_CALL
#endif

#define SIM_EXPORT_IF_0(name, params, args) \
  extern "C" QZ_EXPORT int32_t SIM_EXPORT_CALL name params { return sim::entry::name args; }
#define SIM_EXPORT_IF_1(name, params, args)
#define SIM_EXPORT_ENTRY(name, params, args) \
  SIM_CAT(SIM_EXPORT_IF_, SIM_OMITTED(name))(name, params, args)

QZ_API_ENTRIES(SIM_EXPORT_ENTRY)
