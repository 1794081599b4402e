#!/usr/bin/env bash
# Usage: wayland.sh PATH/TO/veltor. The program as a Wayland desktop starts it, under a headless weston
# of its own: with XWayland offered, where it shows its window through X11, and natively. Driven through
# AT-SPI on a session bus of its own, as a screen reader's user drives it (screenreader.py).
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
need weston Xwayland xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher
/usr/bin/python3 -c "import pyatspi" 2>/dev/null && compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-*" >/dev/null ||
    { echo "SKIPPED: no python3-pyatspi or qt6-wayland (scripts/test installs them)" && exit 77; }
[ -n "${OWN_BUS:-}" ] || OWN_BUS=1 exec dbus-run-session -- "$0" "$@"
VELTOR="$(realpath "$1")" WORK="$(mktemp -d)" WESTON="" READER=""
trap 'kill $PID $READER $WESTON 2>/dev/null || true; rm -rf "$WORK"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$WORK" XDG_CONFIG_HOME="$WORK" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

for offered in --xwayland ""; do
    step "weston ${offered:-without XWayland}: a text inserted and coded, a run stopped half-way, Файл → Выход"
    begin_weston $offered
    # The reader listens before the program starts, as a screen reader does.
    /usr/bin/python3 "$(dirname "$0")/screenreader.py" >"$WORK/reader" &
    READER=$!
    wait_for grep -q listening "$WORK/reader"
    env WAYLAND_DISPLAY="$WAYLAND" ${XWAYLAND:+DISPLAY="$XWAYLAND"} "$VELTOR" &
    PID=$!
    [ -z "$XWAYLAND" ] || DISPLAY="$XWAYLAND" wait_for window "Вельтор" >/dev/null # shown through X11
    wait "$READER" || fail "as screenreader.py says"
    wait_for not kill -0 "$PID"
    wait "$PID" || fail "it ended with status $?"
    kill "$WESTON" && wait "$WESTON" || true
done
echo PASS
