// Running out of memory for the path buffers: nothing is kept, the caller is told.
#include "runtime/device_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {
int allocationsLeft = -1;  // -1: no limit
}  // namespace

// Array allocations of this test program go through malloc, so that the one
// under test can fail on demand (and sanitizers see matching pairs).
void* operator new[](std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (allocationsLeft == 0) return nullptr;
  if (allocationsLeft > 0) --allocationsLeft;
  return std::malloc(size == 0 ? 1 : size);
}
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

TEST(DeviceList, RunningOutOfMemoryFreesWhatWasAllocated) {
  allocationsLeft = 5;
  EXPECT_FALSE(runtime::AllocateDeviceList());
  allocationsLeft = -1;
  for (char* path : runtime::DeviceList) EXPECT_EQ(path, nullptr);
}
