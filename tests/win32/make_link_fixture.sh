#!/bin/sh
# Makes FOLDER/Launcher/Morvane.ini a symbolic link to FOLDER/Shared/real.ini, for the link test
# of the Windows build (programs under Wine cannot make links themselves).
set -e
folder=$1
rm -rf "$folder"
mkdir -p "$folder/Launcher" "$folder/Shared"
printf '[S]\r\nk=/*old*/\r\n' > "$folder/Shared/real.ini"
ln -s ../Shared/real.ini "$folder/Launcher/Morvane.ini"
