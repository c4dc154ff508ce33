"""Reads the program's accessibility tree through AT-SPI: roles, states and
names of a new project's Organization page and how they follow a choice made
through the accessibility interface itself; the summary window's 18 values,
each with its name; the priorities dialog's triangle, named, whose value text
follows the arrow keys."""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []


def check(what, ok, detail=""):
    print(("ok: " if ok else "FAIL: ") + what + ("" if ok else f" ({detail})"))
    if not ok:
        failures.append(what)


def states(node):
    return {s for s in node.getState().getStates()}


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def showing(nodes):
    return [n for n in nodes if pyatspi.STATE_SHOWING in states(n)]


def find_app(timeout=45.0):
    end = time.time() + timeout
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "velkor" and app.childCount > 0:
                return app
        time.sleep(0.2)
    return None


def wait_for(condition, timeout=5.0):
    end = time.time() + timeout
    while time.time() < end:
        if condition():
            return True
        time.sleep(0.1)
    return condition()


def page(app):
    """Showing answer buttons, the displays' label nodes."""
    nodes = showing(list(walk(app)))
    radios = [n for n in nodes if n.getRole() == pyatspi.ROLE_RADIO_BUTTON and n.description != "Category"]
    labels = {n.description: n for n in nodes if n.getRole() == pyatspi.ROLE_LABEL and n.description}
    return nodes, radios, labels


def menu_item(app, name):
    items = [n for n in walk(app) if n.getRole() == pyatspi.ROLE_MENU_ITEM]
    found = [n for n in items if n.name.replace("&", "") == name]
    if not found:
        raise RuntimeError(f"no menu item {name} among {[n.name for n in items]}")
    return found[0]


def window(app, title):
    for _ in range(50):
        for w in app:
            if w is not None and w.name == title and pyatspi.STATE_SHOWING in states(w):
                return w
        time.sleep(0.1)
    return None


def summary_window(app):
    menu_item(app, "Summary Results").queryAction().doAction(0)
    summary = window(app, "Velkor Summary")
    check("Summary Results opens the summary window", summary is not None)
    if summary is None:
        return
    labels = [n for n in showing(list(walk(summary))) if n.getRole() == pyatspi.ROLE_LABEL]
    names = [n.name for n in labels]
    expected = ["Total Project Prob", "Technical Prob", "Cost Prob", "Schedule Prob", "Process Prob",
                "Product Prob", "Pre-requirements", "Requirements", "Design", "Coding", "Testing",
                "Maintenance", "Risk Identification", "Planning", "Assessment", "Mitigation",
                "Reporting", "Prediction"]
    check("the summary reads 18 items, each a name and its value",
          [n.rsplit(" ", 1)[0] for n in names] == expected and
          all(n.endswith("%") and n.rsplit(" ", 1)[1][:-1].replace(".", "").isdigit() for n in names),
          names)
    check("no item reads a whole column", not any("\n" in n for n in names), names)
    # The Personnel page is shown; one answer more changes the total.
    total = labels[0] if labels else None
    before = total.name if total else ""
    answer = next(r for r in page(app)[1] if r.name.endswith("All"))
    answer.queryAction().doAction(0)

    def total_text():
        total.clear_cache()
        return total.name
    check("and follows the answers", total is not None and wait_for(lambda: total_text() != before),
          (before, total_text() if total else None))


