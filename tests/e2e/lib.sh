# Shared by the end-to-end tests: a virtual X server of their own, waiting,
# finding and focusing windows, the clipboard, and the program's boxes and
# dialogs as a user meets them. Sourced, not run; the caller sets PID to the
# program's process once it has started it.

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
WORK="$(mktemp -d)"
PID="" XVFB="" ATSPI="" MAIN=""
trap 'kill $PID $ATSPI $XVFB 2>/dev/null || true; rm -rf "$WORK"' EXIT

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

# The program's windows and controls as a screen reader meets them (atspi.py).
atspi() { /usr/bin/python3 "$E2E_DIR/atspi.py" "$@"; }
# Expects the screen reader's view to hold the lines $1.
reads() {
    local view
    view=$(atspi read) || fail "the accessibility tree cannot be read"
    [[ "$view" == *"$1"* ]] || fail "a screen reader reads:"$'\n'"$view"$'\n'"expected:"$'\n'"$1"
}

# Reads the box titled Вельтор as a user can (Ctrl+C) and as a screen reader
# does, expects it to say $1 with the buttons $2 (default: OK), and answers it
# with Return, which presses its default button.
notice() {
    local copied line=--------------------------- button said="" pressable=""
    take "Вельтор"
    for button in ${2:-OK}; do
        said+=$'\n'"  push button «$button»"
        pressable+="$button   "
    done
    # A screen reader reads it too, where one listens (not under Wine).
    [ -z "$ATSPI" ] || reads "$(printf 'alert «Вельтор»\n  label «%s»' "$1")$said"
    copied=$(copy)
    [ "$copied" = "$(printf "%s\n" "$line" Вельтор "$line" "$1" "$line" "$pressable" "$line")" ] ||
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

# Starts the accessibility bus, where the program and screen readers meet,
# with the caller's environment.
start_atspi() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    ATSPI=$!
}

# Starts Xvfb, which picks a free display and writes it once it accepts
# clients; it never resets, as a reset when a client leaves may take the
# server away before the next one connects. Exports DISPLAY.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" 2>"$WORK/xvfb.log" &
    XVFB=$!
    wait_for test -s "$WORK/display"
    DISPLAY=":$(cat "$WORK/display")"
    export DISPLAY
}

# The menu bar's height: the client area starts with a black line across its
# whole width, under a menu bar that is not black. Fails while the window
# is not drawn yet (all black).
menu_height() {
    sort -n <(black_rows 4) <(black_rows 284) <(black_rows 564) | uniq -c |
        awk '$1 == 3 && found == "" { found = $2 } END { if (found == "" || found == 0) exit 1; print found }'
}
# Sets WIDTH and HEIGHT to the main window's size and MENU_HEIGHT to the menu bar's.
measure_main() {
    eval "$(xdotool getwindowgeometry --shell "$MAIN" | grep -E '^(WIDTH|HEIGHT)=')"
    MENU_HEIGHT=$(wait_for menu_height)
}
