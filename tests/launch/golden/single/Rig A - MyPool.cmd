@echo off
setlocal enabledelayedexpansion

echo Loading Bitstreams
C:\Mining\NextJTag.exe -m -a --set_voltage=0.75 -b C:\Mining\bits.bit

echo Start 1st Miner

set i=1
:loop1

START "FPGA%i%" CMD /C "C:\Mining\miner.exe -o poolhost:8333 -u mywallet.rig%i% -t 2"

set /a i+=1
if !i!==3 goto continue

TIMEOUT /T 5
echo Starting next Miner

goto loop1
:continue

echo after

exit /b 0
