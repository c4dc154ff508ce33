"""Headless Chromium through the DevTools protocol: one page, every call with
a timeout. Used by drive-page.py (./test-web) and bench/web-portfolio.py."""
import json
import os
import subprocess
import tempfile
import time

import websocket

CHROMIUM = os.environ.get("VELKOR_CHROMIUM", "/usr/bin/chromium")


class Browser:
    def __init__(self, timeout=30):
        self.timeout = timeout
        self.profile = tempfile.mkdtemp(prefix="velkor-chromium-")
        self.process = subprocess.Popen(
            [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", "--no-first-run", "--disable-extensions",
             "--remote-debugging-port=0", "--user-data-dir=" + self.profile, "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.time() + timeout
        while not os.path.exists(port_file) or len(open(port_file).read().split()) < 2:
            if time.time() > deadline or self.process.poll() is not None:
                self.close()
                raise RuntimeError("Chromium did not start")
            time.sleep(0.05)
        port = open(port_file).read().split()[0]
        self.browser = websocket.create_connection(
            "ws://127.0.0.1:%s%s" % (port, open(port_file).read().split()[1]), timeout=timeout)
        self.next_id = 0
        self.events = []
        target = self.call("Target.createTarget", {"url": "about:blank"}, self.browser)["targetId"]
        self.session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True},
                                 self.browser)["sessionId"]

    def call(self, method, params=None, connection=None, session=True):
        """The result of one command; the events on the way are kept."""
        connection = connection or self.browser
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session and hasattr(self, "session"):
            message["sessionId"] = self.session
        connection.send(json.dumps(message))
        deadline = time.time() + self.timeout
        while time.time() < deadline:
            reply = json.loads(connection.recv())
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError("%s: %s" % (method, reply["error"]))
                return reply["result"]
            if "method" in reply:
                self.events.append(reply)
        raise TimeoutError(method)

    def wait_event(self, predicate, timeout=None):
        """The first event (kept or new) that predicate accepts."""
        deadline = time.time() + (timeout or self.timeout)
        while True:
            for i, event in enumerate(self.events):
                if predicate(event):
                    return self.events.pop(i)
            remaining = deadline - time.time()
            if remaining <= 0:
                raise TimeoutError("no such event")
            self.browser.settimeout(remaining)
            try:
                event = json.loads(self.browser.recv())
            except websocket.WebSocketTimeoutException:
                raise TimeoutError("no such event") from None
            finally:
                self.browser.settimeout(self.timeout)
            if "method" in event:
                self.events.append(event)

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", {"expression": expression, "awaitPromise": True,
                                                "returnByValue": True, "userGesture": True,
                                                "timeout": self.timeout * 1000})
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, expression, timeout=None):
        deadline = time.time() + (timeout or self.timeout)
        while time.time() < deadline:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(0.02)
        raise TimeoutError(expression)

    def close(self):
        try:
            self.browser.close()
        except Exception:
            pass
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(timeout=10)
        subprocess.run(["rm", "-rf", self.profile], check=False, timeout=60)
