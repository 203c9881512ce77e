#!/bin/sh
# Runs a Windows program under Wine in the build's own prefix.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
# Without a display the program gets a virtual one, so windowed tests run headless.
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=C.UTF-8
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix" && wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
fi
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1600x1000x24" wine "$@"
fi
exec wine "$@"
