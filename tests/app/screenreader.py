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


def do(control, action):
    actions = control.queryAction()
    actions.doAction([actions.getName(i) for i in range(actions.nActions)].index(action))


def answer(text, button):
    box = wait_for(f"«{text}»", lambda: find(pyatspi.ROLE_LABEL, text).parent)
    do(find(pyatspi.ROLE_PUSH_BUTTON, button, box), "Press")
    wait_for(f"«{text}» to close", lambda: not find(pyatspi.ROLE_LABEL, text))


def run(stop):
    knop = find(pyatspi.ROLE_PUSH_BUTTON, "Кодировать/ Декодировать")
    do(knop, "Press")
    if stop:
        wait_for("the run to start", lambda: not knop.getState().contains(pyatspi.STATE_ENABLED))
        do(find(pyatspi.ROLE_PUSH_BUTTON, "Остановить"), "Press")
        answer("Вы уверены, что хотите остановить процесс?!", "Да")
    answer("Обработка завершена!", "OK")
    result = find(pyatspi.ROLE_TEXT, "Обработанный текст").queryText()
    return result.getText(0, result.characterCount)


app = wait_for("the program", lambda: [a for a in pyatspi.Registry.getDesktop(0) if a.name == "veltor"][0])
source = wait_for("its window", lambda: find(pyatspi.ROLE_TEXT, "Оригинал")).queryEditableText()
source.insertText(0, SOURCE, len(SOURCE))
if (coded := run(stop=False)) != CODED:
    sys.exit(f"FAIL: coded as {coded!r}")
source.insertText(0, SOURCE * 2000, len(SOURCE) * 2000)
stopped = run(stop=True)
if not 0 < len(stopped) < len(SOURCE) * 2001 or stopped != (CODED * 2001)[: len(stopped)]:
    sys.exit(f"FAIL: stopped with {len(stopped)} characters, ending {stopped[-70:]!r}")
do(find(pyatspi.ROLE_MENU_ITEM, "Файл"), "ShowMenu")
do(find(pyatspi.ROLE_MENU_ITEM, "Выход"), "Press")
