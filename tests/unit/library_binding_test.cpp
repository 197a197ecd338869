// Binding the library: take-over of a module already loaded, and rejection of
// a library that lacks one name (the module released again).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/program.h"
#include "sdk/api_table.h"
#include "tests/fake/console_capture.h"

TEST(LoadApiEntries, TakesOverTheLoadedModuleOrRejectsALackingOne) {
  // A copy outside the executable's folder: only the loaded one can match.
  char folder[] = "/tmp/bridgefw-unit-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string copy = std::string(folder) + "/libQZFWUpdateDll.so";
  ASSERT_EQ(std::system(("cp " BRIDGEFW_TEST_SIM_LIB " " + copy).c_str()), 0);
  void* loaded = dlopen(copy.c_str(), RTLD_NOW);
  ASSERT_NE(loaded, nullptr) << dlerror();
  HMODULE bound = LoadApiEntries();
  EXPECT_EQ(bound, loaded);
  void* symbol = dlsym(loaded, "QZ_GetCustomizedSettingTableIndex");
  EXPECT_EQ(std::memcmp(&ApiTable.QZ_GetCustomizedSettingTableIndex, &symbol, sizeof symbol), 0);
  FreeLibrary(bound);
  dlclose(loaded);
  ApiTable = ApiEntryTable();
  std::system(("rm -rf " + std::string(folder)).c_str());

  loaded = dlopen(BRIDGEFW_TEST_LACKING_LIB, RTLD_NOW);
  ASSERT_NE(loaded, nullptr) << dlerror();
  EXPECT_EQ(LoadApiEntries(), nullptr);
  EXPECT_EQ(ApiTable.QZ_DiskPartition, nullptr);  // nothing stays bound to a released module
  EXPECT_EQ(ApiTable.QZ_DiskFormat, nullptr);
  dlclose(loaded);  // only our own reference was left
  EXPECT_EQ(dlopen(BRIDGEFW_TEST_LACKING_LIB, RTLD_NOW | RTLD_NOLOAD), nullptr);
  ApiTable = ApiEntryTable();
}

// A run releases the library it loaded, whatever the front end did.
TEST(RunProgram, ReleasesTheLibraryAtExit) {
  setenv("BRIDGESIM_STATE", "/tmp/bridgefw-unit-release.json", 1);
  const char* const argv[] = {"bridgefw", "-x", nullptr};
  {
    ConsoleCapture capture;
    EXPECT_EQ(RunProgram(argv), 0);
    EXPECT_EQ(capture.Output(), "");
  }
  EXPECT_EQ(dlopen(BRIDGEFW_TEST_SIM_LIB, RTLD_NOW | RTLD_NOLOAD), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "malloc"), nullptr);  // no module: no global lookup
  std::remove("/tmp/bridgefw-unit-release.json");
}
