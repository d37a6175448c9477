#!/usr/bin/env python3
"""A local page whose three iframes name a host that does not answer: how long grab takes to list its regions.

The host is a loopback port that never takes a connection (its queue is full), so every connection
attempt waits unanswered, as one to a host that is down does. Reports the median time of
`grab paths PAGE`, and of the same with --no-frames. Usage:
    bench/grab/frames_bench.py GRAB [--frames 3] [--runs 3] [--skip-no-frames]
"""
import argparse
import os
import socket
import statistics
import subprocess
import sys
import tempfile
import time


def unanswered_port():
    """A listening socket that takes one connection into its queue, and that one made: later ones wait."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(0)
    fillers = []
    for _ in range(2):
        filler = socket.socket()
        filler.setblocking(False)
        filler.connect_ex(listener.getsockname())
        fillers.append(filler)
    return listener, fillers


def timed(command):
    start = time.monotonic()
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("grab failed: %s" % result.stderr[-500:])
    return time.monotonic() - start


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("grab")
    parser.add_argument("--frames", type=int, default=3)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--skip-no-frames", action="store_true", help="for a grab that has no --no-frames")
    args = parser.parse_args()
    grab = os.path.abspath(args.grab)
    listener, fillers = unanswered_port()
    port = listener.getsockname()[1]
    with tempfile.TemporaryDirectory() as tmp:
        page = os.path.join(tmp, "frames.html")
        with open(page, "w") as f:
            f.write("<table><tr><td>The page itself, with frames from a host that is down.</td></tr></table>\n")
            for n in range(args.frames):
                f.write('<iframe src="http://127.0.0.1:%d/frame-%d.html"></iframe>\n' % (port, n))
        variants = [("frames loaded", [])] + ([] if args.skip_no_frames else [("--no-frames", ["--no-frames"])])
        for name, extra in variants:
            times = [timed([grab] + extra + ["paths", page]) for _ in range(args.runs)]
            print("local page with %d iframes on a host that does not answer, %s: grab paths takes %.2f s "
                  "(median of %d runs)" % (args.frames, name, statistics.median(times), args.runs), flush=True)
    for s in fillers + [listener]:
        s.close()


if __name__ == "__main__":
    main()
