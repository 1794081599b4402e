"""Drives the program through AT-SPI as a screen reader's user does: a text inserted into «Оригинал»
is coded to the end, a second run is stopped half-way with «Да», and Файл → Выход ends the program."""
import sys
import time

import pyatspi

SOURCE = "Съешь же ещё этих мягких французских булок,\nда выпей чаю. Ёлка!"
CODED = "Лъевь хе ебё экиж рячтиж змапдуфлтиж щусот,\nца шыней гаю. Ёста!"


def wait_for(what, found):
    """What found() returns once it is something, asked every 0.1 s for at most 20 s."""
    for _ in range(200):
        try:
            if result := found():
                return result
        except Exception:  # an object gone meanwhile
            pass
        time.sleep(0.1)
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
    press(knop)
    if stop:
        wait_for("the run to start", lambda: not knop.getState().contains(pyatspi.STATE_ENABLED))
        press(find(pyatspi.ROLE_PUSH_BUTTON, "Остановить"))
        answer("Вы уверены, что хотите остановить процесс?!", "Да")
    answer("Обработка завершена!", "OK")
    result = find(pyatspi.ROLE_TEXT, "Обработанный текст").queryText()
    return result.getText(0, result.characterCount)


app = wait_for("the program", lambda: [a for a in pyatspi.Registry.getDesktop(0) if a.name == "veltor"][0])
source = wait_for("its window", lambda: find(pyatspi.ROLE_TEXT, "Оригинал")).queryEditableText()
source.insertText(0, SOURCE, len(SOURCE))
if (result := coded(stop=False)) != CODED:
    sys.exit(f"FAIL: coded as {result!r}")
source.insertText(0, SOURCE * 2000, len(SOURCE) * 2000)
result = coded(stop=True)
if not 0 < len(result) < len(SOURCE) * 2001 or result != (CODED * 2001)[: len(result)]:
    sys.exit(f"FAIL: stopped with {len(result)} characters, ending {result[-70:]!r}")
press(find(pyatspi.ROLE_MENU_ITEM, "Файл"))
press(find(pyatspi.ROLE_MENU_ITEM, "Выход"))
