#!/usr/bin/env bash
# Drives the built program under a virtual X server from outside, the way a
# user does: mouse clicks and keys through xdotool, text in and out through the
# clipboard (xdotool cannot type Cyrillic reliably), window names, a screenshot
# of the window, and the files on disk.
#
# Usage: e2e.sh PATH/TO/veltor
# With VELTOR_E2E_SCREENSHOT=FILE.png it also saves the window after the run
# over a loaded file.
set -euo pipefail

readonly SKIP=77 # what CTest is told means "skipped"

for tool in Xvfb xdotool xclip xwininfo import iconv; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (scripts/test installs it)"
        exit "$SKIP"
    fi
done

VELTOR="$(realpath "$1")"
WORK="$(mktemp -d)"
PID=""
XVFB=""
cleanup() {
    if [ -n "$PID" ]; then kill "$PID" 2>/dev/null || true; fi
    if [ -n "$XVFB" ]; then kill "$XVFB" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "$PID" ]; then
        echo "The program's windows then:" >&2
        for id in $(program_windows); do echo "  $id «$(xdotool getwindowname "$id")»" >&2; done
    fi
    exit 1
}
step() { echo "--- $*"; }

# Runs "$@" every 0.1 s until it succeeds, for at most $2 seconds; a window
# that has not appeared by then is not coming.
wait_for() {
    local what=$1 tries=$(($2 * 10))
    shift 2
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "gave up waiting for $what"
        sleep 0.1
    done
}

# The program's mapped windows, with their names; popups are named after the
# executable.
program_windows() { xdotool search --all --onlyvisible --pid "$PID" 2>/dev/null || true; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q "Map State: IsViewable"; }
not_viewable() { ! viewable "$1"; }

# Prints the first mapped window of the program named exactly $1 other than
# the main window.
find_window() {
    local id
    for id in $(program_windows); do
        [ "$id" != "${MAIN:-}" ] && [ "$(xdotool getwindowname "$id")" = "$1" ] && echo "$id" &&
            return 0
    done
    return 1
}
wait_window() {
    local id tries=50
    until id=$(find_window "$1"); do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "no window named «$1» appeared"
        sleep 0.1
    done
    echo "$id"
}

# Without a window manager nobody hands the keyboard over: give it to the
# window the user is looking at, as a click on its title bar would.
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
focus() {
    xdotool windowfocus "$1"
    wait_for "the keyboard to go to window $1" 5 has_focus "$1"
}

# Clicks at (x, y) of the main window's client area, below the menu bar.
click_client() { xdotool mousemove --window "$MAIN" "$1" $((MENU_HEIGHT + $2)) click 1; }
click_root() { xdotool mousemove "$1" "$2" click 1; }

clipboard() { timeout 2 xclip -selection clipboard -o 2>/dev/null || true; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }
clipboard_is_not() { [ "$(clipboard)" != "$1" ]; }
set_clipboard() {
    printf '%s' "$1" | xclip -selection clipboard -i >/dev/null 2>&1
    wait_for "the clipboard to hold «$1»" 5 clipboard_is "$1"
}
# Presses Ctrl+C in the focused window and prints what it copied.
copy() {
    local marker="nothing copied $RANDOM"
    set_clipboard "$marker"
    xdotool key ctrl+c
    wait_for "Ctrl+C to copy something" 5 clipboard_is_not "$marker"
    clipboard
}

# Puts a path into the focused file dialog's name box and confirms it.
enter_file_name() {
    set_clipboard "$1"
    xdotool key ctrl+a ctrl+v Return
}

# Waits until the main window is the program's only window again. The file
# dialog's name completion list can outlive the dialog for a moment, and while
# it is up it takes the next click for itself.
main_alone() { [ "$(program_windows)" = "$MAIN" ]; }
wait_main_alone() { wait_for "the program's other windows to close" 5 main_alone; }

# Expects a message box titled $1 saying $2 with one OK button, reads it as
# a user can (Ctrl+C), and answers it with Return.
answer_notice() {
    local title=$1 text=$2 box copied line=---------------------------
    box=$(wait_window "$title")
    focus "$box"
    copied=$(copy)
    [ "$copied" = "$(printf '%s\n' "$line" "$title" "$line" "$text" "$line" "OK   " "$line")" ] ||
        fail "expected the box «$text», got:"$'\n'"$copied"
    xdotool key Return
    wait_for "the box «$text» to close" 5 not_viewable "$box"
}

# The pixel rows that are black in column $1 of the main window.
black_rows() {
    import -window "$MAIN" -crop "1x${HEIGHT}+$1+0" txt:- | awk -F'[,:]' '/#000000/ { print $2 }'
}

