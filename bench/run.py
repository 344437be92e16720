#!/usr/bin/env python3
"""Times ridivave on generated ports with large packing lists, side by side
with the least I/O their entry files need.

    bench/run.py [path/to/ridivave [path/to/floor-atomic.c]]

For each size it writes a port whose pkg-plist holds that many lines (one
in ten under bin/).  The floor, floor-atomic.c (by default the one in
../shared/bench beside the checkout, built here with cc -O2), writes the
port's entry files as the tool must, and nothing else.  ROUNDS times in turn
(which of them goes first rotates), each in an empty directory of its own,
it runs "ridivave -q -8 -9 -s", the same with -d, and the floor, and prints
the median wall times, the tool's ratio to the floor and that of -d to the
tool, and the largest peak resident memory of each.  Last it prints how the
tool's peak memory grew from the smallest size to the largest.

The peak memory comes from /usr/bin/time (GNU time's -f on Linux, -l on
FreeBSD), which forks a process far smaller than this script would; the
wall time is measured here around it.
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SIZES = (200000, 1000000)
ROUNDS = 5
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
    proc = subprocess.run(timed, cwd=cwd, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE, text=True)
    seconds = time.monotonic() - start
    if proc.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(command), proc.stderr))
    if gnu:
        kib = proc.stderr.split()[-1]
    else:
        kib = re.search(r"(\d+)\s+maximum resident set size",
                        proc.stderr).group(1)
    return seconds, int(kib)


def run_size(tool, floor, lines, gnu):
    """Median times and largest peak memories of the tool, -d and the
    floor."""
    root = tempfile.mkdtemp(prefix="ridivave-bench.")
    try:
        port = make_port(root, lines)
        runs = {"tool": [], "-d": [], "floor": []}
        whos = list(runs)
        for i in range(ROUNDS):
            order = whos[i % 3:] + whos[:i % 3]
            for who in order:
                out = os.path.join(root, "%s%d" % (who.strip("-"), i))
                if who != "floor":
                    os.mkdir(out)
                    command = [tool, "-q", "-8", "-9", "-s", port]
                    if who == "-d":
                        command.insert(1, "-d")
                else:
                    os.makedirs(os.path.join(out, "xdg-desktop"))
                    os.makedirs(os.path.join(out, "xdg-menu"))
                    command = [floor, port, out]
                runs[who].append(measure(command, out, gnu))
                shutil.rmtree(out)
        return {who: (statistics.median(s for s, _ in r),
                      max(k for _, k in r)) for who, r in runs.items()}
    finally:
        shutil.rmtree(root)


def build_floor(source, where):
    floor = os.path.join(where, "floor-atomic")
    subprocess.run(["cc", "-O2", "-o", floor, source], check=True)
    return floor


def main():
    top = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    tool = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(top, "build", "ridivave"))
    source = (sys.argv[2] if len(sys.argv) > 2 else
              os.path.join(top, "..", "shared", "bench", "floor-atomic.c"))
    gnu = gnu_time()
    where = tempfile.mkdtemp(prefix="ridivave-floor.")
    try:
        floor = build_floor(source, where)
        peaks = {}
        print("%10s %8s %8s %8s %7s %7s %9s %9s %9s" % ("lines", "tool s",
              "-d s", "floor s", "ratio", "-d/tool", "tool KiB", "-d KiB",
              "floor KiB"))
        for lines in SIZES:
            r = run_size(tool, floor, lines, gnu)
            peaks[lines] = r["tool"][1]
            print("%10d %8.3f %8.3f %8.3f %7.3f %7.3f %9d %9d %9d" % (
                lines, r["tool"][0], r["-d"][0], r["floor"][0],
                r["tool"][0] / r["floor"][0], r["-d"][0] / r["tool"][0],
                r["tool"][1], r["-d"][1], r["floor"][1]))
        small, large = SIZES[0], SIZES[-1]
        print("tool peak memory %d/%d lines: %.2f" %
              (large, small, peaks[large] / peaks[small]))
    finally:
        shutil.rmtree(where)


if __name__ == "__main__":
    main()
