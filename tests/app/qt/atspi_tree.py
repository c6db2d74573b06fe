"""The tab strip, its pages and the first focus, as AT-SPI gives them."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

passed = failed = 0


def check(name, ok, detail=""):
    global passed, failed
    print(f"{'ok' if ok else 'FAIL'}: {name}" + ("" if ok else f" ({detail})"))
    passed, failed = passed + ok, failed + (not ok)


def find(root, role):
    if root.getRole() == role:
        return root
    for child in root:
        found = child and find(child, role)
        if found:
            return found
    return None


def states(tab):
    state = tab.getState()
    return (state.contains(pyatspi.STATE_SELECTED), state.contains(pyatspi.STATE_FOCUSED))


app = None
for _ in range(100):
    app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "qimbar"), None)
    strip = app and find(app, pyatspi.ROLE_PAGE_TAB_LIST)
    if strip and strip.childCount:
        break
    time.sleep(0.1)
else:
    check("the program's tab strip is on the bus", False)
    sys.exit(1)
# No window manager gives it the keyboard: xdotool does.
window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                         "^Qimbar birliklari$"], capture_output=True, text=True).stdout.split()[0]
subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
time.sleep(0.5)

tabs = list(strip)
check("six tabs, and nothing else in the strip", len(tabs) == 6 and
      all(t.getRole() == pyatspi.ROLE_PAGE_TAB for t in tabs), [t.getRoleName() for t in tabs])
check("at start the Hajm tab is selected and focused, no other",
      [states(t) for t in tabs] == [(False, False)] * 2 + [(True, True)] + [(False, False)] * 3,
      [(t.name, states(t)) for t in tabs])

for tab in tabs:
    page = tab[0] if tab.childCount == 1 else None
    controls = list(page) if page else []
    roles = [c.getRoleName() for c in controls]
    rows = [controls[i:i + 3] for i in range(0, len(controls), 3)]
    check(f"{tab.name}: its page, named by it, holds its rows (label, box, button)",
          page is not None and page.name == tab.name and len(rows) >= 3 and
          page.parent == tab and
          all([c.getRole() for c in row] == [pyatspi.ROLE_LABEL, pyatspi.ROLE_TEXT,
                                              pyatspi.ROLE_PUSH_BUTTON] and
              row[0].name == row[1].name and row[2].name.endswith(row[0].name) for row in rows),
          roles)

subprocess.run(["xdotool", "key", "--delay", "100", "Right"], check=True)
time.sleep(0.5)
check("an arrow moves the selection and the focus to Tezlik alone",
      [states(t) for t in tabs] == [(False, False)] * 3 + [(True, True)] + [(False, False)] * 2,
      [(t.name, states(t)) for t in tabs])
subprocess.run(["xdotool", "key", "--delay", "100", "Tab"], check=True)
time.sleep(0.5)
check("with the focus in the page, the tab is selected but not focused",
      states(tabs[3]) == (True, False), states(tabs[3]))

# Back on the strip, the focus lands on the tab, not on the strip.
focused = []
pyatspi.Registry.registerEventListener(lambda e: focused.append(e.source.getRoleName()), "focus:")
subprocess.run(["xdotool", "key", "--delay", "100", "shift+Tab"], check=True)
GLib.timeout_add(700, pyatspi.Registry.stop)
pyatspi.Registry.start()
check("the strip's focus is told as its tab's, last", focused[-1:] == ["page tab"], focused)

# A press is announced: a notification shown, its name what was converted.
heard = []
pyatspi.Registry.registerEventListener(
    lambda e: heard.append(e.source.name) if e.source.getRole() == pyatspi.ROLE_NOTIFICATION and
    e.detail1 else None, "object:state-changed:showing")
subprocess.run(["xdotool", "key", "--delay", "100", "Left"], check=True)
page = tabs[2][0]
box, button = page[1], page[2]
box.queryEditableText().setTextContents("1")
button.queryAction().doAction(0)
GLib.timeout_add(1500, pyatspi.Registry.stop)
pyatspi.Registry.start()
check("a press is announced once: from what, and its first results",
      len(heard) == 1 and "1 " + box.name in heard[0] and "1000 " + page[4].name in heard[0], heard)
check("the announcement takes no focus", states(tabs[2]) == (True, True), states(tabs[2]))

print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed or not passed else 0)
