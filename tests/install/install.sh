#!/usr/bin/env bash
# Usage: install.sh PATH/TO/cmake BUILD-DIR. Installs the build into a scratch
# root and checks the program, its icons, its desktop entry and its metainfo there.
set -euo pipefail

for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null ||
        { echo "SKIPPED: no $tool (scripts/test installs it)" && exit 77; } # 77: "skipped"
done
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
[ "$(value Exec)" = "veltor %f" ] || fail "Exec=$(value Exec) does not take the file opened with it"
[ -x "$PREFIX/bin/veltor" ] || fail "bin/veltor is not an installed program"
if ldd "$PREFIX/bin/veltor" | grep "not found"; then fail "libraries are missing"; fi
[ "$(value MimeType)" = "text/plain;" ] || fail "the entry is not offered for text files"
metainfo=$(echo "$PREFIX"/share/metainfo/*.metainfo.xml)
[ -f "$metainfo" ] || fail "no metainfo in share/metainfo"
complaints=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $complaints"
grep -q "<launchable type=\"desktop-id\">veltor.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch veltor.desktop"
grep -q "<image>https://.*/screenshot.png</image>" "$metainfo" || fail "the metainfo has no screenshot"
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
