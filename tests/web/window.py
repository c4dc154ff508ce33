"""velkor.html in headless Chromium from disk: the main window's texts, menus
and first page, no control without an accessible name, a full assessment by
mouse and keyboard (every page, the Estimation list, a drag in Priority
Weights, the summary, New with its question, the about box), Save As .vlk,
.txt and .htm through the page's own dialog, Open of the saved project, and
the saved reports compared byte for byte with velkor-report's for the same
project; no request beyond the page's own file:// and data:/blob: URLs.

  window.py PAGE VELKOR-REPORT WORK-FOLDER
Exit status 0 when everything matched."""
import base64
import os
import random
import re
import subprocess
import sys
import time

from cdp import Browser

page, report, work = (os.path.abspath(a) for a in sys.argv[1:4])
failures = []
RADIOS = "[...document.querySelectorAll('.dlg input[type=radio]')].filter(r => r.offsetParent)"
SUCCESS = "document.querySelector('.static[data-id=\"1103\"]').textContent"
NAMED_ROLES = {"button", "radio", "menuitem", "menuitemcheckbox", "combobox", "listbox", "slider",
               "textbox", "checkbox", "dialog", "alertdialog", "menubar", "menu"}


def check(ok, message):
    if not ok:
        print("FAIL " + message)
        failures.append(message)


def button(text):
    return ("[...document.querySelectorAll('button')].find(b => b.textContent.split('\\t')[0] === %r"
            " && b.offsetParent)" % text)


def mouse(browser, js, *moves):
    """Presses the left button on the element js, moves by each (dx, dy) and releases."""
    box = browser.evaluate("(() => { const e = %s; if (!e) return null; const r = e.getBoundingClientRect();"
                           " return [r.x + r.width / 2, r.y + r.height / 2]; })()" % js)
    if not box:
        raise RuntimeError("no element " + js)
    x, y = box
    browser.call("Input.dispatchMouseEvent", {"type": "mousePressed", "x": x, "y": y, "button": "left",
                                              "buttons": 1, "clickCount": 1})
    for dx, dy in moves:
        x, y = x + dx, y + dy
        browser.call("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": x, "y": y, "button": "left",
                                                  "buttons": 1})
    browser.call("Input.dispatchMouseEvent", {"type": "mouseReleased", "x": x, "y": y, "button": "left",
                                              "clickCount": 1})


def key(browser, name, code, modifiers=0, text=""):
    for kind in ("rawKeyDown", "keyUp"):
        browser.call("Input.dispatchKeyEvent", {"type": kind, "key": name, "windowsVirtualKeyCode": code,
                                                "modifiers": modifiers, "text": text if kind != "keyUp" else ""})


def menu(browser, top, item):
    mouse(browser, button(top))
    mouse(browser, "[...document.querySelectorAll('.menuitem')].find(m => m.textContent.includes(%r)"
                   " && m.offsetParent)" % item)


def read_file(browser, path):
    return base64.b64decode(browser.evaluate(
        "(() => { let s = ''; for (const c of FS.readFile(%r)) s += String.fromCharCode(c); return btoa(s); })()"
        % path))


def save_as(browser, name, index):
    menu(browser, "File", "Save As")
    browser.wait_for("!!document.querySelector('.filedlg input')")
    browser.evaluate("document.querySelector('.filedlg input').value = %r;"
                     " document.querySelector('.filedlg select').selectedIndex = %d" % (name, index))
    mouse(browser, button("Save"))
    browser.wait_for("(VelkorDom.saved || []).includes(VelkorDom.dir + %r)" % name)
    return read_file(browser, "/home/web_user/" + name)


def unnamed_controls(browser):
    nodes = browser.call("Accessibility.getFullAXTree")["nodes"]
    return [n["role"]["value"] for n in nodes if not n.get("ignored") and n.get("role", {}).get("value")
            in NAMED_ROLES and not n.get("name", {}).get("value", "").strip()]


def main_window(browser):
    check(browser.evaluate("document.querySelector('.dlg .caption').textContent") == "Velkor - ", "caption")
    check(browser.evaluate("[...document.querySelectorAll('[role=menubar] .menutop')].map(m => m.textContent)")
          == ["File", "View", "Help"], "menu bar")
    names = browser.evaluate(RADIOS + ".map(r => r.name)")
    check(len(names) == 40 and all(names[i] == names[i - i % 5] != names[i - 5] if i >= 5 else True
                                   for i in range(40)), "8 rows of 5 radio buttons")
    texts = browser.evaluate("document.querySelector('.dlg').innerText")
    for text in ("Select Category", "Organization", "Personnel", "Category Success %", "Priority Weights",
                 "Are you using, or do you plan to use, experienced software managers?"):
        check(text in texts, "main window text " + text)
    check(unnamed_controls(browser) == [], "unnamed controls %s" % unnamed_controls(browser))


def assessment(browser, rng):
    """Every page answered by mouse; the category values shown, by name."""
    shown = {}
    for category in ["Organization", "Estimation", "Monitoring", "Development", "Tools", "Company Culture",
                     "Usability", "Correctness", "Reliability", "Personnel"]:
        mouse(browser, button(category))
        browser.wait_for("document.activeElement && document.activeElement.textContent === %r" % category)
        rows = browser.evaluate(RADIOS + ".length") // 5
        for row in range(rows):
            mouse(browser, RADIOS + "[%d]" % (5 * row + rng.randrange(5)))
        browser.wait_for("true")
        shown[category.lower()] = browser.evaluate(SUCCESS)
    return shown


