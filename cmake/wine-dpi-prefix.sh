#!/bin/sh
# Prints the path of a copy of a Wine prefix whose screen has another DPI (the registry's
# HKCU\Control Panel\Desktop LogPixels), creating the copy when it is missing. The copy links
# the prefix's system DLLs, which Wine only reads, instead of duplicating them, and copies the
# rest.
# Usage: wine-dpi-prefix.sh PREFIX DPI
set -e
prefix=$1
dpi=$2
copy="$prefix-dpi$dpi"
if [ ! -f "$copy/.dpi" ]; then
    [ -f "$prefix/system.reg" ] || { echo "no Wine prefix at $prefix" >&2; exit 1; }
    rm -rf "$copy"
    mkdir -p "$copy"
    (cd "$prefix" && tar --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/winsxs \
        -cf - .) | (cd "$copy" && tar -xf -)
    cp -al "$prefix/drive_c/windows/system32" "$prefix/drive_c/windows/winsxs" \
        "$copy/drive_c/windows/"
    export WINEPREFIX="$copy" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
    touch "$copy/.dpi"
fi
echo "$copy"
