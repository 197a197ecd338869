/* The floor for the benchmark: the least a program can do to get the result
 * of `bridgefw -gvd`, `bridgefw -ged` or `bridgefw --apply PROFILE --all`. It
 * loads the same library, binds the same 86 names in the same order, lists
 * the devices and makes the same library calls. For -gvd and -ged it prints
 * the same lines. For --apply it brings every unit to the benchmark's profile
 * (bench/line.toml, built in: it parses nothing), taking each serial number
 * from PROFILE.counter under a lock and appending an equivalent record line
 * to bridgefw-record.jsonl beside the profile, both on disk before the next
 * step, as the tool does; it prints one line per unit and the tool's summary.
 * Whatever bridgefw costs beyond this is the tool's own overhead.
 *
 *   bridgefw-floor -gvd|-ged [LIBRARY]
 *   bridgefw-floor --apply PROFILE --all
 *
 * LIBRARY defaults to libQZFWUpdateDll.so in this program's own folder. */
#define _GNU_SOURCE /* readlink, F_OFD_SETLKW */
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
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

struct settings {
  uint16_t vid, pid;
  char manufacturer[kLibraryTextSize], product[kLibraryTextSize];
  char serial[kLibraryTextSize], hdd[kLibraryTextSize];
  int32_t timer;
};

/* The seven reads, each series' own where they differ; stops at the first
 * that fails. */
static int read_settings(const char* dev, struct settings* s) {
  memset(s, 0, sizeof *s);
  return read_vid(dev, &s->vid) &&
         (api.QZ_IsQZT7Series(dev) ? api.QZ_GetT7PIDbySCSICmd(dev, &s->pid)
                                   : api.QZ_GetPIDfromFlash(dev, &s->pid)) &&
         read_text(api.QZ_GetManuStrfromFlash, dev, s->manufacturer) &&
         read_text(api.QZ_GetProdStrfromFlash, dev, s->product) &&
         read_text(api.QZ_IsQZT7Series(dev) ? api.QZ_GetT7SNbySCSICmd : api.QZ_GetSNfromFlash, dev,
                   s->serial) &&
         read_text(api.QZ_GetHDDStrfromFlash, dev, s->hdd) &&
         (api.QZ_IsQZT7Series(dev) ? api.QZ_GetT7StandbyTimerbySCSICmd(dev, &s->timer)
                                   : api.QZ_GetStandbyTimerfromFlash(dev, &s->timer));
}

static void get_customized_setting(const char* dev) {
  struct settings s;
  if (!read_settings(dev, &s)) return;
  printf("VID: 0x%04X\n", s.vid);
  printf("PID: 0x%04X\n", s.pid);
  printf("Manufacturer string : %s\n", s.manufacturer);
  printf("Product string : %s\n", s.product);
  printf("Serial number: %s\n", s.serial);
  printf("HDD String: %s\n", s.hdd);
  printf("Standby Timer : %d (sec)\n", s.timer);
}

/* The production line. The profile of bench/line.toml. */
enum { kMaxProfilePath = 1024 };
#define LINE_VID "1A2B"
#define LINE_SERIAL_PREFIX "LINE-"
#define LINE_SERIAL_WIDTH 4
#define LINE_HDD1 "ACME"
#define LINE_HDD2 "FAST DISK"
#define LINE_TIMER 120

struct unit {
  int t7;
  char version[kLibraryTextSize];
  struct settings s;
};

static int read_unit(const char* dev, struct unit* u, int ask_series) {
  if (ask_series) u->t7 = api.QZ_IsQZT7Series(dev) != 0;
  /* Running modes: 2 firmware; anything else shows no version here. */
  int32_t mode = 0;
  u->version[0] = '\0';
  api.QZ_GetRunningCodeMode(dev, &mode);
  if (mode == 2) read_text(api.QZ_GetFWVersion, dev, u->version);
  return read_settings(dev, &u->s);
}

static int sync_folder_of(const char* path) {
  char folder[4096];
  const char* slash = strrchr(path, '/');
  size_t length = slash == NULL ? 0 : (size_t)(slash - path);
  if (length >= sizeof folder) return 0;
  memcpy(folder, path, length);
  strcpy(folder + length, slash == NULL ? "." : length == 0 ? "/" : "");
  int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int synced = fd >= 0 && fsync(fd) == 0;
  if (fd >= 0) close(fd);
  return synced;
}

/* The counter's next number, moved past under a lock and on disk before it
 * is used. */
