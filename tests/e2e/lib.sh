# Shared by the end-to-end tests on Linux and under Wine: an X server of their
# own, and the program's windows, boxes and dialogs as a user meets them.
# Sourced; the caller sets PID to the program's process.

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
PID="" XVFB="" ATSPI="" MAIN=""

need() { for tool; do command -v "$tool" >/dev/null || { echo "SKIPPED: no $tool (scripts/test installs it)" && exit 77; }; done; }
fail() {
    echo "FAIL: $*" >&2
    for id in $(windows); do echo "  window $id «$(xdotool getwindowname "$id")»" >&2; done
    exit 1
}
step() { echo "--- $*"; }
not() { ! "$@"; }
# Runs "$@" every 0.1 s until it succeeds, for at most 10 s, and prints what it printed.
wait_for() {
    local tries=100
    until "$@"; do
        ((--tries)) || fail "gave up waiting for: $*"
        sleep 0.1
    done
}

# Makes the scratch folder WORK with a Windows-1251 source.txt and the expected
# result of coding and saving it, and starts Xvfb. Xvfb never resets: a reset
# when a client leaves may take it away before the next one connects.
begin() {
    WORK="$(mktemp -d)"
    trap 'kill $PID $ATSPI $XVFB 2>/dev/null || true; rm -rf "$WORK"' EXIT
    printf 'Съешь же ещё этих мягких французских булок,\r\nда выпей чаю. Ёлка!' |
        iconv -f UTF-8 -t CP1251 >"$WORK/source.txt"
    printf 'Лъевь хе ебё экиж рячтиж змапдуфлтиж щусот,\r\nца шыней гаю. Ёста!\r\n' |
        iconv -f UTF-8 -t CP1251 >"$WORK/expected.txt"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" 2>/dev/null &
    XVFB=$!
    wait_for test -s "$WORK/display"
    export DISPLAY=":$(cat "$WORK/display")"
}

# The program's shown windows; its popups are named after the executable.
windows() { xdotool search --all --onlyvisible --pid "$PID" 2>/dev/null || true; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q "Map State: IsViewable"; }
main_alone() { [ "$(windows)" = "$MAIN" ]; }
# Prints the first shown window named $1 other than the main window.
window() {
    for id in $(windows); do
        [ "$id" != "$MAIN" ] && [ "$(xdotool getwindowname "$id")" = "$1" ] && echo "$id" && return
    done
    return 1
}
# Without a window manager the keyboard goes nowhere by itself: hand it over
# as a click on the title bar would.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
focus() { xdotool windowfocus "$1" && wait_for focused "$1"; }
take() { W=$(wait_for window "$1") && focus "$W"; }

# Waits for the main window; its client area is 465 pixels high under the menu bar.
main_window() {
    MAIN=$(wait_for window "Вельтор")
    eval "$(xdotool getwindowgeometry --shell "$MAIN" | grep '^HEIGHT=')"
    MENU_HEIGHT=$((HEIGHT - 465))
}
click() { xdotool mousemove --window "$MAIN" "$1" $((MENU_HEIGHT + $2)) click 1; }
# Opens the first menu with a click and presses the keys "$@" in it.
menu() {
    xdotool mousemove --window "$MAIN" 20 $((MENU_HEIGHT / 2)) click 1
    wait_for window veltor >/dev/null
    xdotool key "$@"
}

clipboard_is() { [ "$(timeout 2 xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
set_clipboard() { printf '%s' "$1" | xclip -selection clipboard -i &>/dev/null && wait_for clipboard_is "$1"; }
# Enters path $2 in the file dialog titled $1 and waits for its completion
# list to go too: while that is up it takes the next click.
file_dialog() {
    take "$1"
    set_clipboard "$2"
    xdotool key ctrl+a ctrl+v Return
    wait_for main_alone
}

atspi() { /usr/bin/python3 "$E2E_DIR/atspi.py" "$@"; }
# Expects a screen reader to read the lines $1 among the program's windows.
reads() {
    local view
    view=$(wait_for atspi read)
    [[ "$view" == *"$1"* ]] || fail "a screen reader reads:"$'\n'"$view"$'\n'"expected:"$'\n'"$1"
}
# Waits for the box titled Вельтор, expects a screen reader, where one listens
# (not under Wine), to read it as $1 with the buttons $2 (default: OK), and
# presses its default button with Return.
notice() {
    take "Вельтор"
    [ -z "$ATSPI" ] || reads "alert «Вельтор»"$'\n'"  label «$1»$(printf '\n  push button «%s»' ${2:-OK})"
    xdotool key Return
    wait_for not viewable "$W"
}
