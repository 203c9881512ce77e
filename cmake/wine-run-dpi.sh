#!/bin/sh
# Runs a Windows program under Wine on a screen of another DPI: in a copy of the build's prefix
# (wine-dpi-prefix.sh), otherwise as wine-run.sh does.
# Usage: wine-run-dpi.sh PREFIX DPI PROGRAM [ARGS...]
here=$(dirname "$0")
copy=$("$here/wine-dpi-prefix.sh" "$1" "$2") || exit 1
shift 2
exec "$here/wine-run.sh" "$copy" "$@"
