"""Opening 1,000 project files into the analysis page's portfolio view against
velkor-report portfolio on the same files, side by side in one run; and the
time until the page is ready.

  bench/web-portfolio.py PAGE VELKOR-REPORT [COUNT]"""
import os
import random
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from cdp import Browser  # noqa: E402

page, report = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
count = int(sys.argv[3]) if len(sys.argv) > 3 else 1000
work = tempfile.mkdtemp(prefix="velkor-web-bench-")
rng = random.Random(1)
paths = []
for p in range(count):
    path = os.path.join(work, "project-%04d.vlk" % p)
    with open(path, "wb") as f:
        f.write(struct.pack("<81I", *(rng.randrange(5) for _ in range(81))) + struct.pack("<3d", 0.2, 0.35, 0.45))
    paths.append(path)

start = time.time()
subprocess.run([report, "portfolio", work, "-o", os.path.join(work, "portfolio.csv")], check=True, timeout=300)
native = time.time() - start

browser = Browser(timeout=300)
try:
    for domain in ("Page", "Runtime", "DOM"):
        browser.call(domain + ".enable")
    start = time.time()
    browser.call("Page.navigate", {"url": "file://" + page})
    browser.wait_for("document.body && document.body.dataset.ready === 'true'")
    ready = time.time() - start
    browser.evaluate("document.getElementById('tab-portfolio').click()")
    node = browser.call("DOM.querySelector", {"nodeId": browser.call("DOM.getDocument")["root"]["nodeId"],
                                              "selector": "#files"})["nodeId"]
    start = time.time()
    browser.call("DOM.setFileInputFiles", {"nodeId": node, "files": paths})
    browser.wait_for("document.getElementById('portfolio-table').tBodies[0].rows.length === %d" % count, 300)
    shown = time.time() - start
    timing = browser.evaluate("document.body.dataset.timing")
finally:
    browser.close()
    subprocess.run(["rm", "-rf", work], check=False, timeout=60)
print("page ready: %.0f ms" % (ready * 1000))
print("in the page: reading the files %s ms, the report layer %s ms, drawing %s ms" % tuple(timing.split()))
print("%d projects: velkor-report portfolio %.2f s, the page's portfolio view %.2f s, ratio %.2f"
      % (count, native, shown, shown / native))