def run(browser):
    browser.call("Network.enable")
    browser.call("Page.enable")
    browser.call("Emulation.setDeviceMetricsOverride", {"width": 1200, "height": 900, "deviceScaleFactor": 1,
                                                        "mobile": False})
    browser.call("Page.navigate", {"url": "file://" + page})
    browser.wait_for("document.querySelectorAll('.dlg input[type=radio]').length > 0")
    main_window(browser)
    rng = random.Random(28)
    mouse(browser, RADIOS + "[1]")
    menu(browser, "File", "New")
    check("not been saved" in browser.wait_for("document.querySelector('.msgbox') &&"
                                               " document.querySelector('.msgbox').innerText"), "unsaved question")
    mouse(browser, button("No"))
    check(browser.evaluate(RADIOS + "[1].checked"), "No keeps the answers")
    key(browser, "ArrowRight", 0x27)
    check(browser.wait_for(RADIOS + "[2].checked"), "the arrow key answers the next choice")
    browser.evaluate("(() => { const s = document.querySelector('select.ctl'); s.selectedIndex = 3;"
                     " s.dispatchEvent(new Event('change')); })()")
    key(browser, "v", 0x56, 1)
    check(browser.evaluate("document.activeElement.textContent").startswith("Priority"), "Alt+V opens View")
    key(browser, "Escape", 0x1B)
    menu(browser, "View", "Priority")
    browser.wait_for("!!document.querySelector('img.bitmap') && document.querySelector('img.bitmap').offsetParent")
    mouse(browser, "document.querySelector('img.bitmap')", (10, 10), (20, 15))
    mouse(browser, button("OK"))
    check(browser.wait_for("[...document.querySelectorAll('.static')].some(s => s.textContent.startsWith('Cost ')"
                           " && s.textContent !== 'Cost 33%\\n\\nTechnical 33%\\n\\nSchedule 33%')"),
          "the drag changed the weights")
    shown = assessment(browser, rng)
    menu(browser, "View", "Summary")
    shown["total project"] = browser.wait_for(
        "(() => { const s = document.querySelector('.static[data-id=\"1105\"]');"
        " return s && s.offsetParent && s.textContent.split('\\n')[0]; })()")
    mouse(browser, button("Hide Summary"))
    for name, index in (("assessment.vlk", 0), ("assessment.txt", 1), ("assessment.htm", 2)):
        with open(os.path.join(work, "page", name), "wb") as f:
            f.write(save_as(browser, name, index))
    caption = browser.evaluate("document.querySelector('.dlg .caption').textContent")
    check(caption == "Velkor - assessment", "caption after Save As: " + caption)
    menu(browser, "Help", "About")
    browser.wait_for("[...document.querySelectorAll('.dlg .caption')].some(c => c.offsetParent &&"
                     " c.textContent.startsWith('About'))")
    mouse(browser, button("OK"))
    menu(browser, "File", "New")
    browser.wait_for("document.querySelector('.dlg .caption').textContent === 'Velkor - '")
    menu(browser, "File", "Open")
    browser.wait_for("!!document.querySelector('.filedlg input[type=file]')")
    node = browser.call("DOM.querySelector", {"nodeId": browser.call("DOM.getDocument")["root"]["nodeId"],
                                              "selector": ".filedlg input[type=file]"})["nodeId"]
    browser.call("DOM.setFileInputFiles", {"nodeId": node, "files": [os.path.join(work, "page", "assessment.vlk")]})
    browser.wait_for("document.querySelector('.dlg .caption').textContent === 'Velkor - assessment'")
    check(browser.wait_for(SUCCESS) == shown["organization"], "Open shows the saved answers")
    requests = [e["params"]["request"]["url"] for e in browser.events if e["method"] == "Network.requestWillBeSent"]
    check(all(re.match(r"(file|data|blob):", u) for u in requests),
          "requests %s" % [u for u in requests if not re.match(r"(file|data|blob):", u)])
    return shown


def compare(shown):
    project = os.path.join(work, "page", "assessment.vlk")
    for ext in ("txt", "htm"):
        out = os.path.join(work, "report." + ext)
        subprocess.run([report, project, out], check=True, timeout=60, capture_output=True)
        check(open(out, "rb").read() == open(os.path.join(work, "page", "assessment." + ext), "rb").read(),
              "the page's ." + ext + " is velkor-report's")
    text = open(os.path.join(work, "report.txt"), encoding="utf-8").read()
    for category, value in shown.items():
        m = re.search(r"^%s prob(?:ability)? = (\S+)$" % re.escape(category), text, re.M | re.I)
        check(m is not None and m.group(1) == value, "%s shown %s, model %s" % (category, value, m and m.group(1)))


os.makedirs(os.path.join(work, "page"), exist_ok=True)
browser = Browser(timeout=30)
try:
    shown = run(browser)
finally:
    browser.close()
compare(shown)
print("velkor.html: %d failures" % len(failures))
sys.exit(1 if failures else 0)