# Opens the menu bar's first menu with a click, moves $1 menus to the right
# with the arrow key, and clicks item $2 of the $3 items of that menu.
choose_menu_item() {
    local rights=$1 item=$2 count=$3 popup x y w h i
    xdotool mousemove --window "$MAIN" 20 $((MENU_HEIGHT / 2)) click 1
    popup=$(wait_window veltor)
    for ((i = 0; i < rights; i++)); do
        xdotool key Right
        wait_for "the next menu to open" 5 not_viewable "$popup"
        popup=$(wait_window veltor)
    done
    eval "$(xdotool getwindowgeometry --shell "$popup" |
        sed -n 's/^X=/x=/p; s/^Y=/y=/p; s/^WIDTH=/w=/p; s/^HEIGHT=/h=/p')"
    click_root $((x + w / 2)) $((y + h * (2 * item - 1) / (2 * count)))
}

# The program has ended once it is gone or a zombie waiting for us.
program_ended() {
    local state
    state=$(awk '{ print $3 }' "/proc/$PID/stat" 2>/dev/null) || return 0
    [ "$state" = Z ]
}

# A screen of our own. The server picks a free display number itself and
# writes it once it accepts clients, so runs side by side cannot collide.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB=$!
display_known() { [ -s "$WORK/display" ]; }
wait_for "the virtual X server to start" 10 display_known
DISPLAY=":$(cat "$WORK/display")"
export DISPLAY

cd "$WORK"
mkdir -m 700 runtime config
export XDG_RUNTIME_DIR="$WORK/runtime" XDG_CONFIG_HOME="$WORK/config" QT_QPA_PLATFORM=xcb
"$VELTOR" &
PID=$!
MAIN=""
MAIN=$(wait_window "Вельтор")

step "the client area is 569 x 465 under the menu bar"
eval "$(xdotool getwindowgeometry --shell "$MAIN" | sed -n 's/^WIDTH=/WIDTH=/p; s/^HEIGHT=/HEIGHT=/p')"
[ "$WIDTH" -eq 569 ] || fail "the window is $WIDTH pixels wide, not 569"
# The client area starts with a black line across its whole width.
MENU_HEIGHT=$(sort -n <(black_rows 4) <(black_rows 284) <(black_rows 564) | uniq -c |
    awk '$1 == 3 { print $2; exit }')
[ -n "$MENU_HEIGHT" ] || fail "no black line across the top of the client area"
[ $((HEIGHT - MENU_HEIGHT)) -eq 465 ] ||
    fail "the client area is $((HEIGHT - MENU_HEIGHT)) pixels high, not 465 (menu bar $MENU_HEIGHT)"

step "the encode button has the focus: Space with no text asks for text"
focus "$MAIN"
xdotool key space
answer_notice "Вельтор" "Введите текст в поле Оригинал!"

step "pasted text is coded into the right box"
set_clipboard "Привет, мир!"
click_client 140 150
focus "$MAIN"
xdotool key ctrl+v
click_client 188 308 # Knop
answer_notice "Вельтор" "Обработка завершена!"
click_client 425 150
focus "$MAIN"
xdotool key ctrl+a
result=$(copy)
[ "$result" = "Нмишек, рим!" ] || fail "the right box holds «$result»"

step "a Windows-1251 file opened, coded and appended to a new file"
printf 'Съешь же ещё этих мягких французских булок,\r\nда выпей чаю. Ёлка!' |
    iconv -f UTF-8 -t CP1251 >"$WORK/source.txt"
printf 'Лъевь хе ебё экиж рячтиж змапдуфлтиж щусот,\r\nца шыней гаю. Ёста!\r\n' |
    iconv -f UTF-8 -t CP1251 >"$WORK/expected.txt"
click_client 60 308 # Command2
dialog=$(wait_window "Открыть")
focus "$dialog"
enter_file_name "$WORK/source.txt"
wait_main_alone
click_client 188 308 # Knop
answer_notice "Вельтор" "Обработка завершена!"
if [ -n "${VELTOR_E2E_SCREENSHOT:-}" ]; then
    import -window "$MAIN" "$VELTOR_E2E_SCREENSHOT"
fi
click_client 60 340 # Command1
dialog=$(wait_window "Сохранить как")
focus "$dialog"
enter_file_name "$WORK/saved.txt"
wait_main_alone
saved() { [ -s saved.txt ]; }
wait_for "saved.txt to be written" 5 saved
cmp saved.txt expected.txt ||
    fail "saved.txt differs: $(od -An -tx1 saved.txt | head -c 300)"

step "About: its title, and the system information fallback"
choose_menu_item 1 1 1 # Справка → О программе
about=$(wait_window "About Вельтор")
focus "$about"
xdotool key alt+s
answer_notice "Вельтор" "System Information Is Unavailable At This Time"
focus "$about"
xdotool key Escape
wait_for "the About window to close" 5 not_viewable "$about"

step "Файл → Выход ends the program"
choose_menu_item 0 5 5
wait_for "the program to end" 5 program_ended
status=0
wait "$PID" || status=$?
PID=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "PASS"
