#!/usr/bin/env bash
# Usage: app.sh PATH/TO/veltor. From the project's folder: the command line, which needs no display;
# scripts/run without a display, then the command it advises, as a newcomer runs them; then the
# program on that display, driven as a user drives it, its boxes read as their Ctrl+C copies them.
set -euo pipefail
source "$(dirname "$0")/../lib.sh"
need xvfb-run xdotool xclip iconv
VELTOR="$(realpath "$1")" WORK="$(mktemp -d)" SESSION=""
trap '[ -z "$SESSION" ] || kill -- -"$SESSION" 2>/dev/null; rm -rf "$WORK"' EXIT
cd "$(dirname "$0")/../.."
unset DISPLAY WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="$WORK" XDG_CONFIG_HOME="$WORK" QT_QPA_PLATFORM=xcb

step "the command line: help, version and the filter on stdout; a mistake, or no display, said on stderr"
printf 'Привет, мир!\r\n' | iconv -f UTF-8 -t CP1251 >"$WORK/cp1251.txt"
{ printf '\xfe\xff' && printf 'Привет, мир!\r\n' | iconv -f UTF-8 -t UTF-16BE; } >"$WORK/utf16.txt"
printf "$(printf '\\%03o' {0..255})" >"$WORK/bytes"
# Every byte of Windows-1251 stays as it is but for the twenty consonants of each case, which swap.
in_cp1251() { iconv -t CP1251 <<<"$1" | head -c 40; }
LC_ALL=C tr "$(in_cp1251 бвгджзклмнпрстфхцчшщБВГДЖЗКЛМНПРСТФХЦЧШЩ)" \
    "$(in_cp1251 щшчцхфтсрпнмлкзждгвбЩШЧЦХФТСРПНМЛКЗЖДГВБ)" <"$WORK/bytes" >"$WORK/swapped"
# Each row: the status, the stream that is written (the other stays empty), what it says, and the
# arguments, which run in the shell.
while IFS='|' read -r status stream expected arguments; do
    code=0 && eval "\"\$VELTOR\" $arguments" >"$WORK/1" 2>"$WORK/2" </dev/null || code=$?
    [ "$code" = "$status" ] && [ ! -s "$WORK/$((3 - stream))" ] && grep -q "$expected" "$WORK/$stream" ||
        fail "veltor $arguments: status $code, printed: $(cat "$WORK"/[12])"
done <<'TABLE'
0|1|^Использование: .* \[файл\]$|--help
0|1|^Вельтор 1\.0\.0$|--version
2|2|один файл|a.txt b.txt
2|2|«--frobnicate»|--frobnicate
2|2|«-platform»\.$|-platform offscreen
2|2|^Чтобы открыть файл «-x», напишите: veltor -- -x$|-x
1|2|^veltor: не найден дисплей.*не заданы ни DISPLAY|a.txt
1|2|Нет свободного места|--version >/dev/full
0|1|^Нмишек, рим!|--swap <"$WORK/cp1251.txt" | iconv -f CP1251 -t UTF-8
0|1|^Нмишек, рим!|--swap "$WORK/utf16.txt" | iconv -f UTF-16 -t UTF-8
0|1|^same$|--swap "$WORK/bytes" | cmp - "$WORK/swapped" && echo same
1|2|Нет свободного места|--swap "$WORK/bytes" >/dev/full
1|2|«nosuch.txt»: Нет такого файла|--swap nosuch.txt
TABLE

step "without a display scripts/run fails and advises a command that shows the window"
not scripts/run -- -reverse >/dev/null 2>"$WORK/advice" || fail "scripts/run ended with status 0"
advice="$(tail -n1 "$WORK/advice")"
[[ "$advice" == *"xvfb-run -a scripts/run -- -reverse" ]] || fail "scripts/run advised: $(cat "$WORK/advice")"
setsid bash -c "$advice" >"$WORK/log" 2>&1 &
SESSION=$!
# Runs "$@" until it succeeds while the command lives: it builds first, and the machine may be busy.
while_alive() { until "$@"; do kill -0 "$SESSION" 2>/dev/null || fail "it ended:$(cat "$WORK/log")"; sleep 0.1; done; }
PID=$(while_alive pgrep -s "$SESSION" -x veltor)
export $(tr '\0' '\n' <"/proc/$PID/environ" | grep -E '^(DISPLAY|XAUTHORITY)=')
while_alive window "Вельтор" >/dev/null
main_window

step "a file named like a Qt option, after «--»: a box over the window says it cannot be opened"
# Had Qt taken -reverse, the menu bar would start at the right, and Файл → Выход below would miss.
notice "Не удалось открыть файл «-reverse»:
Нет такого файла или каталога"

step "pasted text is coded and saved through the real file dialog in Windows-1251"
set_clipboard "$(printf 'Съешь же ещё этих мягких французских булок,\nда выпей чаю. Ёлка!')"
click 140 150 # T1
xdotool key ctrl+v
click 188 308 # Knop
notice "Обработка завершена!"
click 60 340 # Command1
take "Сохранить как"
set_clipboard "$WORK/saved.txt"
xdotool key ctrl+a ctrl+v Return
wait_for main_alone # the name box's completion list too
printf 'Лъевь хе ебё экиж рячтиж змапдуфлтиж щусот,\r\nца шыней гаю. Ёста!\r\n' | iconv -t CP1251 >"$WORK/expected.txt"
wait_for cmp -s "$WORK/saved.txt" "$WORK/expected.txt"

step "Файл → Выход ends the program with status 0"
menu Up Return || true # xdotool may outlive the server, which ends with the program
wait "$SESSION" || fail "the advised command ended with status $?"
