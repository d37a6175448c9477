#!/usr/bin/env python3
"""Quick Save of many pages of one layout, served from loopback and saved as text, beside curl.

For each server delay (none, and 10 ms before each answer as a distant server has), reports grab's
pages per second (median of the runs) and peak memory, and those of one curl process fetching the
same pages one after another, with the ratio of the two; all from one run of this script. Peak
memory is also given for a tenth of the pages, so that growth with the number of pages shows. With
a second grab (an earlier build, say), both are measured turn about against the same server. Usage:
    bench/grab/quick_save_bench.py GRAB [GRAB2] [--pages 1000] [--runs 3] [--delays 0,10] [--grab-arg=--jobs=1]
Build grab without sanitizers first (scripts/run.sh leaves one in build/release/tools/grab/grab).
"""
import argparse
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bench_server import serve  # noqa: E402

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


def peak_of(command):
    """The peak memory (kB) of one run of command alone: a fresh interpreter keeps other runs out."""
    peak = subprocess.run([sys.executable, "-c",
                           "import resource,subprocess,sys; subprocess.run(sys.argv[1:], capture_output=True);"
                           "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)"] + command,
                          capture_output=True, text=True, check=True)
    return int(peak.stdout.strip())


def timed(command):
    start = time.monotonic()
    result = subprocess.run(command, capture_output=True, text=True)
    return time.monotonic() - start, result


def quick_command(grab, grab_args, data, urls):
    return [grab, "--data-dir", data, "--no-progress"] + grab_args + ["quick"] + urls


def run_grab(command, out, pages):
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    elapsed, result = timed(command)
    saved = len(os.listdir(out))
    if result.returncode != 0 or saved != pages:
        sys.exit("quick failed: %s %s (saved %d of %d)" % (result.stdout, result.stderr[-500:], saved, pages))
    return elapsed


def run_curl(config, fetched, pages):
    shutil.rmtree(fetched, ignore_errors=True)
    os.makedirs(fetched)
    elapsed, result = timed(["curl", "--silent", "--show-error", "--fail", "--config", config])
    if result.returncode != 0 or len(os.listdir(fetched)) != pages:
        sys.exit("curl failed: %s" % result.stderr[-500:])
    return elapsed


def measure(grabs, grab_args, pages, runs, delay_ms):
    with tempfile.TemporaryDirectory() as tmp:
        site, data, out, fetched = (os.path.join(tmp, d) for d in ("site", "data", "out", "fetched"))
        os.makedirs(site)
        os.makedirs(data)
        make_site(site, pages)
        server, base = serve(site, delay_ms)
        os.makedirs(out)
        subprocess.run([grabs[0], "--data-dir", data, "auto", base + "p1.html", "--kind", "text", "--portion", "text",
                        "--to", os.path.join(out, "first.txt")], check=True, capture_output=True)
        urls = [base + "p%d.html" % n for n in range(1, pages + 1)]
        # One curl for all pages, as a shell loop's best case: no process start per page.
        config = os.path.join(tmp, "curl.conf")
        with open(config, "w") as f:
            for n, url in enumerate(urls, 1):
                f.write('url = "%s"\noutput = "%s/p%d.html"\n' % (url, fetched, n))
        commands = [quick_command(grab, grab_args, data, urls) for grab in grabs]
        grab_times, curl_times = [[] for _ in grabs], []
        for _ in range(runs):
            for command, times in zip(commands, grab_times):
                times.append(run_grab(command, out, pages))
            curl_times.append(run_curl(config, fetched, pages))
        peaks = [(peak_of(quick_command(grab, grab_args, data, urls[:max(1, pages // 10)])), peak_of(command))
                 for grab, command in zip(grabs, commands)]
        server.shutdown()
        return [statistics.median(times) for times in grab_times], statistics.median(curl_times), peaks


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("grab", nargs="+")
    parser.add_argument("--pages", type=int, default=1000)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--delays", default="0,10", help="server delays in ms, comma-separated")
    parser.add_argument("--grab-arg", action="append", default=[], help="an option passed to grab, such as --jobs=1")
    args = parser.parse_args()
    grabs = [os.path.abspath(g) for g in args.grab]
    for delay in (int(d) for d in args.delays.split(",")):
        grab_times, curl_s, peaks = measure(grabs, args.grab_arg, args.pages, args.runs, delay)
        for grab, grab_s, (small_kb, peak_kb) in zip(args.grab, grab_times, peaks):
            print("server delay %2d ms, %d pages, median of %d runs: %s quick %.2f s (%.0f pages/s), "
                  "sequential curl %.2f s (%.0f pages/s): grab/curl %.2fx; peak memory %.1f MB (%.1f MB for %d pages)"
                  % (delay, args.pages, args.runs, grab, grab_s, args.pages / grab_s, curl_s, args.pages / curl_s,
                     curl_s / grab_s, peak_kb / 1024.0, small_kb / 1024.0, max(1, args.pages // 10)), flush=True)


if __name__ == "__main__":
    main()
