#!/usr/bin/env bash
# Usage: e2e.sh PATH/TO/veltor. Drives the program on a virtual X server as a
# user does: clicks and keys through xdotool, text through the clipboard
# (xdotool cannot type Cyrillic), window names, a screenshot, files on disk;
# and reads it as a screen reader does, through AT-SPI on a D-Bus session of
# its own. VELTOR_E2E_SCREENSHOT=FILE.png also saves the window after the
# file's run.
set -euo pipefail

for tool in Xvfb xdotool xclip xwininfo import iconv dbus-run-session \
    /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: no $tool (scripts/test installs it)" && exit 77; }
done
/usr/bin/python3 -c "import pyatspi" 2>/dev/null ||
    { echo "SKIPPED: no python3-pyatspi (scripts/test installs it)" && exit 77; }
# The program and the screen reader meet on a session bus of their own.
[ -n "${VELTOR_E2E_BUS:-}" ] || VELTOR_E2E_BUS=1 exec dbus-run-session -- "$0" "$@"

VELTOR="$(realpath "$1")"
source "$(dirname "$0")/lib.sh"
start_xvfb

cd "$WORK"
mkdir -m 700 runtime config
export XDG_RUNTIME_DIR="$WORK/runtime" XDG_CONFIG_HOME="$WORK/config" QT_QPA_PLATFORM=xcb \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_atspi
printf 'Съешь же ещё этих мягких французских булок,\r\nда выпей чаю. Ёлка!' |
    iconv -f UTF-8 -t CP1251 >source.txt
printf 'Лъевь хе ебё экиж рячтиж змапдуфлтиж щусот,\r\nца шыней гаю. Ёста!\r\n' |
    iconv -f UTF-8 -t CP1251 >expected.txt
"$VELTOR" "$WORK/source.txt" & # "Open with"
PID=$!
MAIN=$(wait_for window "Вельтор")

step "the client area is 569 x 465 under the menu bar"
measure_main
[ "$WIDTH" -eq 569 ] || fail "width $WIDTH"
[ $((HEIGHT - MENU_HEIGHT)) -eq 465 ] || fail "height $HEIGHT - menu bar $MENU_HEIGHT"

step "a screen reader names every control and ties the boxes to their captions"
reads "frame «Вельтор»
  label «Оригинал»
  label «Обработанный текст»
  text «Оригинал» labelled by «Оригинал»
  text «Обработанный текст» labelled by «Обработанный текст»
  push button «Открыть»
  push button «Кодировать/ Декодировать»
  push button «Сохранить»
  label «Размер текста в символах:»
  push button «Остановить» (Прерывает обработку текста)
  progress bar «Ход обработки»
  status bar «Разделитель»
  status bar «Длина обработанного участка:»"

step "Return on the focused Knop codes the file named on the command line"
focus "$MAIN"
xdotool key Return
notice "Обработка завершена!"
[ -z "${VELTOR_E2E_SCREENSHOT:-}" ] || import -window "$MAIN" "$VELTOR_E2E_SCREENSHOT"
click 60 340 # Command1
file_dialog "Сохранить как" "$WORK/saved.txt"
wait_for test -s saved.txt
cmp saved.txt expected.txt || fail "saved.txt holds $(od -An -tx1 saved.txt | head -c 300)"

step "an empty file opened with «Открыть» leaves nothing to code"
: >empty.txt
click 60 308 # Command2
file_dialog "Открыть" "$WORK/empty.txt"
click 188 308 # Knop
notice "Введите текст в поле Оригинал!"

step "pasted text is coded into the right box"
set_clipboard "Привет, мир!"
click 140 150
focus "$MAIN"
xdotool key ctrl+v
click 188 308 # Knop
notice "Обработка завершена!"
click 425 150
focus "$MAIN"
xdotool key ctrl+a
result=$(copy)
[ "$result" = "Нмишек, рим!" ] || fail "the right box holds «$result»"

step "About: its title, and the system information fallback"
menu_item 2 1 1 # Справка → О программе
take "About Вельтор"
about=$W
xdotool key alt+s
notice "System Information Is Unavailable At This Time"
focus "$about"
xdotool key Escape
wait_for not viewable "$about"

step "a screen reader hears the count grow in the status bar during a run"
set_clipboard "$(printf 'Привет мир%.0s' {1..500})" # 5,000 characters
click 140 150
focus "$MAIN"
xdotool key ctrl+a ctrl+v
atspi counts 5000 >counts.txt &
watcher=$!
wait_for grep -q watching counts.txt
click 188 308 # Knop
notice "Обработка завершена!"
wait $watcher || fail "the status bar never read 5000"
# Twenty on the way, and 5000 at the end.
counts=$(grep -c '^[0-9]' counts.txt)
[ "$counts" -gt 20 ] || fail "the status bar read $counts counts: $(grep '^[0-9]' counts.txt | xargs)"

step "the stop button, clicked right after Knop on 20,000 characters, asks during the run"
set_clipboard "$(printf 'Привет мир%.0s' {1..2000})"
click 140 150
focus "$MAIN"
xdotool key ctrl+a ctrl+v
click 188 308 # Knop
click 60 372  # Command3
notice "Вы уверены, что хотите остановить процесс?!" "Да Нет"
notice "Обработка завершена!"
count=$(atspi read | sed -n 's/.*status bar «Длина обработанного участка: \([0-9]*\)».*/\1/p')
[ "${count:-20000}" -lt 20000 ] || fail "the run was not stopped: «$count»"

step "Файл → Выход ends the program"
menu_item 1 5 5 # Файл → Выход
wait_for ended
wait "$PID" || fail "exit status $?"
PID=""
echo "PASS"
