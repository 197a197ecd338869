// Binding the library: the module's file name, take-over, and rejection of a
// library that lacks one name.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "sdk/api_table.h"

namespace {

TEST(LibraryFileName, MapsTheModuleNameWithinTheBuffer) {
  char out[20];
  ASSERT_NE(PlatformLibraryFileName("QZFWUpdateDll.DLL", out, sizeof out), nullptr);
  EXPECT_STREQ(out, "libQZFWUpdateDll.so");
  EXPECT_EQ(PlatformLibraryFileName("QZFWUpdateDll", out, 8), nullptr);
  EXPECT_EQ(PlatformLibraryFileName(nullptr, out, sizeof out), nullptr);
}

std::string CopyToTempFolder(const char* library) {
  char pattern[] = "/tmp/bridgefw-unit-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return std::string();
  const std::string copy = std::string(pattern) + "/libQZFWUpdateDll.so";
  std::ifstream in(library, std::ios::binary);
  std::ofstream out(copy, std::ios::binary);
  out << in.rdbuf();
  return copy;
}

TEST(LoadApiEntries, TakesOverAModuleAlreadyInTheProcess) {
  // A copy outside the executable's folder: only the already-loaded module
  // can satisfy the binding with this handle.
  const std::string copy = CopyToTempFolder(BRIDGEFW_TEST_SIM_LIB);
  ASSERT_FALSE(copy.empty());
  void* loaded = dlopen(copy.c_str(), RTLD_NOW);
  ASSERT_NE(loaded, nullptr) << dlerror();

  HMODULE bound = LoadApiEntries();
  EXPECT_EQ(bound, loaded);
  EXPECT_NE(ApiTable.QZ_GetSDKVersion, nullptr);
  EXPECT_NE(ApiTable.QZ_GetCustomizedSettingTableIndex, nullptr);
  void* symbol = dlsym(loaded, "QZ_GetFWVersion");
  EXPECT_EQ(std::memcmp(&ApiTable.QZ_GetFWVersion, &symbol, sizeof symbol), 0);

  FreeLibrary(bound);
  dlclose(loaded);
  ApiTable = ApiEntryTable();
}

TEST(LoadApiEntries, RejectsAndReleasesALibraryLackingOneName) {
  void* loaded = dlopen(BRIDGEFW_TEST_LACKING_LIB, RTLD_NOW);
  ASSERT_NE(loaded, nullptr) << dlerror();
  ASSERT_EQ(dlsym(loaded, "QZ_DiskFormat"), nullptr);

  EXPECT_EQ(LoadApiEntries(), nullptr);
  EXPECT_NE(ApiTable.QZ_DiskPartition, nullptr);  // bound before the missing name
  EXPECT_EQ(ApiTable.QZ_DiskFormat, nullptr);

  // Only our own reference is left: dropping it unloads the module.
  dlclose(loaded);
  EXPECT_EQ(dlopen(BRIDGEFW_TEST_LACKING_LIB, RTLD_NOW | RTLD_NOLOAD), nullptr);
  ApiTable = ApiEntryTable();
}

}  // namespace
