#!/usr/bin/env bash
# Usage: install.sh PATH/TO/cmake BUILD-DIR. Installs the build into a scratch
# root and checks the program, its desktop entry, its metainfo and its icons there.
set -euo pipefail

source "$(dirname "$0")/../e2e/lib.sh"
need desktop-file-validate appstreamcli
ROOT="$(mktemp -d)"
trap 'rm -rf "$ROOT"' EXIT
DESTDIR="$ROOT" "$1" --install "$2" --prefix /usr >/dev/null
cd "$ROOT/usr"

[ -x bin/veltor ] || fail "bin/veltor is not an installed program"
if ldd bin/veltor | grep "not found"; then fail "libraries are missing"; fi
# A hint is what tells that menus would hide the program in a catch-all section.
complaints=$(desktop-file-validate share/applications/veltor.desktop 2>&1) || true
[ -z "$complaints" ] || fail "desktop-file-validate: $complaints"
grep -qx "Exec=veltor %f" share/applications/veltor.desktop || fail "Exec does not take the file opened with it"
grep -qx "MimeType=text/plain;" share/applications/veltor.desktop || fail "the entry is not offered for text files"
complaints=$(appstreamcli validate --no-net share/metainfo/*.metainfo.xml 2>&1) ||
    fail "appstreamcli validate: $complaints"
for size in 16 32 48; do
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    [ "$(od -An -tu4 --endian=big -j16 -N8 "share/icons/hicolor/${size}x$size/apps/veltor.png" | xargs)" = "$size $size" ] ||
        fail "no ${size}x$size icon"
done
[ -f share/icons/hicolor/scalable/apps/veltor.svg ] || fail "no scalable icon"
echo "PASS"
