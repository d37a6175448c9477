#!/usr/bin/env python3
"""The extension in headless Chromium with grab as its host: hover-to-highlight latency and Quick Save time.

Hover: selection mode on a page of 20,000 elements; the mouse moves onto one block after another
(Input.dispatchMouseEvent), and the page's own script times each from its mouseover to the moment the
block's style takes the highlight colour (the road: content script, service worker, native messaging,
grab's engine, and back). Quick Save: pageHarvest.quickSave(tab) on the next page of the same
layout, from the call to the host's done (the file is written by then), beside grab quick on the
same page fetched. Usage:
    bench/extension/extension_bench.py GRAB [--hovers 200] [--runs 5]
Build grab without sanitizers first (scripts/run.sh leaves one in build/release/tools/grab/grab).
"""
import argparse
import json
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "grab"))
from bench_server import serve  # noqa: E402

EXTENSION = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "extension")
ORIGIN = "chrome-extension://alkfoobnckhimlcamnljecggfgppgdog/"
HIGHLIGHT = "#ffcccc"

# Each timed hover ends when the block's style changes; the page keeps the times.
PROBE = """(() => {
  window.benchTimes = [];
  let start = 0;
  document.addEventListener('mouseover', () => { start = performance.now(); }, true);
  new MutationObserver(changes => {
    for (const change of changes)
      if ((change.target.getAttribute('style') || '').includes('%s')) window.benchTimes.push(performance.now() - start);
  }).observe(document.body, {attributes: true, attributeFilter: ['style'], subtree: true});
})()""" % HIGHLIGHT


def make_page(path, title, word):
    """A page of 20,000 elements: a story, then 2,000 blocks of five elements each, then 9,990 more."""
    blocks = "".join('<div class="item" id="b%d"><span>%s %d</span> <b>bold</b> <i>it</i> <a href="#">a</a></div>'
                     % (n, word, n) for n in range(2000))
    filler = "<p><span>x</span></p>" * 4995
    with open(path, "w") as out:
        out.write("<!DOCTYPE html><html><head><title>%s</title><style>.item{padding:4px}</style></head><body>"
                  '<div id="story">%s</div>%s%s</body></html>' % (title, (word + " story. ") * 200, blocks, filler))


