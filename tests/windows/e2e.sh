#!/usr/bin/env bash
# Usage: e2e.sh PACKAGE/veltor.exe STAND-IN-TOOL.exe, in the prefix WINEPREFIX. Starts the
# package alone (nothing on WINEPATH) on Xvfb and drives it as a user does.
set -euo pipefail

source "$(dirname "$0")/../lib.sh"
need Xvfb xdotool wine wineserver script
VELTOR="$(realpath "$1")" STAND_IN="$(realpath "$2")"
begin
unset WINEPATH
# A wine server of its own: the widget tests' desktop would take the windows.
wineserver -k 2>/dev/null && wineserver -w || true

step "the command line: started as Explorer starts it, the program answers in a box"
wine start /wait /unix "$VELTOR" -x &
PID=$(wait_for xdotool search --onlyvisible --name "^Вельтор$" getwindowpid) # on this display alone
notice "veltor: Неизвестный параметр «-x».
Чтобы открыть файл «-x», напишите: veltor -- -x
Справка: veltor --help"
code=0 && wait $! || code=$?
[ "$code" = 2 ] || fail "it ended with status $code"

step "the command line: from a console, the program answers there"
LANG=C.UTF-8 script -qc "$(printf '%q ' wine cmd /c "$VELTOR" --version)" /dev/null </dev/null >console.log
grep -q "Вельтор 1\.0\.0" console.log || fail "from a console it printed: $(cat console.log)"

wine "$VELTOR" >wine.log 2>&1 &
PID=$!
main_window

step "«System Info...» starts the tool that the registry names, in a folder with a space"
install -D "$STAND_IN" "tool dir/MSINFO32.EXE"
key='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
wine reg add "$key" /v PATH /t REG_SZ /d "Z:${WORK//\//\\}\\tool dir\\MSINFO32.EXE" /f >/dev/null
menu Right Return # Справка → О программе
take "About Вельтор"
xdotool key alt+s
wait_for test -f "tool dir/MSINFO32.EXE.ran"
wine reg delete "$key" /f >/dev/null
echo "PASS"
