#!/usr/bin/env bash
# Usage: e2e.sh PACKAGE/veltor.exe STAND-IN-TOOL.exe, in the Wine prefix that
# WINEPREFIX names. Drives the package alone (nothing on WINEPATH) on Xvfb as
# a user does. Russian text travels in files and through the clipboard:
# xdotool types Cyrillic wrongly under Wine.
set -euo pipefail

source "$(dirname "$0")/../e2e/lib.sh"
need Xvfb xdotool xclip xwininfo iconv wine wineserver
VELTOR="$(realpath "$1")" STAND_IN="$(realpath "$2")"
begin
cd "$WORK"
unset WINEPATH
# A wine server of its own: the widget tests' desktop, which has no display,
# outlives them for a while and would take this program's windows.
wineserver -k 2>/dev/null || true
wineserver -w
wine "$VELTOR" >wine.log 2>&1 &
PID=$!
main_window
# The Windows form of a path on the build machine.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

step "a Windows-1251 file opened by its typed path, coded and appended to a file with a Cyrillic name"
click 60 308 # Command2
take "Открыть"
xdotool type --delay 20 "$(windows_path "$WORK/source.txt")"
xdotool key Return
wait_for main_alone
click 188 308 # Knop
notice "Обработка завершена!"
click 60 340 # Command1
file_dialog "Сохранить как" "$(windows_path "$WORK/результат.txt")"
wait_for test -s результат.txt
cmp результат.txt expected.txt

step "«System Info...» starts the tool that the registry names, in a folder with a space"
install -D "$STAND_IN" "tool dir/MSINFO32.EXE"
key='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
wine reg add "$key" /v PATH /t REG_SZ /d "$(windows_path "$WORK/tool dir/MSINFO32.EXE")" /f >/dev/null
menu Right Return # Справка → О программе
take "About Вельтор"
xdotool key alt+s
wait_for test -f "tool dir/MSINFO32.EXE.ran"
wine reg delete "$key" /f >/dev/null
echo "PASS"
