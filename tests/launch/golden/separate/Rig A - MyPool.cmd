@echo off
setlocal enabledelayedexpansion

echo Loading Bitstreams
C:\Mining\NextJTag.exe -m -a --set_voltage=0.75 -b C:\Mining\bits.bit

START "MyPool-11.cmd" /MIN CMD /C "C:\Launcher\MyPool-11.cmd"
TIMEOUT /T 5
START "MyPool-12.cmd" /MIN CMD /C "C:\Launcher\MyPool-12.cmd"
TIMEOUT /T 5
