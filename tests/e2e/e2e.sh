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
WORK="$(mktemp -d)"
PID="" XVFB="" MAIN=""
trap 'kill $PID $XVFB 2>/dev/null || true; rm -rf "$WORK"' EXIT

fail() {
    echo "FAIL: $*" >&2
    for id in $(windows); do echo "  window $id «$(xdotool getwindowname "$id")»" >&2; done
    exit 1
}
step() { echo "--- $*"; }
not() { ! "$@"; }

# Runs "$@" every 0.1 s until it succeeds, for at most 10 s: what has not
# happened by then is not coming. Prints what "$@" printed on success.
wait_for() {
    local tries=100
    until "$@"; do
        ((--tries)) || fail "gave up waiting for: $*"
        sleep 0.1
    done
}

# The program's mapped windows; its popups are named after the executable.
windows() { xdotool search --all --onlyvisible --pid "$PID" 2>/dev/null || true; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q "Map State: IsViewable"; }
main_alone() { [ "$(windows)" = "$MAIN" ]; }
# Prints the first mapped window named $1 other than the main window.
window() {
    local id
    for id in $(windows); do
        [ "$id" != "$MAIN" ] && [ "$(xdotool getwindowname "$id")" = "$1" ] && echo "$id" && return
    done
    return 1
}

# Without a window manager nobody hands the keyboard over: give it to the
# window the user is looking at, as a click on its title bar would.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
focus() { xdotool windowfocus "$1" && wait_for focused "$1"; }
# Waits for the window named $1, W, and focuses it.
take() { W=$(wait_for window "$1") && focus "$W"; }
# Clicks at (x, y) of the main window's client area, below the menu bar.
click() { xdotool mousemove --window "$MAIN" "$1" $((MENU_HEIGHT + $2)) click 1; }

clipboard() { timeout 2 xclip -selection clipboard -o 2>/dev/null || true; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }
set_clipboard() { printf '%s' "$1" | xclip -selection clipboard -i &>/dev/null && wait_for clipboard_is "$1"; }
# Presses Ctrl+C in the focused window and prints what it copied.
copy() {
    set_clipboard "nothing copied"
    xdotool key ctrl+c
    wait_for not clipboard_is "nothing copied"
    clipboard
}

# Reads the box titled Вельтор as a user can (Ctrl+C), expects it to say $1
# with one OK button, and answers it with Return.
notice() {
    local copied line=---------------------------
    take "Вельтор"
    copied=$(copy)
    [ "$copied" = "$(printf "%s\n" "$line" Вельтор "$line" "$1" "$line" "OK   " "$line")" ] ||
        fail "expected the box «$1», got:"$'\n'"$copied"
    xdotool key Return
    wait_for not viewable "$W"
}

# Enters path $2 in the file dialog titled $1, then waits for its name
# completion list too to go, as while it is up it takes the next click.
file_dialog() {
    take "$1"
    set_clipboard "$2"
    xdotool key ctrl+a ctrl+v Return
    wait_for main_alone
}

# Opens the first menu with a click, the second too with Right if $1 is 2,
# and clicks item $2 of the $3 items of that menu.
menu_item() {
    local popup X Y WIDTH HEIGHT
    xdotool mousemove --window "$MAIN" 20 $((MENU_HEIGHT / 2)) click 1
    popup=$(wait_for window veltor)
    [ "$1" = 1 ] || { xdotool key Right && wait_for not viewable "$popup" && popup=$(wait_for window veltor); }
    eval "$(xdotool getwindowgeometry --shell "$popup" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * (2 * $2 - 1) / (2 * $3))) click 1
}

# The pixel rows that are black in column $1 of the main window.
black_rows() { import -window "$MAIN" -crop "1x${HEIGHT}+$1+0" txt:- | awk -F'[,:]' '/#000000/ { print $2 }'; }

# The program has ended once it is gone or a zombie waiting for us.
ended() { [ "$(awk '{ print $3 }' "/proc/$PID/stat" 2>/dev/null || echo Z)" = Z ]; }

# Xvfb picks a free display and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB=$!
wait_for test -s "$WORK/display"
DISPLAY=":$(cat "$WORK/display")"
export DISPLAY

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
