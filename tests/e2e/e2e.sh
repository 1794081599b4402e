#!/usr/bin/env bash
# Usage: e2e.sh PATH/TO/veltor. Drives the program on Xvfb as a user does (Cyrillic through the
# clipboard), and reads it as a screen reader does, through AT-SPI on a D-Bus session of its own.
set -euo pipefail

source "$(dirname "$0")/lib.sh"
need Xvfb xdotool xclip iconv dbus-run-session /usr/libexec/at-spi-bus-launcher
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || need python3-pyatspi
[ -n "${VELTOR_E2E_BUS:-}" ] || VELTOR_E2E_BUS=1 exec dbus-run-session -- "$0" "$@"

VELTOR="$(realpath "$1")"
begin
export XDG_RUNTIME_DIR="$WORK" XDG_CONFIG_HOME="$WORK" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/libexec/at-spi-bus-launcher --launch-immediately &
ATSPI=$!
"$VELTOR" "$WORK/source.txt" & # "Open with"
PID=$!
main_window

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

step "Return on the focused Knop codes the file named on the command line; the result is saved"
focus "$MAIN"
xdotool key Return
notice "Обработка завершена!"
click 60 340 # Command1
file_dialog "Сохранить как" "$WORK/saved.txt"
wait_for cmp -s saved.txt expected.txt

paste_source() { # "Привет мир" $1 times
    set_clipboard "$(printf 'Привет мир%.0s' $(seq "$1"))"
    click 140 150
    focus "$MAIN"
    xdotool key ctrl+a ctrl+v
}

step "a screen reader hears the status bar count to 5,000, once a frame, in more than 5 steps"
paste_source 500
/usr/bin/python3 "$E2E_DIR/atspi.py" counts 5000 5 >counts.txt &
watcher=$!
wait_for grep -q watching counts.txt
click 188 308 # Knop
notice "Обработка завершена!"
wait $watcher || fail "the status bar read $(xargs <counts.txt)"

step "the stop button, clicked right after Knop on 20,000 characters, asks during the run"
paste_source 2000
click 188 308 # Knop
click 60 372  # Command3
notice "Вы уверены, что хотите остановить процесс?!" "Да Нет"
notice "Обработка завершена!"

step "Файл → Выход ends the program"
menu Up Return
wait "$PID" || fail "exit status $?"
PID=""
echo "PASS"
