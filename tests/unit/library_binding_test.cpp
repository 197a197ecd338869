// Binding the library: take-over of a module already loaded, and rejection of
// a library that lacks one name (the module released again).
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/program.h"
#include "sdk/api_table.h"
#include "tests/fake/console_capture.h"

using sdk::ApiTable;
using sdk::LoadApiEntries;

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
  ApiTable = sdk::ApiEntryTable();
  std::system(("rm -rf " + std::string(folder)).c_str());

  loaded = dlopen(BRIDGEFW_TEST_LACKING_LIB, RTLD_NOW);
  ASSERT_NE(loaded, nullptr) << dlerror();
  EXPECT_EQ(LoadApiEntries(), nullptr);
  EXPECT_EQ(ApiTable.QZ_DiskPartition, nullptr);  // nothing stays bound to a released module
  EXPECT_EQ(ApiTable.QZ_DiskFormat, nullptr);
  dlclose(loaded);  // only our own reference was left
  EXPECT_EQ(dlopen(BRIDGEFW_TEST_LACKING_LIB, RTLD_NOW | RTLD_NOLOAD), nullptr);
  ApiTable = sdk::ApiEntryTable();
}

// A run releases the library it loaded, whatever the front end did.
TEST(RunProgram, ReleasesTheLibraryAtExit) {
  setenv("BRIDGESIM_STATE", "/tmp/bridgefw-unit-release.json", 1);
  const char* const argv[] = {"bridgefw", "-x", nullptr};
  {
    ConsoleCapture capture;
    EXPECT_EQ(app::RunProgram(argv), 0);
    EXPECT_EQ(capture.Output(), "");
  }
  EXPECT_EQ(dlopen(BRIDGEFW_TEST_SIM_LIB, RTLD_NOW | RTLD_NOLOAD), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "malloc"), nullptr);  // no module: no global lookup
  std::remove("/tmp/bridgefw-unit-release.json");
}

// A module name maps to its library file; what does not fit is refused, never cut.
TEST(ModuleLoader, FileNamesAndFoldersFitOrAreRefused) {
  const struct {
    const char* name;
    unsigned long size;
    const char* file;  // null: refused
  } rows[] = {{"QZFWUpdateDll.dll", 64, "libQZFWUpdateDll.so"},
              {"QZFWUpdateDll.DLL", 20, "libQZFWUpdateDll.so"},
              {"QZFWUpdateDll", 19, nullptr},
              {".dll", 64, "lib.so"},
              {"dll", 64, "libdll.so"},
              {"a.dllx", 64, "liba.dllx.so"},
              {"/a/b.dll", 9, "/a/b.dll"},
              {"/a/b.dll", 8, nullptr},
              {nullptr, 64, nullptr}};
  for (const auto& row : rows) {
    char out[64] = "#";
    const char* file = PlatformLibraryFileName(row.name, out, row.size);
    EXPECT_EQ(file == nullptr ? "(none)" : file, std::string(row.file ? row.file : "(none)"));
    if (row.name == nullptr) {
      EXPECT_STREQ(out, "");
    }
  }
  char untouched[2] = "#";
  EXPECT_EQ(PlatformLibraryFileName("x", untouched, 0), nullptr);
  EXPECT_STREQ(untouched, "#");

  // A library's folder, with its slash, when it fits.
  const std::string lib = BRIDGEFW_TEST_SIM_LIB, folder = lib.substr(0, lib.rfind('/') + 1);
  void* loaded = dlopen(lib.c_str(), RTLD_NOW);
  ASSERT_NE(loaded, nullptr);
  for (unsigned long size : {folder.size() + 1, folder.size(), 0ul}) {
    char out[4096] = "#";
    const bool told = ModuleFolder(dlsym(loaded, "QZ_GetDeviceList"), out, size);
    EXPECT_EQ(told, size > folder.size());
    EXPECT_EQ(out, told ? folder : size == 0 ? "#" : "");
  }
  dlclose(loaded);
}

// A path is loaded as it is: a bare name from the current folder, and a path
// too long for the system refused rather than cut to another file.
TEST(ModuleLoader, LoadsExactlyThePathGiven) {
  char pattern[] = "/tmp/bridgefw-loader-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::string path = pattern;
  while (4095 - path.size() > 201) {
    path += "/" + std::string(200, 'd');
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  }
  path += "/" + std::string(4095 - path.size() - 1, 'f');
  ASSERT_EQ(std::system(("cp " BRIDGEFW_TEST_SIM_LIB " " + path).c_str()), 0);
  HMODULE longest = LoadLibraryAtPath(path.c_str());
  EXPECT_NE(longest, nullptr);
  EXPECT_TRUE(FreeLibrary(longest));
  EXPECT_FALSE(FreeLibrary(nullptr));
  EXPECT_EQ(LoadLibraryAtPath((path + "x").c_str()), nullptr);
  ASSERT_EQ(std::system(("cp " BRIDGEFW_TEST_SIM_LIB " " + std::string(pattern)).c_str()), 0);
  char home[4096];
  ASSERT_TRUE(getcwd(home, sizeof home) != nullptr && chdir(pattern) == 0);
  HMODULE bare = LoadLibraryAtPath("libQZFWUpdateDll.so");
  ASSERT_EQ(chdir(home), 0);
  EXPECT_NE(bare, nullptr);
  FreeLibrary(bare);
  std::system((std::string("rm -rf ") + pattern).c_str());
}
