#!/usr/bin/env bash
# Usage: install.sh PATH/TO/cmake BUILD-DIR. Installs the build into a scratch
# root and checks the program, its icons and its desktop entry there.
set -euo pipefail

if ! command -v desktop-file-validate >/dev/null; then
    echo "SKIPPED: desktop-file-validate is not installed (scripts/test installs it)"
    exit 77 # what CTest is told means "skipped"
fi
ROOT="$(mktemp -d)"
trap 'rm -rf "$ROOT"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$ROOT" "$1" --install "$2" --prefix /usr >/dev/null
PREFIX="$ROOT/usr"
entry="$PREFIX/share/applications/veltor.desktop"
[ -f "$entry" ] || fail "no desktop entry at share/applications/veltor.desktop"
# A hint is what tells that menus would hide the program in a catch-all section.
complaints=$(desktop-file-validate "$entry" 2>&1) || true
[ -z "$complaints" ] || fail "desktop-file-validate: $complaints"
value() { sed -n "s/^$1=//p" "$entry"; }
[ "$(value Name)" = "Вельтор" ] || fail "the entry is named «$(value Name)»"
[ -x "$PREFIX/bin/$(value Exec)" ] || fail "Exec=$(value Exec) is not an installed program"
if ldd "$PREFIX/bin/$(value Exec)" | grep "not found"; then fail "libraries are missing"; fi
for size in 16 32 48; do
    icon="$PREFIX/share/icons/hicolor/${size}x$size/apps/$(value Icon).png"
    [ -f "$icon" ] || fail "Icon=$(value Icon) but there is no ${icon#"$PREFIX"/}"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    [ "$(od -An -tu4 --endian=big -j16 -N8 "$icon" | xargs)" = "$size $size" ] ||
        fail "${icon#"$PREFIX"/} is not ${size}x$size"
done
svg="$PREFIX/share/icons/hicolor/scalable/apps/$(value Icon).svg"
grep -q "<svg " "$svg" || fail "no scalable icon at ${svg#"$PREFIX"/}"
echo "PASS"
