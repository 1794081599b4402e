#!/usr/bin/env bash
# Usage: install.sh PATH/TO/cmake BUILD-DIR. Installs the build into a scratch
# root and checks the program, its menu entry, its metainfo and its icons there.
set -euo pipefail

source "$(dirname "$0")/../lib.sh"
need desktop-file-validate appstreamcli
ROOT="$(mktemp -d)"
trap 'rm -rf "$ROOT"' EXIT
DESTDIR="$ROOT" "$1" --install "$2" --prefix /usr >/dev/null
cd "$ROOT/usr"
[ -x bin/veltor ] && ! ldd bin/veltor | grep "not found" || fail "bin/veltor is missing or lacks libraries"
entry=share/applications/veltor.desktop
# Hints count too: one tells that menus would hide the program in a catch-all section.
complaints=$(desktop-file-validate $entry 2>&1) && [ -z "$complaints" ] || fail "desktop-file-validate: $complaints"
for line in "Exec=veltor %f" "MimeType=text/plain;"; do grep -qx "$line" $entry || fail "no $line in the entry"; done
complaints=$(appstreamcli validate --no-net share/metainfo/*.metainfo.xml 2>&1) || fail "appstreamcli: $complaints"
for size in 16 32 48; do
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    [ "$(od -An -tu4 --endian=big -j16 -N8 share/icons/hicolor/${size}x$size/apps/veltor.png | xargs)" = "$size $size" ] ||
        fail "no ${size}x$size icon"
done
[ -f share/icons/hicolor/scalable/apps/veltor.svg ] || fail "no scalable icon"
echo "PASS"
