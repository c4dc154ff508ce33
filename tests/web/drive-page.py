"""velkor-analysis.html in headless Chromium from disk: random projects opened
through the file input, every title and total shown and every download
compared with velkor-report's, no request beyond the page's own file:// and
data: URLs, no control without an accessible name, a screenshot per view.

  drive-page.py PAGE VELKOR-REPORT WORK-FOLDER [PROJECTS]
Exit status 0 when everything matched."""
import base64
import os
import random
import struct
import subprocess
import sys
import time

from cdp import Browser

page, report, work = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3])
count = int(sys.argv[4]) if len(sys.argv) > 4 else 6
os.environ["TZ"] = "UTC"  # the PDF's dates, in the page and in velkor-report
failures = []


def fail(message):
    print("FAIL " + message)
    failures.append(message)


def make_projects():
    """Random answers (some beyond their scales), odd weights, UTF-8 names,
    and one file that is not a project."""
    projects = os.path.join(work, "projects")
    os.makedirs(projects)
    rng = random.Random(int(os.environ.get("VELKOR_WEB_SEED", "27")))
    weights = [0.333, 0.5, 0.2, 1.0, 0.0, 0.45, 0.35]
    names = []
    for p in range(count):
        name = ["project %d.vlk", "plän-€ %d.vlk", "p%d.final.vlk"][p % 3] % p
        answers = [rng.choice([0, 1, 2, 3, 4, 5, 7, 0xFFFFFFFF]) if rng.random() < 0.1 else rng.randrange(5)
                   for _ in range(81)]
        data = struct.pack("<81I", *answers) + struct.pack("<3d", *(rng.choice(weights) for _ in range(3)))
        with open(os.path.join(projects, name), "wb") as f:
            f.write(data)
        os.utime(os.path.join(projects, name), (1700000000 + 86400 * p, 1700000000 + 86400 * p))
        names.append(name)
    with open(os.path.join(projects, "notes.json"), "w") as f:
        f.write('{"not": "a project"}\n')
    return projects, names


def velkor_report(projects, *args):
    result = subprocess.run([report, *args], cwd=projects, capture_output=True, timeout=60)
    return result


def click(browser, label):
    """Clicks the button named label with the mouse, as a person would (a
    script's click counts as no gesture for Chromium's download limits);
    false when there is none."""
    box = browser.evaluate("(() => { const b = Array.from(document.querySelectorAll('button'))"
                           ".find((b) => b.textContent === %r); if (!b) return null; b.scrollIntoView({block: 'center'});"
                           " const r = b.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()"
                           % label)
    if not box:
        return False
    for kind in ("mousePressed", "mouseReleased"):
        browser.call("Input.dispatchMouseEvent", {"type": kind, "x": box[0], "y": box[1], "button": "left",
                                                  "clickCount": 1})
    return True


def download(browser, label, folder):
    """The bytes of the download that the button named label starts. Chromium
    may hold back a page's download that closely follows another one until
    the next click, so a click that starts none is made again."""
    for attempt in range(4):
        if not click(browser, label):
            fail("no control named " + label)
            return None
        try:
            begin = browser.wait_event(lambda e: e.get("method") == "Browser.downloadWillBegin", 3)
            break
        except TimeoutError:
            continue
    else:
        fail(label + " started no download")
        return None
    guid = begin["params"]["guid"]
    browser.wait_event(lambda e: e.get("method") == "Browser.downloadProgress" and e["params"]["guid"] == guid
                       and e["params"]["state"] == "completed", 30)
    with open(os.path.join(folder, guid), "rb") as f:
        return f.read()


def compare_download(browser, label, folder, expected_args, projects, output):
    """A download against velkor-report's output; the PDF again after a new
    minute (its date of making)."""
    for attempt in range(2):
        got = download(browser, label, folder)
        result = velkor_report(projects, *expected_args)
        want = open(os.path.join(projects, output), "rb").read() if output else result.stdout
        if got == want or got is None:
            break
    if got is not None and got != want:
        fail("%s: %d bytes, velkor-report wrote %d" % (label, len(got), len(want)))
        with open(os.path.join(work, "differs-" + label.replace("/", "-")), "wb") as f:
            f.write(got)