static int take_number(const char* counter, unsigned long long* number) {
  int fd = open(counter, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return 0;
  struct flock lock = {.l_type = F_WRLCK, .l_whence = SEEK_SET, .l_len = 1};
  char text[32] = {0};
  ssize_t got = fcntl(fd, F_OFD_SETLKW, &lock) == 0 ? pread(fd, text, sizeof text - 1, 0) : -1;
  char* end = text;
  unsigned long long next = got > 0 ? strtoull(text, &end, 10) : 1;
  *number = next < 1 ? 1 : next;
  int n = snprintf(text, sizeof text, "%llu\n", *number + 1);
  int ok = got >= 0 && (got == 0 || end != text) && pwrite(fd, text, (size_t)n, 0) == n &&
           ftruncate(fd, n) == 0 && fsync(fd) == 0 && (got > 0 || sync_folder_of(counter));
  close(fd);
  return ok;
}

/* A JSON string of a text the library wrote. */
static char* json_text(char* at, const char* text) {
  *at++ = '"';
  for (; *text != '\0'; ++text) {
    unsigned char c = (unsigned char)*text;
    if (c == '"' || c == '\\') {
      *at++ = '\\';
      *at++ = (char)c;
    } else if (c < 0x20) {
      at += sprintf(at, "\\u%04x", c);
    } else {
      *at++ = (char)c;
    }
  }
  *at++ = '"';
  return at;
}

static char* json_unit(char* at, const struct unit* u) {
  at += sprintf(at, "{\"version\":");
  at = json_text(at, u->version);
  at += sprintf(at, ",\"vid\":\"%04X\",\"pid\":\"%04X\",\"manufacturer\":", u->s.vid, u->s.pid);
  at = json_text(at, u->s.manufacturer);
  at += sprintf(at, ",\"product\":");
  at = json_text(at, u->s.product);
  at += sprintf(at, ",\"serial\":");
  at = json_text(at, u->s.serial);
  at += sprintf(at, ",\"hdd\":");
  at = json_text(at, u->s.hdd);
  return at + sprintf(at, ",\"timer\":%d}", u->s.timer);
}

static int append_line(const char* path, const char* line, size_t size) {
  int made = 1;
  int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    made = 0;
    fd = open(path, O_WRONLY | O_APPEND | O_CLOEXEC);
  }
  if (fd < 0) return 0;
  int ok =
      write(fd, line, size) == (ssize_t)size && fsync(fd) == 0 && (!made || sync_folder_of(path));
  close(fd);
  return ok;
}

