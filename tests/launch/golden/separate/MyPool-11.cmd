@echo off
echo Leave this window active. When the miner fails, it will be detected and relaunched from here.
set z=0

:Loop
START "FPGA11" /WAIT CMD /C "C:\Mining\miner.exe -t 2 -o poolhost:8333 -u mywallet.rig11"

set /a z+=1
echo Number of Restarts = %z%
goto loop
