"""Drives the program through AT-SPI as a screen reader's user does: a text inserted into «Оригинал»
is coded to the end, a second run is stopped half-way with «Да», and Файл → Выход ends the program.
Meanwhile it listens as a reader does: the count in the status bar is heard at most once a frame,
and the last count always."""
import sys
import time

import pyatspi
from gi.repository import GLib

STATUS = "Длина обработанного участка:"
FRAME = 0.016  # seconds
SOURCE = "Съешь же ещё этих мягких французских булок,\nда выпей чаю. Ёлка!"
CODED = "Лъевь хе ебё экиж рячтиж змапдуфлтиж щусот,\nца шыней гаю. Ёста!"

heard = []  # when the program told a reader something, and what


def hear(event):
    changed = event.any_data if event.type.startswith("object:text-changed") else event.source.name
    heard.append((time.monotonic(), str(changed)))


def counts():
    return [(when, said) for when, said in heard if said.startswith(STATUS)]


def wait_for(what, found):
    """What found() returns once it is something, asked every 0.1 s for at most 20 s, hearing
    meanwhile what the program says."""
    for _ in range(200):
        try:
            if result := found():
                return result
        except Exception:  # an object gone meanwhile
            pass
        deadline = time.monotonic() + 0.1
        while time.monotonic() < deadline:
            GLib.MainContext.default().iteration(False) or time.sleep(0.005)
    sys.exit(f"FAIL: gave up waiting for {what}")


def find(role, name, root=None):
    return pyatspi.findDescendant(root or app, lambda a: a.getRole() == role and a.name == name)


def press(control):
    control.queryAction().doAction(0)  # Press; on a menu bar's item ShowMenu


def answer(text, button):
    box = wait_for(f"«{text}»", lambda: find(pyatspi.ROLE_LABEL, text).parent)
    press(find(pyatspi.ROLE_PUSH_BUTTON, button, box))
    wait_for(f"«{text}» to close", lambda: not find(pyatspi.ROLE_LABEL, text))


def coded(stop):
    knop = find(pyatspi.ROLE_PUSH_BUTTON, "Кодировать/ Декодировать")
    heard.clear()
    start = time.monotonic()
    press(knop)
    if stop:
        wait_for("the run to start", lambda: not knop.getState().contains(pyatspi.STATE_ENABLED))
        press(find(pyatspi.ROLE_PUSH_BUTTON, "Остановить"))
        answer("Вы уверены, что хотите остановить процесс?!", "Да")
    answer("Обработка завершена!", "OK")
    result = find(pyatspi.ROLE_TEXT, "Обработанный текст").queryText()
    shown = pyatspi.findDescendant(app, lambda a: a.name.startswith(STATUS)).name
    wait_for(f"«{shown}» heard", lambda: counts() and counts()[-1][1] == shown)
    # Counts told a frame apart or more; the reader hears them all within its own span.
    if len(counts()) > (counts()[-1][0] - start) / FRAME + 2:
        sys.exit(f"FAIL: {len(counts())} counts heard in {counts()[-1][0] - start:.3f} s")
    return result.getText(0, result.characterCount)


for kind in ("object:property-change:accessible-name", "object:text-changed:insert"):
    pyatspi.Registry.registerEventListener(hear, kind)
print("listening", flush=True)
app = wait_for("the program", lambda: [a for a in pyatspi.Registry.getDesktop(0) if a.name == "veltor"][0])
source = wait_for("its window", lambda: find(pyatspi.ROLE_TEXT, "Оригинал")).queryEditableText()


def told():
    """Whether the program has told of the source text, set again until it knows a reader listens."""
    if not heard:
        source.setTextContents(SOURCE)
    return heard


wait_for("the program to tell a reader of the text", told)
if (result := coded(stop=False)) != CODED:
    sys.exit(f"FAIL: coded as {result!r}")
source.insertText(0, SOURCE * 2000, len(SOURCE) * 2000)
result = coded(stop=True)
if not 0 < len(result) < len(SOURCE) * 2001 or result != (CODED * 2001)[: len(result)]:
    sys.exit(f"FAIL: stopped with {len(result)} characters, ending {result[-70:]!r}")
press(find(pyatspi.ROLE_MENU_ITEM, "Файл"))
press(find(pyatspi.ROLE_MENU_ITEM, "Выход"))