static double now_seconds(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

/* The settings writes of bench/line.toml, by series, each call once; stops
 * at the first the library refuses. */
static int write_settings(const char* dev, const char* serial) {
  if (!api.QZ_InitialCustomizedSettingTable()) return 0;
  int t7 = api.QZ_IsQZT7Series(dev) != 0;
  int ok = api.QZ_EnableUpdateVID(dev, 1) && api.QZ_EnableUpdateSN(dev, 1) &&
           (t7 || api.QZ_EnableUpdateStandbyTimer(dev, 1)) &&
           (t7 ? api.QZ_EnableUpdateInquiryCtl(dev, 1)
               : api.QZ_EnableUpdateDisplayHDDStrSetting(dev, 1)) &&
           api.QZ_SetVIDValue(dev, LINE_VID) && api.QZ_SetSerialNumStr(dev, serial) &&
           api.QZ_SetScsiVidString(dev, LINE_HDD1) && api.QZ_SetScsiPidString(dev, LINE_HDD2) &&
           (t7 || api.QZ_SetStandbyTimer(dev, LINE_TIMER)) &&
           (t7 ? api.QZ_SetInquiryCtl(dev, 1)
               : api.QZ_EnableMapToHDDStr(dev, 1) && api.QZ_SetSNFromNVRAMTable(dev, 1));
  return ok && api.QZ_UpdateCustomizedSetting(dev) &&
         (!t7 || api.QZ_UpdateT7StandbyTimer(dev, LINE_TIMER));
}

static int verified(const struct unit* before, const struct unit* after, const char* serial) {
  const char* hdd1 = strstr(after->s.hdd, LINE_HDD1);
  return after->s.vid == strtoul(LINE_VID, NULL, 16) && after->s.pid == before->s.pid &&
         strcmp(after->s.manufacturer, before->s.manufacturer) == 0 &&
         strcmp(after->s.product, before->s.product) == 0 && strcmp(after->s.serial, serial) == 0 &&
         after->s.timer == LINE_TIMER && strcmp(after->version, before->version) == 0 &&
         hdd1 != NULL && strstr(hdd1 + strlen(LINE_HDD1), LINE_HDD2) != NULL;
}

static int apply_line(const char* profile, int count) {
  char counter[kMaxProfilePath + 16], record[kMaxProfilePath + 32], host[256] = {0};
  const char* slash = strrchr(profile, '/');
  int folder = slash == NULL ? 0 : (int)(slash + 1 - profile);
  snprintf(counter, sizeof counter, "%s.counter", profile);
  snprintf(record, sizeof record, "%.*sbridgefw-record.jsonl", folder, profile);
  gethostname(host, sizeof host - 1);
  int passed = 0;
  for (int i = 0; i < count; ++i) {
    const char* dev = paths[i];
    const double start = now_seconds();
    /* Room for every text escaped at six bytes a character. */
    static char line[16 * 1024 + 6 * kMaxProfilePath];
    char time_text[32], serial[kLibraryTextSize] = {0};
    const time_t now = time(NULL);
    struct tm utc;
    strftime(time_text, sizeof time_text, "%Y-%m-%dT%H:%M:%SZ", gmtime_r(&now, &utc));
    struct unit before = {0}, after = {0};
    unsigned long long number = 0;
    const char* failed = NULL;
    if (!read_unit(dev, &before, 1)) {
      failed = "reading";
    } else if (!take_number(counter, &number)) {
      failed = "serial";
    } else {
      snprintf(serial, sizeof serial, LINE_SERIAL_PREFIX "%0*llu", LINE_SERIAL_WIDTH, number);
      if (!write_settings(dev, serial)) {
        failed = "writing";
      } else if (!read_unit(dev, &after, 0) || !verified(&before, &after, serial)) {
        failed = "verifying";
      }
    }
    passed += failed == NULL;
    char* at = line + sprintf(line, "{\"time\":\"%s\",\"tool\":\"v1.0.0.0\",\"host\":", time_text);
    at = json_text(at, host);
    at += sprintf(at, ",\"device\":%d,\"path\":", i + 1);
    at = json_text(at, dev);
    at += sprintf(at, ",\"series\":\"%s\",\"profile\":", before.t7 ? "t7" : "other");
    at = json_text(at, profile);
    if (serial[0] != '\0') {
      at = json_text(at + sprintf(at, ",\"serial\":"), serial);
      at += sprintf(at, ",\"serial_number\":%llu", number);
    }
    at = json_unit(at + sprintf(at, ",\"before\":"), &before);
    if (failed == NULL || strcmp(failed, "verifying") == 0) {
      at = json_unit(at + sprintf(at, ",\"after\":"), &after);
    }
    at += sprintf(at, ",\"result\":\"%s\"", failed == NULL ? "pass" : "fail");
    if (failed != NULL) at += sprintf(at, ",\"failed_step\":\"%s\"", failed);
    at += sprintf(at, ",\"seconds\":%.3f}\n", now_seconds() - start);
    printf("[%d/%d] %s: %s\n", i + 1, count, dev, failed == NULL ? "PASS" : "FAIL");
    if (!append_line(record, line, (size_t)(at - line))) return 1;
  }
  printf("%d unit%s: %d passed, %d failed\n", count, count == 1 ? "" : "s", passed, count - passed);
  return passed == count ? 0 : 1;
}

int main(int argc, char** argv) {
  int mode; /* 0 -gvd, 1 -ged, 2 --apply */
  const char* library = argc >= 3 ? argv[2] : NULL;
  if (argc >= 2 && strcmp(argv[1], "-gvd") == 0) {
    mode = 0;
  } else if (argc >= 2 && strcmp(argv[1], "-ged") == 0) {
    mode = 1;
  } else if (argc == 4 && strcmp(argv[1], "--apply") == 0 && strcmp(argv[3], "--all") == 0 &&
             strlen(argv[2]) <= kMaxProfilePath) {
    mode = 2;
    library = NULL;
  } else {
    fprintf(stderr, "usage: %s -gvd|-ged [LIBRARY] | --apply PROFILE --all\n", argv[0]);
    return 2;
  }
  void* module = open_library(library);
  if (module != NULL && !bind_all(module)) {
    dlclose(module);
    module = NULL;
  }
  if (module == NULL) {
    printf("Initalize the API entries fail!\n");
    return mode == 2 ? 3 : 0;
  }
  char* list[kMaxDevices];
  for (int i = 0; i < kMaxDevices; ++i) list[i] = paths[i];
  int32_t count = 0;
  int status = 0;
  api.QZ_GetDeviceList(list, &count);
  if (count <= 0) {
    printf("Not connect device\n");
    status = mode == 2 ? 3 : 0;
  } else if (mode == 2) {
    status = apply_line(argv[2], count > kMaxDevices ? kMaxDevices : count);
  } else if (mode == 1) {
    get_customized_setting(paths[0]);
  } else {
    get_vendor_id(paths[0]);
  }
  dlclose(module);
  return status;
}