def priorities_dialog(app):
    # The dialog is modal: the action returns only when it closes, so the
    # call is left to time out while the dialog is read.
    pyatspi.setTimeout(800, 15000)
    try:
        menu_item(app, "Priority Weights").queryAction().doAction(0)
    except Exception:
        pass
    pyatspi.setTimeout(25000, 15000)
    dialog = window(app, "Priorities")
    check("Priority Weights opens the priorities dialog", dialog is not None)
    if dialog is None:
        return
    nodes = showing(list(walk(dialog)))
    triangle = next((n for n in nodes if n.name == "Priority weights"), None)
    check("the triangle has a name", triangle is not None, [(n.getRoleName(), n.name) for n in nodes])
    if triangle is None:
        return
    check("its value text is the three weights",
          triangle.description == "Technical 33 %, Cost 33 %, Schedule 33 %", triangle.description)
    nameless = [n.getRoleName() for n in nodes if not n.name]
    check("no showing control of the dialog is nameless", not nameless, nameless)
    hint = next((n for n in nodes if n.name.startswith("Click and drag")), None)
    check("the hint tells of the arrow keys", hint is not None and "arrow keys" in hint.description)

    heard = []
    listener = lambda event: heard.append(event.source.description)
    pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-description")
    triangle.queryComponent().grabFocus()
    check("the triangle takes the keyboard focus",
          wait_for(lambda: pyatspi.STATE_FOCUSED in states(triangle)))
    for _ in range(3):
        subprocess.run(["xdotool", "key", "--clearmodifiers", "shift+Up"], check=False, timeout=10)

    def description():
        triangle.clear_cache()
        return triangle.description
    check("the arrow keys move the eyeball and the value text follows",
          wait_for(lambda: description() != "Technical 33 %, Cost 33 %, Schedule 33 %")
          and description().startswith("Technical "), description())
    # Each move is announced as a change of the value text.
    context = GLib.MainContext.default()
    wait_for(lambda: [context.iteration(False) for _ in range(20)] and len(heard) >= 3)
    check("and each move is announced", len(heard) >= 3 and heard[-1] == description(), heard)
    pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-description")
    subprocess.run(["xdotool", "key", "--clearmodifiers", "Escape"], check=False, timeout=10)


def main():
    program = subprocess.Popen([sys.argv[1]], env=dict(os.environ))
    try:
        app = find_app()
        if app is None:
            seen = [a.name for a in pyatspi.Registry.getDesktop(0) if a is not None]
            check("the program is on the accessibility bus", False,
                  f"running: {program.poll() is None}, applications: {seen}")
            return
        wait_for(lambda: len(page(app)[1]) == 40)
        nodes, radios, labels = page(app)

        check("a new Organization page shows 40 radio buttons", len(radios) == 40, len(radios))
        checked = [r for r in radios if pyatspi.STATE_CHECKED in states(r)]
        check("8 of them checked, one per question", len(checked) == 8, len(checked))
        check("each checked one is None",
              all(r.name.endswith("\u2014 None") for r in checked), [r.name for r in checked])
        hidden = [n for n in walk(app) if n.getRole() == pyatspi.ROLE_RADIO_BUTTON and n not in radios
                  and n.description != "Category"]
        check("the 20 buttons of the unused rows are not showing", len(hidden) == 20, len(hidden))

        categories = {n.name: n for n in nodes if n.description == "Category"}
        check("ten category buttons", len(categories) == 10, sorted(categories))
        organization = categories.get("Organization")
        check("the Organization button is checked", organization is not None and
              pyatspi.STATE_CHECKED in states(organization))
        check("no other category is checked",
              all(pyatspi.STATE_CHECKED not in states(n) for k, n in categories.items() if k != "Organization"))
        check("category buttons are radio buttons, a choice of one",
              all(n.getRole() == pyatspi.ROLE_RADIO_BUTTON for n in categories.values()))

        success = labels.get("Category Success %")
        weights = labels.get("Priority Weights")
        check("the Category Success display reads 0.0%", success is not None and success.name == "0.0%",
              success and success.name)
        check("the Priority Weights display reads its weights",
              weights is not None and weights.name.startswith("Cost 33%") and "Schedule 33%" in weights.name,
              weights and weights.name)

        nameless = [f"{n.getRoleName()}" for n in nodes if not n.name and n.getRole() != pyatspi.ROLE_APPLICATION]
        check("no showing control is nameless", not nameless, nameless)

        # A screen reader's "press" is a click: the percentage follows.
        some = next(r for r in radios if r.name.startswith("Is there a documented organizational")
                    and r.name.endswith("Some"))
        action = some.queryAction()
        action.doAction(0)
        check("pressing an answer checks it",
              wait_for(lambda: pyatspi.STATE_CHECKED in states(some)))
        # No listener here to keep a cache current: read the name afresh.
        def success_text():
            success.clear_cache()
            return success.name
        check("and the Category Success display follows (6.3%)",
              wait_for(lambda: success_text() == "6.3%"), success_text())

        categories["Personnel"].queryAction().doAction(0)
        check("another category shows its page",
              wait_for(lambda: len(page(app)[1]) == 25), len(page(app)[1]))
        check("and is the checked one now",
              pyatspi.STATE_CHECKED in states(categories["Personnel"])
              and pyatspi.STATE_CHECKED not in states(categories["Organization"]))

        summary_window(app)
        priorities_dialog(app)
    finally:
        program.terminate()
        program.wait(10)


main()
sys.exit(1 if failures else 0)
