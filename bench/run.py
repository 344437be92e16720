#!/usr/bin/env python3
"""Times ridivave on generated ports with large packing lists.

    bench/run.py [path/to/ridivave]

For each size it writes a port whose pkg-plist holds that many lines (one
in ten under bin/), runs "ridivave -8 -9 -s" on it in a scratch directory
RUNS times, and prints the best wall time and the largest peak resident
memory of those runs.  Last it prints the ratio of the times of the largest
and the smallest size.

The peak memory comes from /usr/bin/time (GNU time's -f on Linux, -l on
FreeBSD), which forks a process far smaller than this script would; the
wall time is measured here around it.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SIZES = (10000, 100000)
RUNS = 3
NAME = "benchport"


def make_port(root, lines):
    port = os.path.join(root, "ports", "games", NAME)
    os.makedirs(port)
    with open(os.path.join(port, "Makefile"), "w") as f:
        f.write("PORTNAME=\t%s\nMAINTAINER=\tbench@example.org\n" % NAME)
    with open(os.path.join(port, "pkg-descr"), "w") as f:
        f.write("A port with a long packing list.\n\n"
                "WWW: https://bench.example.org/\n")
    with open(os.path.join(port, "pkg-plist"), "w") as f:
        f.write("bin/%s\n" % NAME)
        for i in range(1, lines):
            if i % 10 == 0:
                f.write("bin/%s-tool%d\n" % (NAME, i))
            else:
                f.write("share/%s/data/file%d.dat\n" % (NAME, i))
    return port


def gnu_time():
    probe = subprocess.run(["/usr/bin/time", "-f", "%e", "true"],
                           stderr=subprocess.PIPE, stdout=subprocess.DEVNULL)
    return probe.returncode == 0


def measure(command, cwd, gnu):
    """Runs command under /usr/bin/time: (seconds, peak resident KiB)."""
    if gnu:
        timed = ["/usr/bin/time", "-f", "%M"] + command
    else:
        timed = ["/usr/bin/time", "-l"] + command
    start = time.monotonic()
    proc = subprocess.run(timed, cwd=cwd, stderr=subprocess.PIPE, text=True)
    seconds = time.monotonic() - start
    if proc.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(command), proc.stderr))
    if gnu:
        kib = proc.stderr.split()[-1]
    else:
        kib = re.search(r"(\d+)\s+maximum resident set size",
                        proc.stderr).group(1)
    return seconds, int(kib)


def run_size(tool, lines, gnu):
    """Best time and largest peak memory of RUNS runs on one port."""
    root = tempfile.mkdtemp(prefix="ridivave-bench.")
    try:
        port = make_port(root, lines)
        best, peak = None, 0
        for i in range(RUNS):
            out = os.path.join(root, "out%d" % i)
            os.mkdir(out)
            seconds, kib = measure([tool, "-q", "-8", "-9", "-s", port], out,
                                   gnu)
            best = seconds if best is None else min(best, seconds)
            peak = max(peak, kib)
        return best, peak
    finally:
        shutil.rmtree(root)


def main():
    tool = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), "..",
                                        "build", "ridivave"))
    gnu = gnu_time()
    times = {}
    print("%10s %10s %14s" % ("lines", "seconds", "peak RSS KiB"))
    for lines in SIZES:
        seconds, rss = run_size(tool, lines, gnu)
        times[lines] = seconds
        print("%10d %10.3f %14d" % (lines, seconds, rss))
    small, large = SIZES[0], SIZES[-1]
    print("time ratio %d/%d lines: %.2f" %
          (large, small, times[large] / times[small]))


if __name__ == "__main__":
    main()
