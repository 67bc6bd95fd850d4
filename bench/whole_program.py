#!/usr/bin/env python3
"""Whole-program benchmark of zeStep5 on a large synthetic gel.

Generates the benchmark gel once (97 lanes, 4 dyes, marker repeat 8, spline
method, fragment sizes, rows of 4000 bytes, 34 rows, output 2000 x 30), runs
zeStep5 on fresh copies several times and prints the median wall time, CPU
time and peak memory. In the same run it measures the floor: reading every
input file once, writing as many bytes as the step writes (in as many files,
of the same sizes: creating a file is part of the unavoidable I/O), and
starting as many compression commands through the shell. The last line is the ratio of
the step to the floor.

    bench/whole_program.py [--build DIR] [--runs N] [--gzip]

With --gzip the gel's compression command is the default gzip instead of
`true` (which runs but compresses nothing).
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

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def child_usage():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime


def run_step(zestep, project):
    """Runs one step in a child; returns (wall, cpu, peak KiB of that child)."""
    cpu0 = child_usage()
    t0 = time.perf_counter()
    pid = os.fork()
    if pid == 0:
        fd = os.open(os.devnull, os.O_WRONLY)
        os.dup2(fd, 1)
        os.execv(zestep, [zestep, project, "bench"])
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - t0
    cpu = child_usage() - cpu0
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("zeStep5 failed on " + project)
    return wall, cpu, usage.ru_maxrss


def output_files(project):
    inputs = {"info", "raw-bands", "traces", "norm-fac", "names"}
    files = []
    for dirpath, _, names in os.walk(project):
        for n in names:
            if dirpath == project and n in inputs:
                continue
            files.append(os.path.join(dirpath, n))
    return files


def floor_once(project, sizes, commands, scratch):
    """Reads the inputs, writes files of the given sizes (as many files and
    bytes as the step writes), starts `commands` shell commands."""
    cpu0 = child_usage()
    t0 = time.perf_counter()
    for n in ("info", "raw-bands", "traces", "norm-fac", "names"):
        with open(os.path.join(project, n), "rb") as f:
            while f.read(1 << 20):
                pass
    chunk = b"\0" * (1 << 20)
    for i, size in enumerate(sizes):
        with open(os.path.join(scratch, "out%d" % i), "wb") as f:
            left = size
            while left > 0:
                f.write(chunk[: min(left, len(chunk))])
                left -= len(chunk)
    for i in range(commands):
        os.system("true %s/x%d.ppm" % (scratch, i))
    return time.perf_counter() - t0, child_usage() - cpu0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--gzip", action="store_true")
    a = ap.parse_args()

    zestep = os.path.join(a.build, "zeStep5")
    gen = os.path.join(a.build, "tools", "zeGenProject")
    for p in (zestep, gen):
        if not os.access(p, os.X_OK):
            sys.exit("missing %s: build first (cmake --build %s)" % (p, a.build))

    work = tempfile.mkdtemp(prefix="zebench.")
    try:
        gel = os.path.join(work, "gel")
        compression = "gzip" if a.gzip else "true"
        subprocess.run([gen, "--out", gel, "--seed", "2026", "--lanes", "97", "--dyes", "4",
                        "--marker-repeat", "8", "--method", "nonlinear", "--sizes",
                        "--row-length", "4000", "--rows", "34", "--output-x", "2000",
                        "--output-y", "30", "--compression", compression],
                       check=True, stdout=subprocess.DEVNULL)
        walls, cpus, peaks = [], [], []
        written = commands = 0
        for i in range(a.runs):
            copy = os.path.join(work, "run%d" % i)
            shutil.copytree(gel, copy)
            w, c, m = run_step(zestep, copy)
            walls.append(w)
            cpus.append(c)
            peaks.append(m)
            outs = output_files(copy)
            sizes = [os.path.getsize(f) for f in outs]
            written = sum(sizes)
            commands = sum(1 for f in outs if f.endswith(".ppm") or f.endswith(".ppm.gz"))
            shutil.rmtree(copy)

        floor_walls, floor_cpus = [], []
        scratch = os.path.join(work, "floor")
        for i in range(a.runs):
            os.makedirs(scratch, exist_ok=True)
            w, c = floor_once(gel, sizes, commands, scratch)
            floor_walls.append(w)
            floor_cpus.append(c)
            shutil.rmtree(scratch)

        traces = os.path.getsize(os.path.join(gel, "traces"))
        print("benchmark gel: 97 lanes x 4 dyes, rows 4000 x 34, output 2000 x 30, compression %s"
              % compression)
        print("traces file: %.1f MiB; step writes %.1f MiB in %d files; %d compression commands"
              % (traces / 2**20, written / 2**20, len(outs), commands))
        print("step : median wall %.3f s, cpu %.3f s, peak memory %.1f MiB (%d runs)"
              % (statistics.median(walls), statistics.median(cpus),
                 statistics.median(peaks) / 1024, a.runs))
        print("floor: median wall %.3f s, cpu %.3f s" % (statistics.median(floor_walls),
                                                          statistics.median(floor_cpus)))
        print("peak memory over traces file: %.1f MiB" % (statistics.median(peaks) / 1024 - traces / 2**20))
        print("ratio step/floor: %.2f" % (statistics.median(walls) / statistics.median(floor_walls)))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
