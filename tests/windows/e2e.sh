#!/usr/bin/env bash
# Usage: e2e.sh PACKAGE/veltor.exe STAND-IN-TOOL.exe, in the Wine prefix that
# WINEPREFIX names. Runs the Windows package alone (nothing on WINEPATH) on a
# virtual X server and drives it as a user does. Russian text travels in files
# and through the clipboard: xdotool types Cyrillic wrongly under Wine.
set -euo pipefail

for tool in Xvfb xdotool xclip xwininfo import iconv wine; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: no $tool (scripts/test installs it)" && exit 77; }
done

VELTOR="$(realpath "$1")"
STAND_IN="$(realpath "$2")"
source "$(dirname "$0")/../e2e/lib.sh"
start_xvfb
unset WINEPATH
# A wine server of its own: the widget tests' desktop, which has no display,
# outlives them for a while and would take this program's windows.
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p >/dev/null 2>&1 </dev/null

# The Windows form of a path on the build machine.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
msinfo_key='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
trap 'kill $PID $XVFB 2>/dev/null || true; wine reg delete "$msinfo_key" /f &>/dev/null || true; rm -rf "$WORK"' EXIT
wine reg delete "$msinfo_key" /f &>/dev/null || true

cd "$WORK"
wine "$VELTOR" >wine.log 2>&1 &
PID=$!
MAIN=$(wait_for window "Вельтор")

step "the client area is 569 x 465 under the menu bar"
measure_main
[ "$WIDTH" -eq 569 ] || fail "width $WIDTH"
[ $((HEIGHT - MENU_HEIGHT)) -eq 465 ] || fail "height $HEIGHT - menu bar $MENU_HEIGHT"

step "a Windows-1251 file opened, coded and appended to a file with a Cyrillic name"
printf 'Съешь же ещё этих мягких французских булок,\r\nда выпей чаю. Ёлка!' |
    iconv -f UTF-8 -t CP1251 >source.txt
printf 'Лъевь хе ебё экиж рячтиж змапдуфлтиж щусот,\r\nца шыней гаю. Ёста!\r\n' |
    iconv -f UTF-8 -t CP1251 >expected.txt
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
cmp результат.txt expected.txt || fail "результат.txt holds $(od -An -tx1 результат.txt | head -c 300)"

step "About: the fallback without the registry value, then the tool it names"
menu_item 2 1 1 # Справка → О программе
take "About Вельтор"
about=$W
xdotool key alt+s
notice "System Information Is Unavailable At This Time"
mkdir "tool dir"
cp "$STAND_IN" "tool dir/MSINFO32.EXE"
wine reg add "$msinfo_key" /v PATH /t REG_SZ /d "$(windows_path "$WORK/tool dir/MSINFO32.EXE")" /f >/dev/null
focus "$about"
xdotool key alt+s
wait_for test -f "tool dir/MSINFO32.EXE.ran"
xdotool mousemove --window "$about" 325 186 click 1 # OK
wait_for not viewable "$about"

step "closing the idle window ends the program"
focus "$MAIN"
xdotool key alt+F4
wait_for ended
wait "$PID" || fail "exit status $?"
PID=""
echo "PASS"