class Browser:
    """Chromium with the extension, spoken to over --remote-debugging-pipe."""

    def __init__(self, profile, launcher):
        os.makedirs(os.path.join(profile, "NativeMessagingHosts"))
        with open(os.path.join(profile, "NativeMessagingHosts", "org.pageharvest.host.json"), "w") as out:
            json.dump({"name": "org.pageharvest.host", "description": "bench", "path": launcher, "type": "stdio",
                       "allowed_origins": [ORIGIN]}, out)
        to_r, self.to_w = os.pipe()
        self.from_r, from_w = os.pipe()

        def pipes_on_3_and_4():
            commands, replies = os.dup(to_r), os.dup(from_w)
            os.dup2(commands, 3)
            os.dup2(replies, 4)

        args = ["chromium", "--headless", "--remote-debugging-pipe", "--user-data-dir=" + profile, "--no-first-run",
                "--disable-background-networking", "--disable-sync", "--mute-audio",
                "--load-extension=" + os.path.abspath(EXTENSION),
                "--disable-features=DisableLoadExtensionCommandLineSwitch", "about:blank"]
        if os.geteuid() == 0:
            args.append("--no-sandbox")
        self.child = subprocess.Popen(args, preexec_fn=pipes_on_3_and_4, close_fds=False, stdin=subprocess.DEVNULL,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_r)
        os.close(from_w)
        self.buffer, self.next_id = b"", 0

    def call(self, method, params=None, session=None, timeout=60):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.to_w, json.dumps(message).encode() + b"\0")
        end = time.monotonic() + timeout
        while True:
            while b"\0" not in self.buffer:
                if not select.select([self.from_r], [], [], max(0, end - time.monotonic()))[0]:
                    sys.exit("no answer to " + method)
                self.buffer += os.read(self.from_r, 1 << 20)
            text, self.buffer = self.buffer.split(b"\0", 1)
            reply = json.loads(text)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    sys.exit("%s: %s" % (method, reply["error"]))
                return reply["result"]

    def evaluate(self, session, expression, timeout=600):
        result = self.call("Runtime.evaluate", {"expression": expression, "awaitPromise": True, "returnByValue": True},
                           session, timeout)
        if "exceptionDetails" in result:
            sys.exit("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def attach(self, kind, url_prefix):
        for _ in range(200):
            for target in self.call("Target.getTargets")["targetInfos"]:
                if target["type"] == kind and target["url"].startswith(url_prefix):
                    return self.call("Target.attachToTarget", {"targetId": target["targetId"], "flatten": True})["sessionId"]
            time.sleep(0.05)
        sys.exit("no %s at %s" % (kind, url_prefix))

    def close(self):
        self.call("Browser.close")
        self.child.wait(timeout=30)


def wait(check, timeout=30):
    end = time.monotonic() + timeout
    while not check():
        if time.monotonic() > end:
            sys.exit("timed out")
        time.sleep(0.002)


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("grab")
    parser.add_argument("--hovers", type=int, default=200)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    grab = os.path.abspath(args.grab)
    if not shutil.which("chromium"):
        sys.exit("no chromium")

    with tempfile.TemporaryDirectory() as tmp:
        site, data, out = (os.path.join(tmp, d) for d in ("site", "data", "out"))
        for folder in (site, data, out):
            os.makedirs(folder)
        make_page(os.path.join(site, "p1.html"), "Page one", "first")
        # A page for each Quick Save: the files are named after the title and the time to the second.
        for n in range(2 * args.runs):
            make_page(os.path.join(site, "q%d.html" % n), "Next page %d" % n, "next")
        server, base = serve(site)
        subprocess.run([grab, "-q", "--data-dir", data, "auto", base + "p1.html", "--kind", "text", "--portion", "text",
                        "--to", os.path.join(out, "first.txt")], check=True)
        launcher = os.path.join(tmp, "host.sh")
        with open(launcher, "w") as script:
            script.write('#!/bin/sh\nexec %s --data-dir %s host "$@"\n' % (grab, data))
        os.chmod(launcher, 0o755)
        browser = Browser(os.path.join(tmp, "profile"), launcher)
        worker = browser.attach("service_worker", ORIGIN)
        browser.call("Runtime.enable", {}, worker)
        wait(lambda: browser.evaluate(worker, "typeof pageHarvest") == "object")

        def open_tab(url):
            tab = browser.evaluate(worker, "chrome.tabs.create({url: %s}).then(t => t.id)" % json.dumps(url))
            wait(lambda: browser.evaluate(worker, "chrome.tabs.get(%d).then(t => t.status)" % tab) == "complete")
            # The page's layout has been looked up: the badge says it is known.
            wait(lambda: browser.evaluate(worker, "chrome.action.getBadgeText({tabId: %d})" % tab) == "\u2713")
            return tab, browser.attach("page", url)

        # Quick Save of the next page of the layout, through the extension and by grab alone.
        through = []
        for n in range(args.runs):
            tab, page = open_tab(base + "q%d.html" % n)
            elapsed, outcome = browser.evaluate(
                worker, "(async () => { const t = performance.now(); const d = await pageHarvest.quickSave(%d);"
                        " return [performance.now() - t, d.outcome]; })()" % tab)
            if outcome != "saved":
                sys.exit("quick save: " + outcome)
            through.append(elapsed)
        alone = []
        for n in range(args.runs):
            start = time.monotonic()
            subprocess.run([grab, "-q", "--data-dir", data, "quick", base + "q%d.html" % (args.runs + n)], check=True)
            alone.append((time.monotonic() - start) * 1000)
        print("Quick Save of a page of 20,000 elements: through the extension median %.0f ms (%s), grab quick on the"
              " fetched page median %.0f ms, over %d runs"
              % (statistics.median(through), ", ".join("%.0f" % t for t in through), statistics.median(alone), args.runs))
        # Hover: each block in turn, timed by the page.
        tab, page = open_tab(base + "p1.html")
        browser.evaluate(page, PROBE)
        browser.evaluate(worker, "pageHarvest.startSelection(%d)" % tab)
        for n in range(args.hovers):
            browser.evaluate(page, "document.getElementById('b%d').scrollIntoView({block: 'center'})" % n)
            x, y = browser.evaluate(page, "(r => [r.left + 2, r.top + 2])(document.getElementById('b%d')"
                                          ".getBoundingClientRect())" % n)
            browser.call("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": x, "y": y}, page)
            wait(lambda: browser.evaluate(page, "window.benchTimes.length") > n)
        times = browser.evaluate(page, "window.benchTimes")
        # Esc leaves selection mode keeping nothing.
        for kind in ("keyDown", "keyUp"):
            browser.call("Input.dispatchKeyEvent", {"type": kind, "key": "Escape", "code": "Escape",
                                                    "windowsVirtualKeyCode": 27}, page)
        print("hover to highlight, %d blocks on a page of 20,000 elements: median %.1f ms, 95th percentile %.1f ms,"
              " max %.1f ms" % (len(times), statistics.median(times), percentile(times, 0.95), max(times)))

        browser.close()
        server.shutdown()


if __name__ == "__main__":
    main()
