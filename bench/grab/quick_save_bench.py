#!/usr/bin/env python3
"""Quick Save of many pages of one layout, served from loopback and saved as text.

Reports pages per second (median of the runs) and the peak memory of grab, for two page counts so
that growth with the number of pages shows. Usage:
    bench/grab/quick_save_bench.py GRAB [--pages 1000] [--runs 5]
Build grab without sanitizers first (scripts/run.sh leaves one in build/release/tools/grab/grab).
"""
import argparse
import http.server
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

PAGE = """<!DOCTYPE html>
<html><head><title>Notes {n}</title><link rel="stylesheet" href="style.css"></head><body>
<table><tr><td>Header</td></tr></table>
<table><tr><td>Menu<br>one<br>two</td><td><h1>Notes {n}</h1>
<p>Page {n} of the orchard notes: {words}</p></td></tr></table>
<table><tr><td>Footer</td></tr></table>
</body></html>
"""


def make_site(folder, pages):
    words = " ".join("word%d" % i for i in range(200))
    for n in range(1, pages + 1):
        with open(os.path.join(folder, "p%d.html" % n), "w") as f:
            f.write(PAGE.format(n=n, words=words))
    with open(os.path.join(folder, "style.css"), "w") as f:
        f.write("p { color: #333 }\n")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    handler = lambda *a, **k: QuietHandler(*a, directory=folder, **k)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def run_quick(grab, data, urls, out):
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    start = time.monotonic()
    result = subprocess.run([grab, "--data-dir", data, "--no-progress", "quick"] + urls,
                            capture_output=True, text=True)
    elapsed = time.monotonic() - start
    peak_kb = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    saved = len(os.listdir(out))
    if result.returncode != 0 or saved != len(urls):
        sys.exit("quick failed: %s %s (saved %d of %d)" % (result.stdout, result.stderr[-500:], saved, len(urls)))
    return elapsed, max(peak_kb, before)


def measure(grab, pages, runs):
    with tempfile.TemporaryDirectory() as tmp:
        site, data, out = (os.path.join(tmp, d) for d in ("site", "data", "out"))
        os.makedirs(site)
        os.makedirs(data)
        make_site(site, pages)
        server = serve(site)
        base = "http://127.0.0.1:%d/" % server.server_address[1]
        os.makedirs(out)
        subprocess.run([grab, "--data-dir", data, "auto", base + "p1.html", "--kind", "text", "--portion", "text",
                        "--to", os.path.join(out, "first.txt")], check=True, capture_output=True)
        urls = [base + "p%d.html" % n for n in range(1, pages + 1)]
        times = []
        for _ in range(runs):
            elapsed, _ = run_quick(grab, data, urls, out)
            times.append(elapsed)
        # Peak memory of one run alone: a fresh interpreter child keeps other runs out of the figure.
        peak = subprocess.run([sys.executable, "-c",
                               "import resource,subprocess,sys; subprocess.run(sys.argv[1:], capture_output=True);"
                               "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)",
                               grab, "--data-dir", data, "--no-progress", "quick"] + urls,
                              capture_output=True, text=True, check=True)
        server.shutdown()
        return statistics.median(times), int(peak.stdout.strip())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("grab")
    parser.add_argument("--pages", type=int, default=1000)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    grab = os.path.abspath(args.grab)
    small = max(1, args.pages // 10)
    for pages in (small, args.pages):
        median, peak_kb = measure(grab, pages, args.runs)
        print("quick save of %5d pages as text: median %.2f s over %d runs, %.0f pages/s, peak memory %.1f MB"
              % (pages, median, args.runs, pages / median, peak_kb / 1024.0))


if __name__ == "__main__":
    main()
