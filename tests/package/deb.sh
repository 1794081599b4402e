#!/usr/bin/env bash
# Usage: deb.sh PACKAGES-FOLDER. Checks the Debian package there; as root, installs it, meets the
# program's Yes/No box on Xvfb, and purges it.
set -euo pipefail

source "$(dirname "$0")/../lib.sh"
need lintian dpkg-deb apt-get
DEB="$(realpath "$1"/veltor_*.deb)"

step "lintian: no error, no warning; the program, its icons, menu entry, metainfo, manual page and copyright"
lintian --fail-on error,warning "$DEB" 2>/dev/null || fail "lintian"
FILES=$(echo /usr/bin/veltor /usr/share/{man/man1/veltor.1.gz,applications/veltor.desktop,metainfo/org.example.veltor.metainfo.xml,\
doc/veltor/{copyright,changelog.gz},icons/hicolor/{{16x16,32x32,48x48}/apps/veltor.png,scalable/apps/veltor.svg}})
contents=$(dpkg-deb --contents "$DEB" | awk '!/\/$/ {print substr($6, 2)}' | sort)
[ "$contents" = "$(tr ' ' '\n' <<<"$FILES" | sort)" ] || fail "the package holds:"$'\n'"$contents"

((EUID == 0)) || { apt-get install --simulate "$DEB" >/dev/null; echo "SKIPPED: installing it needs root"; echo PASS; exit; }
step "apt-get install; /usr/bin/veltor asks in Russian: Да, Нет"
need Xvfb xdotool xclip iconv
apt() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 -y -qq "$@" >/dev/null; }
apt install "$DEB"
begin
export XDG_RUNTIME_DIR="$WORK" XDG_CONFIG_HOME="$WORK" QT_QPA_PLATFORM=xcb
printf 'Привет мир%.0s' $(seq 2000) | iconv -t CP1251 >long.txt # a run long enough to stop
/usr/bin/veltor long.txt &
PID=$!
main_window
focus "$MAIN"
xdotool key Return # Knop
click 60 372       # Command3
notice "Вы уверены, что хотите остановить процесс?!" "Да Нет"

step "apt-get purge leaves nothing behind"
apt purge veltor
for file in $FILES /usr/share/doc/veltor; do [ ! -e "$file" ] || fail "$file is left"; done
echo "PASS"
