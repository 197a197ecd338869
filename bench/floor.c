/* The floor for the benchmark: the least a program can do to get the output
 * of `bridgefw -gvd` or `bridgefw -ged`. It loads the same library, binds the
 * same 86 names in the same order, lists the devices and makes the same
 * library calls on the first one, printing the same lines. Whatever bridgefw
 * costs beyond this is the tool's own overhead.
 *
 *   bridgefw-floor -gvd|-ged [LIBRARY]
 *
 * LIBRARY defaults to libQZFWUpdateDll.so in this program's own folder. */
#define _DEFAULT_SOURCE /* readlink */
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "floor_entries.h"
#include "sdk/api_sizes.h"

#define FLOOR_FIELD(name, params) int32_t(*name) params;
static struct { FLOOR_API_ENTRIES(FLOOR_FIELD) } api;
#undef FLOOR_FIELD

static char paths[kMaxDevices][kDevicePathSize];

static int bind_one(void* module, const char* name, void* field) {
  void* symbol = dlsym(module, name);
  if (symbol == NULL) return 0;
  memcpy(field, &symbol, sizeof symbol);
  return 1;
}

static int bind_all(void* module) {
  _Static_assert(sizeof api == FLOOR_API_ENTRY_COUNT * sizeof(void*), "one pointer per entry");
#define FLOOR_BIND(name, params) \
  if (!bind_one(module, #name, &api.name)) return 0;
  FLOOR_API_ENTRIES(FLOOR_BIND)
#undef FLOOR_BIND
  return 1;
}

static void* open_library(const char* given) {
  char path[4096];
  if (given == NULL) {
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return NULL;
    path[n] = '\0';
    char* slash = strrchr(path, '/');
    const char file[] = "libQZFWUpdateDll.so";
    if (slash == NULL || (size_t)(slash + 1 - path) + sizeof file > sizeof path) return NULL;
    memcpy(slash + 1, file, sizeof file);
    given = path;
  }
  return dlopen(given, RTLD_NOW | RTLD_LOCAL);
}

static int32_t read_vid(const char* dev, uint16_t* vid) {
  return api.QZ_IsQZT7Series(dev) ? api.QZ_GetT7VIDbySCSICmd(dev, vid)
                                  : api.QZ_GetVIDfromFlash(dev, vid);
}

static int32_t read_text(int32_t (*read)(const char*, char*), const char* dev, char* text) {
  int32_t r = read(dev, text);
  text[kLibraryTextSize - 1] = '\0';
  return r;
}

static void get_vendor_id(const char* dev) {
  uint16_t vid = 0;
  if (read_vid(dev, &vid)) printf("VID: 0x%04X\n", vid);
}

static void get_customized_setting(const char* dev) {
  uint16_t vid = 0, pid = 0;
  char manufacturer[kLibraryTextSize] = {0}, product[kLibraryTextSize] = {0};
  char serial[kLibraryTextSize] = {0}, hdd[kLibraryTextSize] = {0};
  int32_t timer = 0;
  if (!read_vid(dev, &vid)) return;
  if (!(api.QZ_IsQZT7Series(dev) ? api.QZ_GetT7PIDbySCSICmd(dev, &pid)
                                 : api.QZ_GetPIDfromFlash(dev, &pid)))
    return;
  if (!read_text(api.QZ_GetManuStrfromFlash, dev, manufacturer)) return;
  if (!read_text(api.QZ_GetProdStrfromFlash, dev, product)) return;
  if (!read_text(api.QZ_IsQZT7Series(dev) ? api.QZ_GetT7SNbySCSICmd : api.QZ_GetSNfromFlash, dev,
                 serial))
    return;
  if (!read_text(api.QZ_GetHDDStrfromFlash, dev, hdd)) return;
  if (!(api.QZ_IsQZT7Series(dev) ? api.QZ_GetT7StandbyTimerbySCSICmd(dev, &timer)
                                 : api.QZ_GetStandbyTimerfromFlash(dev, &timer)))
    return;
  printf("VID: 0x%04X\n", vid);
  printf("PID: 0x%04X\n", pid);
  printf("Manufacturer string : %s\n", manufacturer);
  printf("Product string : %s\n", product);
  printf("Serial number: %s\n", serial);
  printf("HDD String: %s\n", hdd);
  printf("Standby Timer : %d (sec)\n", timer);
}

int main(int argc, char** argv) {
  int full;
  if (argc >= 2 && strcmp(argv[1], "-gvd") == 0) {
    full = 0;
  } else if (argc >= 2 && strcmp(argv[1], "-ged") == 0) {
    full = 1;
  } else {
    fprintf(stderr, "usage: %s -gvd|-ged [LIBRARY]\n", argv[0]);
    return 2;
  }
  void* module = open_library(argc >= 3 ? argv[2] : NULL);
  if (module != NULL && !bind_all(module)) {
    dlclose(module);
    module = NULL;
  }
  if (module == NULL) {
    printf("Initalize the API entries fail!\n");
    return 0;
  }
  char* list[kMaxDevices];
  for (int i = 0; i < kMaxDevices; ++i) list[i] = paths[i];
  int32_t count = 0;
  api.QZ_GetDeviceList(list, &count);
  if (count <= 0) {
    printf("Not connect device\n");
  } else if (full) {
    get_customized_setting(paths[0]);
  } else {
    get_vendor_id(paths[0]);
  }
  dlclose(module);
  return 0;
}
