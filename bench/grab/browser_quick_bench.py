#!/usr/bin/env python3
"""Quick Save of pages rendered in headless Chromium (grab --browser quick), and the browser's start.

Reports the time from starting Chromium with --remote-debugging-pipe to its first answer (median of
the runs), and pages per second of grab --browser quick over loopback pages of one layout beside
grab quick over the same pages as fetched. Usage:
    bench/grab/browser_quick_bench.py GRAB [--pages 200] [--runs 3]
Build grab without sanitizers first (scripts/run.sh leaves one in build/release/tools/grab/grab).
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from quick_save_bench import make_site, serve  # noqa: E402


def browser_start(program):
    """Seconds from the start of the browser to its answer to Browser.getVersion."""
    to_browser_r, to_browser_w = os.pipe()
    from_browser_r, from_browser_w = os.pipe()
    profile = tempfile.mkdtemp(prefix="bench-chromium-")

    def pipes_on_3_and_4():
        # Copies first: either end may sit on 3 or 4 already, where a dup2 onto itself would keep it
        # closing on exec.
        commands, replies = os.dup(to_browser_r), os.dup(from_browser_w)
        os.dup2(commands, 3)
        os.dup2(replies, 4)

    args = [program, "--headless", "--remote-debugging-pipe", "--user-data-dir=" + profile, "--no-first-run",
            "--no-default-browser-check", "--disable-extensions", "--disable-background-networking",
            "--disable-sync", "--mute-audio", "about:blank"]
    if os.geteuid() == 0:
        args.append("--no-sandbox")
    start = time.monotonic()
    # Python's own descriptors are not inherited; closing the others would take 3 and 4 as well.
    child = subprocess.Popen(args, preexec_fn=pipes_on_3_and_4, close_fds=False,
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(to_browser_r)
    os.close(from_browser_w)
    os.write(to_browser_w, json.dumps({"id": 1, "method": "Browser.getVersion"}).encode() + b"\0")
    reply = b""
    while b'"id":1' not in reply:
        chunk = os.read(from_browser_r, 65536)
        if not chunk:
            sys.exit("the browser ended before it answered")
        reply += chunk
    elapsed = time.monotonic() - start
    os.write(to_browser_w, json.dumps({"id": 2, "method": "Browser.close"}).encode() + b"\0")
    child.wait(timeout=30)
    os.close(to_browser_w)
    os.close(from_browser_r)
    shutil.rmtree(profile, ignore_errors=True)
    return elapsed


def quick(grab, data, urls, out, browser):
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    command = [grab, "--data-dir", data, "--no-progress"] + (["--browser"] if browser else []) + ["quick"] + urls
    start = time.monotonic()
    result = subprocess.run(command, capture_output=True, text=True)
    elapsed = time.monotonic() - start
    saved = len(os.listdir(out))
    if result.returncode != 0 or saved != len(urls):
        sys.exit("quick failed: %s %s (saved %d of %d)" % (result.stdout, result.stderr[-500:], saved, len(urls)))
    return elapsed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("grab")
    parser.add_argument("--pages", type=int, default=200)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--chromium", default=os.environ.get("PAGEHARVEST_CHROMIUM", "chromium"))
    args = parser.parse_args()
    grab = os.path.abspath(args.grab)
    program = shutil.which(args.chromium)
    if not program:
        sys.exit("no browser program %s" % args.chromium)

    starts = [browser_start(program) for _ in range(args.runs)]
    print("browser start (to its first answer on the pipe): median %.2f s over %d runs (%s)"
          % (statistics.median(starts), args.runs, ", ".join("%.2f" % s for s in starts)))

    with tempfile.TemporaryDirectory() as tmp:
        site, data, out = (os.path.join(tmp, d) for d in ("site", "data", "out"))
        os.makedirs(site)
        os.makedirs(data)
        make_site(site, args.pages)
        server = serve(site)
        base = "http://127.0.0.1:%d/" % server.server_address[1]
        os.makedirs(out)
        subprocess.run([grab, "--data-dir", data, "--browser", "auto", base + "p1.html", "--kind", "text",
                        "--portion", "text", "--to", os.path.join(out, "first.txt")], check=True, capture_output=True)
        urls = [base + "p%d.html" % n for n in range(1, args.pages + 1)]
        for browser in (True, False):
            times = [quick(grab, data, urls, out, browser) for _ in range(args.runs)]
            median = statistics.median(times)
            print("%-22s %d pages: median %.2f s over %d runs, %.1f pages/s"
                  % ("grab --browser quick" if browser else "grab quick (fetched)", args.pages, median, args.runs,
                     args.pages / median))
        server.shutdown()


if __name__ == "__main__":
    main()
