# Start-up: binding the library, listing the devices, choosing a front end.
>alone -h
| Initalize the API entries fail!
@
>lacking
| Initalize the API entries fail!
@
$ bridgesim remove-all
> -h
| Not connect device
@
>
< 2
| Not connect device
$ bridgesim add --series t7
$ bridgesim add
> -gvd
| VID: 0x3A5C
@ QZ_IsQZT7Series("sim0") = 1
@ QZ_GetT7VIDbySCSICmd("sim0", out=0x3A5C) = 1
> ''
< 21
