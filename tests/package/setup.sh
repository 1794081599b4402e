#!/usr/bin/env bash
# Usage: setup.sh SETUP.exe PACKAGE-FOLDER, in the prefix WINEPREFIX. Installs silently, twice
# (the second over the first), starts the installed program, and uninstalls silently.
set -euo pipefail

source "$(dirname "$0")/../lib.sh"
need makensis Xvfb xdotool wine wineserver
SETUP="$(realpath "$1")" PACKAGE="$(realpath "$2")"
begin
trap 'kill $PID $XVFB 2>/dev/null; wineserver -k 2>/dev/null; wineserver -w; rm -rf "$WORK"' EXIT
wineserver -k 2>/dev/null && wineserver -w || true
DIR="$WINEPREFIX/drive_c/Program Files/Вельтор"
LINK="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Вельтор.lnk"
KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Вельтор' APP='HKLM\Software\Classes\Applications\veltor.exe'
files() { (cd "$DIR" && find . -type f | sort); }

step "setup.exe /S, again over it: the package's files, a user's file kept, the shortcut and the entries"
wine "$SETUP" /S
echo "мои заметки" >"$DIR/заметки.txt"
wine "$SETUP" /S
[ "$(files)" = "$( (cd "$PACKAGE" && find . -type f; echo ./uninstall.exe; echo ./заметки.txt) | sort)" ] || fail "installed: $(files)"
[ -f "$LINK" ] || fail "no shortcut"
for v in DisplayName DisplayVersion Publisher DisplayIcon EstimatedSize UninstallString; do wine reg query "$KEY" /v $v >/dev/null; done
wine reg query "$APP\\SupportedTypes" /v .txt >/dev/null # "Open with" for text files

step "the installed program starts and shows its window"
wine "$DIR/veltor.exe" >wine.log 2>&1 &
PID=$!
main_window
menu Up Return # Файл → Выход
wait $PID || fail "exit status $?"

step "uninstall.exe /S removes all of it but the user's file"
wine "$DIR/uninstall.exe" /S # it goes on from a copy of itself, and removes itself last
wait_for not test -e "$DIR/uninstall.exe"
[ "$(files)" = "./заметки.txt" ] || fail "left: $(files)"
rm -r "$DIR"
[ ! -e "$LINK" ] || fail "the shortcut is left"
for key in "$KEY" "$APP"; do not wine reg query "$key" >/dev/null 2>&1 || fail "$key is left"; done
echo "PASS"
