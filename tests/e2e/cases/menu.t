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
# Answers are words: a blank shifts every later answer.
$ bridgesim-image --out fw.bin --series other --version 02.00.00.00
>
< 5 fw.bin 12AB 34CD Maker Co Box SN-9 VEND PROD 7
+ menu_screen.txt
| Input FW file path: 
| Input VID: 
| Input PID: 
| Input Manufacturer String: 
| Input Product String: 
| Input Serial Number: 
| Input HDD String1: 
| Input HDD String2: 
| Input Timer: 
| Input parameter error! 
| Update firmware and customized settings FAIL
>
< 14 Maker
+ menu_screen.txt
| Input manufacture string: 
| Set manufacturer string PASS
| Please power off-on device to make settings take effect!!
>
< 13
+ menu_screen.txt
| Manufacturer string : Maker
| Get manufacturer string from device PASS
