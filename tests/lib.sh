# Shared by the end-to-end tests on Linux and under Wine: an X server or a Wayland compositor of
# their own, and the program's windows as a user meets them. Sourced; the caller sets PID to the program.

PID="" XVFB="" MAIN=""

need() { for tool; do command -v "$tool" >/dev/null || { echo "SKIPPED: no $tool (scripts/test installs it)" && exit 77; }; done; }
fail() {
    echo "FAIL: $*" >&2
    [ -z "$MAIN" ] || echo "  windows shown: $(windows | xargs -rn1 xdotool getwindowname | paste -sd,)" >&2
    exit 1
}
step() { echo "--- $*"; }
not() { ! "$@"; }
# Runs "$@" every 0.1 s until it succeeds, for at most 10 s, and prints what it printed.
wait_for() {
    for _ in {1..100}; do "$@" && return || sleep 0.1; done
    fail "gave up waiting for: $*"
}

# Makes an empty folder WORK the current one and starts Xvfb without resets: one could
# take it away between two clients.
begin() {
    WORK="$(mktemp -d)"
    trap 'kill $PID $XVFB 2>/dev/null || true; rm -rf "$WORK"' EXIT
    cd "$WORK"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>display 2>/dev/null &
    XVFB=$!
    wait_for test -s display
    export DISPLAY=":$(cat display)"
}

# Starts Debian's weston with its headless backend and pixman renderer in XDG_RUNTIME_DIR, "$@" its
# further options; sets WESTON to it, WAYLAND to its socket and, with --xwayland, XWAYLAND to the X
# display its XWayland serves (started for the first X client).
begin_weston() {
    mkdir -p -m 1777 /tmp/.X11-unix # where XWayland listens; the first X server makes it
    weston --backend=headless-backend.so --use-pixman --idle-time=0 --no-config --socket=weston-veltor \
        --log="$XDG_RUNTIME_DIR/weston.log" "$@" &
    WESTON=$! WAYLAND=weston-veltor XWAYLAND=""
    wait_for test -S "$XDG_RUNTIME_DIR/$WAYLAND"
    [[ " $* " != *" --xwayland "* ]] ||
        XWAYLAND=$(wait_for grep -oP 'xserver listening on display \K:\d+' "$XDG_RUNTIME_DIR/weston.log")
}

# The program's shown windows, and the first one titled $1 other than the main window.
windows() { xdotool search --all --onlyvisible --pid "$PID" "$@" 2>/dev/null || true; }
window() { windows --name "^$1\$" | grep -vxm1 "$MAIN"; }
main_alone() { [ "$(windows)" = "$MAIN" ]; }
# Without a window manager the keyboard goes where it is sent.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
focus() { xdotool windowfocus "$1" && wait_for focused "$1"; }
take() { W=$(wait_for window "$1") && focus "$W"; }

# Waits for the main window; its client area is 465 pixels high under the menu bar.
main_window() {
    MAIN=$(wait_for window "Вельтор")
    MENU_HEIGHT=$(($(xdotool getwindowgeometry --shell "$MAIN" | sed -n 's/^HEIGHT=//p') - 465))
}
click() { xdotool mousemove --window "$MAIN" "$1" $((MENU_HEIGHT + $2)) click 1; }
# Opens the first menu with a click and presses the keys "$@" in it.
menu() {
    xdotool mousemove --window "$MAIN" 20 $((MENU_HEIGHT / 2)) click 1
    wait_for not main_alone
    xdotool key "$@"
}

# The clipboard, and the boxes as their Ctrl+C copies them.
clipboard_is() { [ "$(timeout 2 xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
set_clipboard() { printf '%s' "$1" | xclip -selection clipboard -i &>/dev/null && wait_for clipboard_is "$1"; }
gone() { [[ " $(windows | xargs) " != *" $1 "* ]]; }
# Expects the next box to say $1 with the buttons $2 (default: OK), and presses the default one.
notice() {
    take "Вельтор"
    xdotool key ctrl+c
    local line=---------------------------
    wait_for clipboard_is "$(printf '%s\n' $line Вельтор $line "$1" $line "$(printf '%s   ' ${2:-OK})" $line)"
    xdotool key Return
    wait_for gone "$W"
}
