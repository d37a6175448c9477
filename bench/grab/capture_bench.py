#!/usr/bin/env python3
"""Saving a page with many pictures as HTML with grab, beside wget -p -k on the same page.

The page (one style sheet and 200 pictures by default) is served from loopback, each answer 10 ms
late as a distant server's; grab saves it with Auto Selection as HTML, which copies the pictures and
the style sheet beside the file, and wget fetches the page with everything it needs and repoints
the links. Reports the median times of both and their ratio, from one run of this script. Usage:
    bench/grab/capture_bench.py GRAB [--pictures 200] [--runs 5] [--delay 10] [--grab-arg=--jobs=1]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bench_server import serve  # noqa: E402


def make_site(folder, pictures):
    os.makedirs(os.path.join(folder, "img"))
    for n in range(pictures):
        with open(os.path.join(folder, "img", "p%d.png" % n), "wb") as f:
            f.write(bytes((n * 7 + i) % 256 for i in range(2048)))
    with open(os.path.join(folder, "style.css"), "w") as f:
        f.write("td { color: #333 }\n")
    words = " ".join("word%d" % i for i in range(300))
    images = "\n".join('<img src="img/p%d.png" alt="picture %d">' % (n, n) for n in range(pictures))
    with open(os.path.join(folder, "gallery.html"), "w") as f:
        f.write('<!DOCTYPE html>\n<html><head><title>Gallery</title><link rel="stylesheet" href="style.css">'
                "</head><body>\n<table><tr><td>Menu</td><td><h1>Gallery</h1><p>%s</p>\n%s\n</td></tr></table>\n"
                "</body></html>\n" % (words, images))


def timed(command, cwd=None):
    start = time.monotonic()
    result = subprocess.run(command, capture_output=True, text=True, cwd=cwd)
    elapsed = time.monotonic() - start
    if result.returncode != 0:
        sys.exit("%s failed: %s" % (command[0], result.stderr[-500:]))
    return elapsed


def count_files(folder):
    return sum(len(files) for _, _, files in os.walk(folder))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("grab")
    parser.add_argument("--pictures", type=int, default=200)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--delay", type=int, default=10, help="ms before each answer of the server")
    parser.add_argument("--grab-arg", action="append", default=[], help="an option passed to grab, such as --jobs=1")
    args = parser.parse_args()
    grab = os.path.abspath(args.grab)
    with tempfile.TemporaryDirectory() as tmp:
        site, work = os.path.join(tmp, "site"), os.path.join(tmp, "work")
        os.makedirs(site)
        make_site(site, args.pictures)
        server, base = serve(site, args.delay)
        url = base + "gallery.html"
        grab_times, wget_times = [], []
        for _ in range(args.runs):
            shutil.rmtree(work, ignore_errors=True)
            os.makedirs(work)
            data, out = os.path.join(work, "data"), os.path.join(work, "out")
            grab_times.append(timed([grab, "--data-dir", data] + args.grab_arg +
                                    ["auto", url, "--kind", "html", "--portion", "html",
                                     "--to", os.path.join(out, "gallery.htm")]))
            copies = count_files(os.path.join(out, "gallery_files"))
            if copies != args.pictures + 1:
                sys.exit("grab copied %d files, not %d" % (copies, args.pictures + 1))
            fetched = os.path.join(work, "wget")
            wget_times.append(timed(["wget", "--quiet", "-p", "-k", "-P", fetched, url]))
            if count_files(fetched) != args.pictures + 2:
                sys.exit("wget fetched %d files, not %d" % (count_files(fetched), args.pictures + 2))
        server.shutdown()
    grab_s, wget_s = statistics.median(grab_times), statistics.median(wget_times)
    print("page with %d pictures and a style sheet, server delay %d ms, median of %d runs: grab saves it as "
          "HTML in %.2f s, wget -p -k in %.2f s: grab/wget %.2fx" % (args.pictures, args.delay, args.runs, grab_s,
                                                                    wget_s, grab_s / wget_s))


if __name__ == "__main__":
    main()