def check_names(browser):
    browser.call("Accessibility.enable")
    tree = browser.call("Accessibility.getFullAXTree")["nodes"]
    controls = {"button", "combobox", "slider", "textbox", "checkbox", "tab", "link", "spinbutton", "listbox",
                "radio", "switch"}
    for node in tree:
        role = node.get("role", {}).get("value")
        if role in controls and not node.get("ignored") and not node.get("name", {}).get("value", "").strip():
            fail("a %s has no accessible name" % role)


def screenshot(browser, name):
    data = browser.call("Page.captureScreenshot", {"format": "png", "captureBeyondViewport": True})["data"]
    with open(os.path.join(work, name + ".png"), "wb") as f:
        f.write(base64.b64decode(data))


def check_requests(browser):
    for event in browser.events:
        if event.get("method") == "Network.requestWillBeSent":
            url = event["params"]["request"]["url"]
            if not (url.startswith("file://") or url.startswith("data:") or url.startswith("blob:")):
                fail("the page asked for " + url)


def check_projects(browser, projects, names, downloads):
    """Each project's title, total and downloads; the first one's sensitivity."""
    for index, name in enumerate(names):
        browser.evaluate("(() => { const s = document.getElementById('project-choice'); s.value = '%d';"
                         " s.dispatchEvent(new Event('change')); })()" % index)
        title = browser.evaluate("document.getElementById('project-title').textContent")
        total = browser.evaluate("document.getElementById('project-total').textContent")
        text = velkor_report(projects, name, "-").stdout.decode()
        want_total = text.splitlines()[0].split("= ")[1]
        if title != name[:-4] or total != want_total:
            fail("%s shown as %r %r, velkor-report: %r" % (name, title, total, want_total))
        stem = name[:-4]
        for extension, label in (("txt", "text report"), ("htm", "HTML report"), ("json", "JSON export"),
                                 ("csv", "CSV export"), ("svg", "chart"), ("pdf", "PDF report")):
            if extension == "pdf" and index > 1:
                continue  # two PDFs are enough, each takes a while
            output = "expected-%d.%s" % (index, extension)
            compare_download(browser, "Download %s (.%s)" % (label, extension), downloads,
                             (name, output), projects, output)
        for fmt, extension, label in (("text", "txt", "text"), ("json", "json", "JSON"), ("csv", "csv", "CSV")):
            compare_download(browser, "Download suggestions as %s (.%s)" % (label, extension), downloads,
                             ("improve", name, "--format", fmt), projects, None)
            compare_download(browser, "Download plan as %s (.%s)" % (label, extension), downloads,
                             ("improve", name, "--target", "60", "--format", fmt), projects, None)
        if index == 0:
            for fmt, extension, label in (("text", "txt", "text"), ("json", "json", "JSON"), ("csv", "csv", "CSV"),
                                          ("svg", "svg", "tornado chart")):
                compare_download(browser, "Download sensitivity as %s (.%s)" % (label, extension), downloads,
                                 ("sensitivity", name, "--format", fmt), projects, None)
            browser.evaluate("(() => { for (const q of [1, 5]) { const b = document.querySelector("
                             "'#answers-table input[data-question=\"' + q + '\"]'); b.checked = true;"
                             " b.dispatchEvent(new Event('change')); } })()")
            shown = browser.evaluate("document.getElementById('unsure-result').textContent")
            if "lies between" not in shown:
                fail("the unsure answers show no interval: " + shown)
            screenshot(browser, "view-project")



