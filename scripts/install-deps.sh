#!/bin/sh
# Installs the Debian packages the builds and tests need, when any is missing.
set -e
need=""
for pkg in g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth locales "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || need="$need $pkg"
done
[ -z "$need" ] && exit 0
echo "Installing:$need"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $need
