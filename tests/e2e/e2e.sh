#!/usr/bin/env bash
# Usage: e2e.sh PATH/TO/veltor. Drives the program on a virtual X server as a
# user does: clicks and keys through xdotool, text through the clipboard
# (xdotool cannot type Cyrillic), window names, a screenshot, files on disk.
# VELTOR_E2E_SCREENSHOT=FILE.png also saves the window after the file's run.
set -euo pipefail

for tool in Xvfb xdotool xclip xwininfo import iconv; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: no $tool (scripts/test installs it)" && exit 77; }
done

VELTOR="$(realpath "$1")"
source "$(dirname "$0")/lib.sh"
start_xvfb

cd "$WORK"
mkdir -m 700 runtime config
export XDG_RUNTIME_DIR="$WORK/runtime" XDG_CONFIG_HOME="$WORK/config" QT_QPA_PLATFORM=xcb
"$VELTOR" &
PID=$!
MAIN=$(wait_for window "Вельтор")

step "the client area is 569 x 465 under the menu bar"
eval "$(xdotool getwindowgeometry --shell "$MAIN" | grep -E '^(WIDTH|HEIGHT)=')"
[ "$WIDTH" -eq 569 ] || fail "width $WIDTH"
# The client area starts with a black line across its whole width.
MENU_HEIGHT=$(sort -n <(black_rows 4) <(black_rows 284) <(black_rows 564) | uniq -c |
    awk '$1 == 3 { print $2; exit }')
[ -n "$MENU_HEIGHT" ] || fail "no black line across the top of the client area"
[ $((HEIGHT - MENU_HEIGHT)) -eq 465 ] || fail "height $HEIGHT - menu bar $MENU_HEIGHT"

step "the encode button has the focus: Space with no text asks for text"
focus "$MAIN"
xdotool key space
notice "Введите текст в поле Оригинал!"

step "pasted text is coded into the right box"
set_clipboard "Привет, мир!"
click 140 150
focus "$MAIN"
xdotool key ctrl+v
click 188 308 # Knop
notice "Обработка завершена!"
click 425 150
focus "$MAIN"
xdotool key ctrl+a
result=$(copy)
[ "$result" = "Нмишек, рим!" ] || fail "the right box holds «$result»"

step "a Windows-1251 file opened, coded and appended to a new file"
printf 'Съешь же ещё этих мягких французских булок,\r\nда выпей чаю. Ёлка!' |
    iconv -f UTF-8 -t CP1251 >source.txt
printf 'Лъевь хе ебё экиж рячтиж змапдуфлтиж щусот,\r\nца шыней гаю. Ёста!\r\n' |
    iconv -f UTF-8 -t CP1251 >expected.txt
click 60 308 # Command2
file_dialog "Открыть" "$WORK/source.txt"
click 188 308 # Knop
notice "Обработка завершена!"
[ -z "${VELTOR_E2E_SCREENSHOT:-}" ] || import -window "$MAIN" "$VELTOR_E2E_SCREENSHOT"
click 60 340 # Command1
file_dialog "Сохранить как" "$WORK/saved.txt"
wait_for test -s saved.txt
cmp saved.txt expected.txt || fail "saved.txt holds $(od -An -tx1 saved.txt | head -c 300)"

step "About: its title, and the system information fallback"
menu_item 2 1 1 # Справка → О программе
take "About Вельтор"
about=$W
xdotool key alt+s
notice "System Information Is Unavailable At This Time"
focus "$about"
xdotool key Escape
wait_for not viewable "$about"

step "Файл → Выход ends the program"
menu_item 1 5 5 # Файл → Выход
wait_for ended
wait "$PID" || fail "exit status $?"
PID=""
echo "PASS"
