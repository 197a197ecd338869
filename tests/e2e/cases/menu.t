>
< 1 2
+ menu_screen.txt
+ menu_screen.txt
| FW version: 01.02.03.04
| Get FW version PASS
>
< x
< 21
+ menu_screen.txt
| [Error] Only accepts number. Please re-enter the number.
| Select function to test :
