#!/bin/sh
# Runs a Windows program under Wine in a prefix of its own whose Unix locale is LOCALE, e.g.
# ja_JP.UTF-8, whose ANSI code page is 932. The locale is compiled beside the prefix the first
# time (glibc's LOCPATH), so the system's locales stay as they are.
# Usage: wine-run-locale.sh PREFIX LOCALE PROGRAM [ARGS...]
prefix=$1
locale=$2
shift 2
locales="$prefix-locales"
if [ ! -d "$locales/$locale" ]; then
    mkdir -p "$locales"
    localedef -i "${locale%%.*}" -f "${locale#*.}" "$locales/$locale" >/dev/null 2>&1
    [ -d "$locales/$locale" ] || { echo "cannot make the locale $locale" >&2; exit 1; }
fi
export LOCPATH="$locales" LANG="$locale" LC_ALL="$locale"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix" && wineboot -i >/dev/null 2>&1
    wineserver -w
fi
wine "$@"
status=$?
wineserver -w
exit $status
