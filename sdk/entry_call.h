// Calls into the firmware-update library that tolerate its calling convention.
//
// The library exports plain names whether it was built with cdecl or stdcall,
// and nothing tells the two apart at binding. On 32-bit x86 a stdcall export
// pops its own arguments, while the caller's optimised code expects the stack
// pointer unchanged after the call. So there every call goes through one small
// trampoline: it keeps the caller's stack pointer in a callee-saved register,
// pushes the arguments right to left, calls, and puts the stack pointer back.
// Both conventions return the result in eax, so either export works, with no
// detection and no setting. Elsewhere there is one convention and calls stay
// direct.
//
//   CallEntry(fn, args...)  calls fn, a pointer of an entry point's type
//                           (QZ_GetFWVersion_Fn ...), with the arguments.
//   EntryPoint<Fn>          a bound entry point that can only be called through
//                           CallEntry; the ApiTable fields are of this kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "sdk/api_entries.h"

namespace sdk {

#if defined(__i386__)

// noipa keeps GCC from learning the trampoline's register use; clang has no
// interprocedural register allocation by default.
#if defined(__clang__)
#define BRIDGEFW_OPAQUE_CALL __attribute__((noinline))
#else
#define BRIDGEFW_OPAQUE_CALL __attribute__((noinline, noipa))
#endif

namespace entry_call_detail {

// Copies `count` 32-bit words onto a fresh, 16-byte aligned stack area (the
// first word at the lowest address, as right-to-left pushes leave them),
// calls `fn`, and restores the stack pointer kept in esi, which both
// conventions preserve. Out of line, and opaque to interprocedural analysis,
// so that every caller assumes the full set of call-clobbered registers.
BRIDGEFW_OPAQUE_CALL inline int32_t CallWithWords(const void* fn, const uint32_t* words,
                                                  uint32_t count) {
  int32_t result;
  asm volatile(
      "movl %%esp, %%esi\n\t"
      "leal (,%%ecx,4), %%eax\n\t"
      "subl %%eax, %%esp\n\t"
      "andl $-16, %%esp\n\t"
      "1:\n\t"
      "testl %%ecx, %%ecx\n\t"
      "jz 2f\n\t"
      "decl %%ecx\n\t"
      "movl (%%edx,%%ecx,4), %%eax\n\t"
      "movl %%eax, (%%esp,%%ecx,4)\n\t"
      "jmp 1b\n\t"
      "2:\n\t"
      "call *%%edi\n\t"
      "movl %%esi, %%esp\n\t"
      : "=a"(result), "+c"(count), "+d"(words)
      : "D"(fn)
      : "esi", "memory", "cc");
  return result;
}

// One argument as the 32-bit stack word the callee reads.
template <typename T>
uint32_t Word(T value) {
  static_assert(sizeof(T) == sizeof(uint32_t) && std::is_trivially_copyable<T>::value,
                "every entry-point argument is one 32-bit word");
  uint32_t word;
  std::memcpy(&word, &value, sizeof word);
  return word;
}

}  // namespace entry_call_detail

#endif

template <typename... P, typename... A>
int32_t CallEntry(int32_t(QZ_CALL* fn)(P...), A&&... args) {
  static_assert(sizeof...(P) == sizeof...(A), "an entry point takes all its arguments");
#if defined(__i386__)
  const uint32_t words[sizeof...(P) + 1] = {entry_call_detail::Word<P>(static_cast<P>(args))..., 0};
  const void* address;
  static_assert(sizeof address == sizeof fn, "code and data pointers differ in size");
  std::memcpy(&address, &fn, sizeof address);
  return entry_call_detail::CallWithWords(address, words, sizeof...(P));
#else
  return fn(static_cast<P>(args)...);
#endif
}

// Which bound entry point first answered 0, so that a front end can name the
// call that refused without the operations reporting it: one store per
// refusal. The series query answers a question, not success, and is exempt.
struct EntryRefusals {
  static const void* first;         // the EntryPoint, or null
  static const void* const exempt;  // ApiTable's QZ_IsQZT7Series
};

// A bound entry point: null, or the export's address. It converts to no
// callable pointer, so nothing can call the library around CallEntry.
template <typename Fn>
struct EntryPoint {
  Fn address = nullptr;

  EntryPoint& operator=(Fn fn) {
    address = fn;
    return *this;
  }
  template <typename... A>
  int32_t operator()(A&&... args) const {
    const int32_t result = CallEntry(address, static_cast<A&&>(args)...);
    if (result == 0 && this != EntryRefusals::exempt && EntryRefusals::first == nullptr) {
      EntryRefusals::first = this;
    }
    return result;
  }
  friend bool operator==(const EntryPoint& entry, std::nullptr_t) {
    return entry.address == nullptr;
  }
  friend bool operator!=(const EntryPoint& entry, std::nullptr_t) {
    return entry.address != nullptr;
  }
};

template <typename Fn, typename... A>
int32_t CallEntry(const EntryPoint<Fn>& entry, A&&... args) {
  return entry(static_cast<A&&>(args)...);
}

}  // namespace sdk
