"""Reads the main window's accessibility tree through AT-SPI: roles, states
and names of a new project's Organization page, and how they follow a
choice made through the accessibility interface itself."""
import os
import subprocess
import sys
import time

import pyatspi

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
    """Showing radio buttons, the pressed category, the displays' label nodes."""
    nodes = showing(list(walk(app)))
    radios = [n for n in nodes if n.getRole() == pyatspi.ROLE_RADIO_BUTTON]
    labels = {n.description: n for n in nodes if n.getRole() == pyatspi.ROLE_LABEL and n.description}
    return nodes, radios, labels


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
        hidden = [n for n in walk(app) if n.getRole() == pyatspi.ROLE_RADIO_BUTTON and n not in radios]
        check("the 20 buttons of the unused rows are not showing", len(hidden) == 20, len(hidden))

        categories = {n.name: n for n in nodes if n.description == "Category"}
        check("ten category buttons", len(categories) == 10, sorted(categories))
        organization = categories.get("Organization")
        check("the Organization button is pressed and checked", organization is not None and
              {pyatspi.STATE_PRESSED, pyatspi.STATE_CHECKED} <= states(organization))
        check("no other category is pressed",
              all(pyatspi.STATE_PRESSED not in states(n) for k, n in categories.items() if k != "Organization"))
        check("category buttons are toggle buttons, not check boxes",
              all(n.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON) for n in categories.values()))

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
        check("and is the pressed one now",
              pyatspi.STATE_PRESSED in states(categories["Personnel"])
              and pyatspi.STATE_PRESSED not in states(categories["Organization"]))
    finally:
        program.terminate()
        program.wait(10)


main()
sys.exit(1 if failures else 0)
