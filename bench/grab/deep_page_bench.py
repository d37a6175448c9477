#!/usr/bin/env python3
"""grab auto on a page of 1,000,000 nested divs and on a flat page of 50 MB, saved as text.

Reports the time and the processor time (medians of the runs) and the peak memory of grab for each page; the target for the
deep page is under 3 s and under 1 GB. Usage:
    bench/grab/deep_page_bench.py GRAB [--depth 1000000] [--megabytes 50] [--runs 3]
Build grab without sanitizers first (scripts/run.sh leaves one in build/release/tools/grab/grab).
build/bench/bench/memdoc/memdoc_bench parses the same two pages alone: the parsing part of the time.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def deep_page(path, depth):
    with open(path, "w") as f:
        f.write("<!DOCTYPE html><html><body>" + "<div>" * depth + "deep text here" + "</div>" * depth +
                "</body></html>")


# A listing of items, as bench/memdoc/memdoc_bench.cpp builds it.
def flat_page(path, megabytes):
    limit = megabytes << 20
    with open(path, "w") as f:
        size = f.write("<!DOCTYPE html><html><head><title>Listing</title></head><body>\n")
        n = 0
        while size < limit:
            size += f.write('<div class="item"><h3>Item %d</h3><p>Words of the item, long enough to read like a '
                            'listing: alpha beta gamma delta epsilon <a href="/item/%d">more</a></p></div>\n' % (n, n))
            n += 1
        f.write("</body></html>\n")


def run_auto(grab, page, work):
    data, out = os.path.join(work, "data"), os.path.join(work, "out.txt")
    shutil.rmtree(data, ignore_errors=True)
    os.makedirs(data)
    start = time.monotonic()
    child = subprocess.Popen([grab, "--data-dir", data, "--no-progress", "auto", page, "--kind", "text",
                              "--portion", "text", "--to", out], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(child.pid, 0)
    elapsed = time.monotonic() - start
    stdout, stderr = child.communicate()
    if os.waitstatus_to_exitcode(status) != 0 or not os.path.exists(out):
        sys.exit("grab auto failed on %s: %s %s" % (page, stdout[-500:], stderr[-500:]))
    return elapsed, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, os.path.getsize(out)


def measure(grab, page, runs, work):
    results = [run_auto(grab, page, work) for _ in range(runs)]
    return (statistics.median(r[0] for r in results), statistics.median(r[1] for r in results),
            max(r[2] for r in results), results[0][3])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("grab")
    parser.add_argument("--depth", type=int, default=1000000)
    parser.add_argument("--megabytes", type=int, default=50)
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    grab = os.path.abspath(args.grab)
    with tempfile.TemporaryDirectory() as work:
        deep, flat = os.path.join(work, "deep.html"), os.path.join(work, "flat.html")
        deep_page(deep, args.depth)
        flat_page(flat, args.megabytes)
        for label, page in (("%d nested divs" % args.depth, deep), ("flat page of %d MB" % args.megabytes, flat)):
            median, cpu, peak_kb, saved = measure(grab, page, args.runs, work)
            print("grab auto, %s (%.1f MB): median %.2f s (processor %.2f s) over %d runs, peak memory %.0f MB, "
                  "%d bytes of text saved" % (label, os.path.getsize(page) / 1048576.0, median, cpu, args.runs,
                                              peak_kb / 1024.0, saved))


if __name__ == "__main__":
    main()
