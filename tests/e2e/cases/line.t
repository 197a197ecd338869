# The production line: four bridges (the second a QZT7), the fourth failing its commit.
$ bridgesim add --series t7
$ bridgesim add
$ bridgesim add
$ bridgesim set --device 2 vid 0C0D
$ bridgesim-image --out fw.bin --series other --version 02.00.00.01
> --list
| 1 sim0 other firmware 01.02.03.04 3A5C:0101 SIM0000000001
| 2 sim1 t7 firmware 01.02.03.04 3A5C:0101 SIM0000000002
| 3 sim2 other firmware 01.02.03.04 0C0D:0101 SIM0000000003
| 4 sim3 other firmware 01.02.03.04 3A5C:0101 SIM0000000004
> --device 3 -gvd
| VID: 0x0C0D
@ QZ_IsQZT7Series("sim2") = 0
@ QZ_GetVIDfromFlash("sim2", out=0x0C0D) = 1
> --device sim9 -gvd
| Device sim9 is not listed
? 3
> --apply line.toml
= line.toml vid = "1A2B"
| 4 devices are listed: choose one with --device N|PATH, or --all (see --help)
? 2
# A bad profile touches nothing, not even the library.
> --apply bad.toml --all
= bad.toml vid = "1A2B"
= bad.toml timer = "soon"
| bad.toml:2: timer: must be a whole number from 0 to 2147483647
? 2
@
! QZ_UpdateCustomizedSetting/sim3
> --apply line.toml --all
= line.toml vid = "1A2B"
= line.toml manufacturer = "Acme"
= line.toml serial = "LINE-{n:4}"
= line.toml serial_start = 41
= line.toml hdd1 = "ACME"
= line.toml hdd2 = "FAST DISK"
= line.toml timer = 120
~ [1/4] sim0: reading 01.02.03.04 ... PASS (* s)
~ [1/4] sim0: serial LINE-0041 ... PASS (* s)
~ [1/4] sim0: writing settings ... PASS (* s)
~ [1/4] sim0: verifying ... PASS (* s)
~ [2/4] sim1: reading 01.02.03.04 ... PASS (* s)
~ [2/4] sim1: serial LINE-0042 ... PASS (* s)
~ [2/4] sim1: writing settings ... PASS (* s)
~ [2/4] sim1: verifying ... PASS (* s)
~ [3/4] sim2: reading 01.02.03.04 ... PASS (* s)
~ [3/4] sim2: serial LINE-0043 ... PASS (* s)
~ [3/4] sim2: writing settings ... PASS (* s)
~ [3/4] sim2: verifying ... PASS (* s)
~ [4/4] sim3: reading 01.02.03.04 ... PASS (* s)
~ [4/4] sim3: serial LINE-0044 ... PASS (* s)
~ [4/4] sim3: writing settings ... FAIL (* s)
|   failed call: QZ_UpdateCustomizedSetting
| 4 units: 3 passed, 1 failed
? 1
& bridgefw-record.jsonl {"time":"*Z","tool":"v1.0.0.0","host":"*","device":1,"path":"sim0","series":"other","profile":"line.toml","serial":"LINE-0041","serial_number":41,"before":{"version":"01.02.03.04","vid":"3A5C",*"serial":"SIM0000000001",*},"after":{"version":"01.02.03.04","vid":"1A2B","pid":"0101","manufacturer":"Acme","product":"Sim Bridge","serial":"LINE-0041","hdd":"ACME FAST DISK","timer":120},"result":"pass","seconds":*}
& bridgefw-record.jsonl *"device":2,"path":"sim1","series":"t7",*"serial":"LINE-0042",*"after":{*"vid":"1A2B",*"timer":120},"result":"pass",*
& bridgefw-record.jsonl *"device":3,"path":"sim2",*"serial":"LINE-0043",*"result":"pass",*
& bridgefw-record.jsonl *"device":4,"path":"sim3",*"serial":"LINE-0044",*"result":"fail","failed_step":"writing","failed_call":"QZ_UpdateCustomizedSetting","seconds":*}
!
# A second run goes on numbering; the record grows.
> --apply line.toml --device sim3 --json
~ {"time":*,"device":4,"path":"sim3",*"serial":"LINE-0045",*"result":"pass",*}
& bridgefw-record.jsonl *"serial":"LINE-0041"*
& bridgefw-record.jsonl *"serial":"LINE-0042"*
& bridgefw-record.jsonl *"serial":"LINE-0043"*
& bridgefw-record.jsonl *"serial":"LINE-0044"*"result":"fail"*
& bridgefw-record.jsonl *"serial":"LINE-0045"*"result":"pass"*
# A dry run shows the numbers a real run would hand out, and takes none.
> --apply line.toml --all --dry-run --json
~ {*"device":1,*"serial":"LINE-0046",*}
~ {*"device":2,*"serial":"LINE-0047",*}
~ {*"device":3,*"serial":"LINE-0048",*}
~ {*"device":4,*"serial":"LINE-0049",*}
& line.toml.counter 46
# A dry run reads and checks the image only: no staging, commit or programming call.
> --apply img.toml --device 1 --dry-run
= img.toml image = "fw.bin"
= img.toml pid = "00C4"
= img.toml hdd1 = "ACME"
= img.toml hdd2 = "FAST DISK"
~ [1/1] sim0: reading 01.02.03.04 ... PASS (* s)
~ [1/1] sim0: checking image fw.bin ... PASS (* s)
|   version: 01.02.03.04 -> (image)
|   pid: 0101 -> 00C4
| 1 unit: 1 passed, 0 failed
@ QZ_IsQZT7Series("sim0") = 0
@ QZ_GetRunningCodeMode("sim0", out=2) = 1
@ QZ_GetFWVersion("sim0", out="01.02.03.04") = 1
@ QZ_IsQZT7Series("sim0") = 0
@ QZ_GetVIDfromFlash("sim0", out=0x1A2B) = 1
@ QZ_IsQZT7Series("sim0") = 0
@ QZ_GetPIDfromFlash("sim0", out=0x0101) = 1
@ QZ_GetManuStrfromFlash("sim0", out="Acme") = 1
@ QZ_GetProdStrfromFlash("sim0", out="Sim Bridge") = 1
@ QZ_IsQZT7Series("sim0") = 0
@ QZ_GetSNfromFlash("sim0", out="LINE-0041") = 1
@ QZ_GetHDDStrfromFlash("sim0", out="ACME FAST DISK") = 1
@ QZ_IsQZT7Series("sim0") = 0
@ QZ_GetStandbyTimerfromFlash("sim0", out=120) = 1
@ QZ_CheckLoadBinFileMatch("sim0", "fw.bin") = 1
# Programming with settings merges the profile over the unit's own; the record has the image's SHA-256.
> --apply img.toml --device 1 --record img.jsonl
~ [1/1] sim0: reading 01.02.03.04 ... PASS (* s)
~ [1/1] sim0: programming 02.00.00.01 ... PASS (* s)
~ [1/1] sim0: verifying ... PASS (* s)
| 1 unit: 1 passed, 0 failed
& img.jsonl *"image":{"path":"fw.bin","sha256":"c3925afc8283c5568d220bd8e548977a0d52fa174c887efd92551f1bd3ea6c9c","size":65576}*
> --device 1 -ged
| VID: 0x1A2B
| PID: 0x00C4
| Manufacturer string : Acme
| Product string : Sim Bridge
| Serial number: LINE-0041
| HDD String: ACME FAST DISK
| Standby Timer : 120 (sec)
> --version
| bridgefw v1.0.0.0
# A shift report loads no library: it runs on a computer without one.
>alone --report r.jsonl --json
= r.jsonl {"result":"pass","serial":"A","serial_number":7}
~ {"records":["r.jsonl"],"units":1,*"serials":{"first":7,"last":7,"gaps":[],"gap_count":0},*}
> --help
+ help.txt
| Long options, before any option above:
|  --list                            : One line per device: number, path, series,
|                                      mode, version, VID:PID, serial
|  --device N|PATH [OPTION]          : Act on device N (from 1) or PATH; with an
|                                      option above, run it; without, the menu
|  --apply PROFILE                   : Bring units to the profile, verify, record
|  --all                             : With --apply: every listed device
|  --dry-run                         : With --apply: read and check only, show
|                                      what would change
|  --record FILE                     : With --apply: the record (default
|                                      bridgefw-record.jsonl beside the profile)
|  --json                            : With --apply, --list or --report: JSON
|  --watch                           : With --apply: a station, each unit as it
|                                      is plugged in, until stopped (Ctrl-C)
|  --jobs N                          : Units at once, each in a worker process
|                                      (--watch: 8, --all: 1)
|  --poll MS                         : With --watch: list devices every MS ms
|                                      (250)
|  --units N                         : With --watch: end after N units started
|  --stop-after N                    : With --watch: start no unit after N
|                                      failed in a row
|  --redo                            : With --watch: units already done too
|  --bell                            : With --watch: ring on a failure
|  --save-profile FILE               : Save a unit's settings as a new profile
|  --report RECORD...                : A shift report from records (needs no
|                                      library); status 1: a serial passed twice
|  --help                            : This help
|  --version                         : The tool's name and version
| Exit status: 0 all passed, 1 a unit failed, 2 usage or profile error,
| 3 no library or no device.
| ----------------------------------------------------------------------------------------------