def check_commands(browser, projects, names, downloads):
    """Compare, portfolio, trend, team and calibrate downloads."""
    last, before = names[-1], names[-2]
    browser.evaluate("document.getElementById('tab-compare').click()")
    for fmt, extension, label in (("text", "txt", "text"), ("json", "json", "JSON"), ("csv", "csv", "CSV")):
        compare_download(browser, "Download comparison as %s (.%s)" % (label, extension), downloads,
                         ("compare", before, last, "--format", fmt), projects, None)
    browser.evaluate("document.getElementById('tab-portfolio').click()")
    for fmt, extension, label in (("text", "txt", "text"), ("json", "json", "JSON"), ("csv", "csv", "CSV")):
        compare_download(browser, "Download portfolio as %s (.%s)" % (label, extension), downloads,
                         ("portfolio", *names, "--format", fmt), projects, None)
    browser.evaluate("document.getElementById('tab-trend').click()")
    for fmt, extension, label in (("text", "txt", "text"), ("json", "json", "JSON"), ("csv", "csv", "CSV"),
                                  ("svg", "svg", "chart")):
        compare_download(browser, "Download trend as %s (.%s)" % (label, extension), downloads,
                         ("trend", *names, "--format", fmt), projects, None)

    browser.evaluate("document.getElementById('tab-team').click()")
    for fmt, extension, label in (("text", "txt", "text"), ("json", "json", "JSON"), ("csv", "csv", "CSV")):
        compare_download(browser, "Download team as %s (.%s)" % (label, extension), downloads,
                         ("team", *names, "--format", fmt), projects, None)
    compare_download(browser, "Download consensus project (.vlk)", downloads,
                     ("team", *names, "--consensus", "consensus.vlk", "-o", "team.txt"), projects, "consensus.vlk")
    browser.evaluate("document.getElementById('tab-calibration').click()")
    for i in range(len(names)):
        browser.evaluate("(() => { const s = document.getElementById('outcome-%d'); s.value = '%s';"
                         " s.dispatchEvent(new Event('change')); })()" % (i, "10"[i % 2]))
    with open(os.path.join(projects, "outcomes.csv"), "wb") as f:
        f.write(download(browser, "Download outcomes (.csv)", downloads) or b"")
    for fmt, extension, label in (("text", "txt", "text"), ("json", "json", "JSON"), ("csv", "csv", "CSV"),
                                  ("svg", "svg", "reliability diagram")):
        compare_download(browser, "Download calibration as %s (.%s)" % (label, extension), downloads,
                         ("calibrate", "outcomes.csv", "--format", fmt), projects, None)


def main():
    subprocess.run(["rm", "-rf", work], check=True, timeout=60)
    projects, names = make_projects()
    downloads = os.path.join(work, "downloads")
    os.makedirs(downloads)
    browser = Browser()
    try:
        browser.call("Browser.setDownloadBehavior", {"behavior": "allowAndName", "downloadPath": downloads,
                                                     "eventsEnabled": True}, session=False)
        for domain in ("Network", "Page", "Runtime", "DOM"):  # Accessibility at the end: it slows every change
            browser.call(domain + ".enable")
        browser.call("Emulation.setDeviceMetricsOverride", {"width": 1200, "height": 900, "deviceScaleFactor": 1,
                                                            "mobile": False})
        # The best of three openings, as the page measures from its navigation:
        # the machine may be busy with other work.
        times = []
        for attempt in range(3):
            browser.call("Page.navigate", {"url": "file://" + page})
            browser.wait_for("document.body && document.body.dataset.ready === 'true'")
            times.append(float(browser.evaluate("document.body.dataset.readyMs")) / 1000)
        ready = min(times)
        print("ready in %s ms" % ", ".join("%.0f" % (t * 1000) for t in times))
        if ready > float(os.environ.get("VELKOR_WEB_READY_LIMIT", "1.0")):
            fail("the page took %.2f s to be ready" % ready)

        document = browser.call("DOM.getDocument")["root"]["nodeId"]
        node = browser.call("DOM.querySelector", {"nodeId": document, "selector": "#files"})["nodeId"]
        files = [os.path.join(projects, n) for n in names] + [os.path.join(projects, "notes.json")]
        browser.call("DOM.setFileInputFiles", {"nodeId": node, "files": files})
        browser.wait_for("/projects? open/.test(document.getElementById('status').textContent)")

        # The file that is not a project is named with velkor-report's message.
        message = velkor_report(projects, "notes.json", "out.txt").stderr.decode().strip()
        shown = browser.evaluate("Array.from(document.querySelectorAll('#problems li')).map((li) => li.textContent)")
        if [message.replace("velkor-report: ", "", 1)] != shown:
            fail("the wrong file was shown as %r, velkor-report said %r" % (shown, message))

        check_projects(browser, projects, names, downloads)
        check_commands(browser, projects, names, downloads)
        for view in ("compare", "trend", "portfolio", "team", "calibration"):
            browser.evaluate("document.getElementById('tab-%s').click()" % view)
            screenshot(browser, "view-" + view)
        check_names(browser)
        check_requests(browser)
    finally:
        browser.close()
    print("%d projects: %s" % (count, "FAILED %d checks" % len(failures) if failures else "every total and download the same"))
    return 1 if failures else 0


sys.exit(main())
