// The recorder's exports: the maker's 86 C names, each forwarding to the
// real library's entry point of the same name and signature.
#include "recorder/forward.h"
#include "sdk/api_table.h"

#if defined(_WIN32)
#define RECORDER_EXPORT __declspec(dllexport)
#else
#define RECORDER_EXPORT __attribute__((visibility("default")))
#endif

#define RECORDER_DEFINE_EXPORT(name, params, args)                                            \
  extern "C" RECORDER_EXPORT int32_t QZ_CALL name params {                                    \
    return recorder::Forward<sdk::name##_Fn>(recorder::k##name, #name, std::make_tuple args); \
  }
QZ_API_ENTRIES(RECORDER_DEFINE_EXPORT)
#undef RECORDER_DEFINE_EXPORT

// The mark of a recorder (recorder::kRecorderMark); the maker's library has no such export.
extern "C" RECORDER_EXPORT int BridgefwRecorder() { return 1; }
