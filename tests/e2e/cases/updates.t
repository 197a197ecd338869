$ bridgesim-image --out fw.bin --series other --version 02.00.00.01
$ bridgesim-image --out t7.bin --series t7 --version 02.00.00.02
> -ub fw.bin
| Update result: 1.
> -fv
| FW version: 02.00.00.01
> -ub missing.bin
| Invalid firmware path.
@
> -un t7.bin
| Bin file not match 
> -ue -f fw.bin -v 1A2B -p 0C0D -m Demo -i Disk -s DEMO0001 -n DEMO DISK -t 300
> -ged
| VID: 0x1A2B
| PID: 0x0C0D
| Manufacturer string : Demo
| Product string : Disk
| Serial number: DEMO0001
| HDD String: DEMO DISK
| Standby Timer : 300 (sec)
