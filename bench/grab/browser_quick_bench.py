#!/usr/bin/env python3
"""Quick Save of pages rendered in headless Chromium (grab --browser quick), and the browser's start.

Reports the time from starting Chromium with --remote-debugging-pipe to its first answer (median of
the runs); then, for each server delay (none, and 10 ms before each answer), pages per second of
grab --browser quick over loopback pages of one layout (browser start included) beside grab quick
over the same pages as fetched, and the browser's peak memory: the proportional set size (PSS) of
all of its processes together, sampled while it works, over the first half of the pages and over
the second half, so that growth from page to page shows (the first half holds the tabs' start). Usage:
    bench/grab/browser_quick_bench.py GRAB [--pages 200] [--runs 3] [--delays 0,10] [--jobs 8]
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
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bench_server import serve  # noqa: E402
from quick_save_bench import make_site  # noqa: E402


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


def descendants(pid):
    """The processes started by pid, at any depth."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    parent = int(f.read().rsplit(")", 1)[1].split()[1])
            except (OSError, IndexError, ValueError):
                continue
            children.setdefault(parent, []).append(int(entry))
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def pss_kb(pids):
    """The proportional set size of the processes together: shared pages counted once in all."""
    total = 0
    for pid in pids:
        try:
            with open("/proc/%d/smaps_rollup" % pid) as f:
                total += sum(int(line.split()[1]) for line in f if line.startswith("Pss:"))
        except OSError:
            pass
    return total


def quick(grab, data, urls, out, browser, jobs):
    """Seconds for grab quick over urls, and the browser's peak PSS (kB) over the first and the second half."""
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    command = [grab, "--data-dir", data, "--no-progress", "--jobs", str(jobs)]
    command += (["--browser"] if browser else []) + ["quick"] + urls
    start = time.monotonic()
    child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    peaks = [0, 0]

    def sample():
        while child.poll() is None:
            kb = pss_kb(descendants(child.pid))
            half = 0 if len(os.listdir(out)) < len(urls) // 2 else 1
            peaks[half] = max(peaks[half], kb)
            time.sleep(0.2)

    sampler = threading.Thread(target=sample)
    if browser:
        sampler.start()
    stdout, stderr = child.communicate()
    elapsed = time.monotonic() - start
    if browser:
        sampler.join()
    saved = len(os.listdir(out))
    if child.returncode != 0 or saved != len(urls):
        sys.exit("quick failed: %s %s (saved %d of %d)" % (stdout, stderr[-500:], saved, len(urls)))
    return elapsed, peaks


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("grab")
    parser.add_argument("--pages", type=int, default=200)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--delays", default="0,10", help="server delays in ms, comma-separated")
    parser.add_argument("--jobs", type=int, default=8)
    parser.add_argument("--chromium", default=os.environ.get("PAGEHARVEST_CHROMIUM", "chromium"))
    args = parser.parse_args()
    grab = os.path.abspath(args.grab)
    program = shutil.which(args.chromium)
    if not program:
        sys.exit("no browser program %s" % args.chromium)

    starts = [browser_start(program) for _ in range(args.runs)]
    print("browser start (to its first answer on the pipe): median %.2f s over %d runs (%s)"
          % (statistics.median(starts), args.runs, ", ".join("%.2f" % s for s in starts)))

    for delay in [int(d) for d in args.delays.split(",")]:
        with tempfile.TemporaryDirectory() as tmp:
            site, data, out = (os.path.join(tmp, d) for d in ("site", "data", "out"))
            os.makedirs(site)
            os.makedirs(data)
            make_site(site, args.pages)
            server, base = serve(site, delay)
            os.makedirs(out)
            subprocess.run([grab, "--data-dir", data, "--browser", "auto", base + "p1.html", "--kind", "text",
                            "--portion", "text", "--to", os.path.join(out, "first.txt")], check=True,
                           capture_output=True)
            urls = [base + "p%d.html" % n for n in range(1, args.pages + 1)]
            for browser in (True, False):
                runs = [quick(grab, data, urls, out, browser, args.jobs) for _ in range(args.runs)]
                median = statistics.median(t for t, _ in runs)
                line = "server delay %2d ms, %-22s --jobs %d, %d pages: median %.2f s over %d runs, %.1f pages/s" % (
                    delay, "grab --browser quick" if browser else "grab quick (fetched)", args.jobs, args.pages,
                    median, args.runs, args.pages / median)
                if browser:
                    line += "; browser peak PSS %.0f MB over the first half of the pages, %.0f MB over the second" % (
                        max(p[0] for _, p in runs) / 1024.0, max(p[1] for _, p in runs) / 1024.0)
                print(line, flush=True)
            server.shutdown()


if __name__ == "__main__":
    main()
