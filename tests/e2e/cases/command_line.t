> -HELP
+ help.txt
> -fv
| FW version: 01.02.03.04
! QZ_GetPIDfromFlash
> -gEd
@ QZ_IsQZT7Series("sim0") = 0
@ QZ_GetVIDfromFlash("sim0", out=0x3A5C) = 1
@ QZ_IsQZT7Series("sim0") = 0
@ QZ_GetPIDfromFlash("sim0", out) = 0 (injected)
!
> -st 120
| standby Timer 120
@ QZ_IsQZT7Series("sim0") = 0
@ QZ_InitialCustomizedSettingTable() = 1
@ QZ_EnableUpdateStandbyTimer("sim0", 1) = 1
@ QZ_SetStandbyTimer("sim0", 120) = 1
@ QZ_UpdateCustomizedSetting("sim0") = 1
> -gtd
| Standby Timer Value : 120
> -sv
| Please input parameter.
@
$ bridgesim set series t7
> -sv 12ab
> -gvd
| VID: 0x12AB
> -sn ACME FAST
> -gnd
| HDD String: ACME FAST 
