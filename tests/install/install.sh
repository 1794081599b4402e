#!/usr/bin/env bash
# Installs the build into a scratch root and checks what a desktop needs
# finds its place: the program, the icon in each size, and a valid desktop
# entry whose Exec and Icon name what was installed.
#
# Usage: install.sh PATH/TO/cmake BUILD-DIR
set -euo pipefail

readonly SKIP=77 # what CTest is told means "skipped"
if ! command -v desktop-file-validate >/dev/null; then
    echo "SKIPPED: desktop-file-validate is not installed (scripts/test installs it)"
    exit "$SKIP"
fi

CMAKE=$1
BUILD=$2
ROOT="$(mktemp -d)"
trap 'rm -rf "$ROOT"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR="$ROOT" "$CMAKE" --install "$BUILD" --prefix /usr >/dev/null
PREFIX="$ROOT/usr"

entry="$PREFIX/share/applications/veltor.desktop"
[ -f "$entry" ] || fail "no desktop entry at share/applications/veltor.desktop"
# Hints count too: one is what tells that menus would hide the program in a
# catch-all section.
complaints=$(desktop-file-validate "$entry" 2>&1) || true
[ -z "$complaints" ] || fail "desktop-file-validate: $complaints"
value() { sed -n "s/^$1=//p" "$entry"; }
[ "$(value Name)" = "Вельтор" ] || fail "the entry is named «$(value Name)»"

program="$PREFIX/bin/$(value Exec)"
[ -x "$program" ] || fail "Exec=$(value Exec) but bin/$(value Exec) is not an installed program"
if ldd "$program" | grep "not found"; then fail "the installed program misses libraries"; fi

# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*2^24+$2*2^16+$3*2^8+$4 "x" $5*2^24+$6*2^16+$7*2^8+$8 }'; }
for size in 16x16 32x32 48x48; do
    icon="$PREFIX/share/icons/hicolor/$size/apps/$(value Icon).png"
    [ -f "$icon" ] || fail "Icon=$(value Icon) but there is no ${icon#"$PREFIX"/}"
    [ "$(png_size "$icon")" = "$size" ] || fail "${icon#"$PREFIX"/} is $(png_size "$icon")"
done
echo "PASS"
