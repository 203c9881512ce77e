#!/bin/sh
# Runs a Windows program under Wine in a prefix of the real-run tests' own, apart from the
# build's: its graphics driver is null, so the consoles that scripts start need no display.
# Whatever the program leaves running in the prefix is ended afterwards.
# Usage: real-run.sh PREFIX PROGRAM [ARGS...]
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=C.UTF-8
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix" && wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    wineserver -w
fi
status=0
timeout -k 10 300 wine "$@" || status=$?
wineserver -k
exit $status
