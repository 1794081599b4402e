#!/usr/bin/env bash
# Usage: e2e.sh PACKAGE/veltor.exe STAND-IN-TOOL.exe, in the prefix WINEPREFIX. Drives the
# package alone (nothing on WINEPATH) on Xvfb as a user does, with Cyrillic through the clipboard.
set -euo pipefail

source "$(dirname "$0")/../e2e/lib.sh"
need Xvfb xdotool xclip iconv wine wineserver
VELTOR="$(realpath "$1")" STAND_IN="$(realpath "$2")"
begin
unset WINEPATH
# A wine server of its own: the widget tests' desktop would take the windows.
wineserver -k 2>/dev/null && wineserver -w || true
wine "$VELTOR" >wine.log 2>&1 &
PID=$!
main_window
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
wait_for cmp -s результат.txt expected.txt

step "«System Info...» starts the tool that the registry names, in a folder with a space"
install -D "$STAND_IN" "tool dir/MSINFO32.EXE"
wine reg add 'HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO' /v PATH /t REG_SZ /d "$(windows_path "$WORK/tool dir/MSINFO32.EXE")" /f >/dev/null
menu Right Return # Справка → О программе
take "About Вельтор"
xdotool key alt+s
wait_for test -f "tool dir/MSINFO32.EXE.ran"
wine reg delete 'HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO' /f >/dev/null
echo "PASS"
