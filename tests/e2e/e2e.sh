#!/usr/bin/env bash
# Usage: e2e.sh PATH/TO/veltor. Drives the program on Xvfb as a user does, with Cyrillic
# through the clipboard, and reads its boxes as their Ctrl+C copies them.
set -euo pipefail

source "$(dirname "$0")/lib.sh"
need Xvfb xdotool xclip iconv
VELTOR="$(realpath "$1")"
begin
export XDG_RUNTIME_DIR="$WORK" XDG_CONFIG_HOME="$WORK" QT_QPA_PLATFORM=xcb
printf 'Съешь же ещё этих мягких французских булок,\r\nда выпей чаю. Ёлка!' | iconv -f UTF-8 -t CP1251 >source.txt
printf 'Лъевь хе ебё экиж рячтиж змапдуфлтиж щусот,\r\nца шыней гаю. Ёста!\r\n' | iconv -f UTF-8 -t CP1251 >expected.txt
"$VELTOR" "$WORK/source.txt" & # "Open with"
PID=$!
main_window

step "Return on the focused Knop codes the file named on the command line; the result is saved"
focus "$MAIN"
xdotool key Return
notice "Обработка завершена!"
click 60 340 # Command1
take "Сохранить как"
set_clipboard "$WORK/saved.txt"
xdotool key ctrl+a ctrl+v Return
wait_for main_alone # the name box's completion list too
wait_for cmp -s saved.txt expected.txt
echo "PASS"
