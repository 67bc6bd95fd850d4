#!/usr/bin/env python3
"""Throughput of the many-gels workflow: 8 benchmark-size gels (as in
whole_program.py: 97 lanes, 4 dyes, rows of 4000 bytes, 34 rows, output
2000 x 30) processed serially by a plain loop (zeStep5, then zeReport, gel
after gel) and by `snakemake -j C`. Each run starts from fresh copies of the
gels and a fresh state directory; the median of --runs runs is reported,
with the speed-up of the workflow on C cores over the loop and the peak
memory of the steps against the memory the workflow declares per job.

    bench/batch.py [--build DIR] [--cores C] [--runs N] [--gels N] [--compression WORD]
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


def child_cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime


def run_child(argv, cwd):
    """Runs argv with output discarded; returns its peak memory in KiB."""
    pid = os.fork()
    if pid == 0:
        os.chdir(cwd)
        fd = os.open(os.devnull, os.O_WRONLY)
        os.dup2(fd, 1)
        os.dup2(fd, 2)
        try:
            os.execv(argv[0], argv)
        finally:
            os._exit(127)  # never back into the parent's code
    _, status, usage = os.wait4(pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(argv))
    return usage.ru_maxrss


def serial(programs, tree, gels):
    """The loop; returns wall time, CPU time and the peak memory of each
    program run."""
    t0, cpu0 = time.perf_counter(), child_cpu()
    peaks = {"zeStep5": [], "zeReport": []}
    for gel in gels:
        peaks["zeStep5"].append(run_child([programs["zeStep5"], "gels/" + gel, "map"], tree))
        peaks["zeReport"].append(run_child([programs["zeReport"], "gels/" + gel], tree))
    return time.perf_counter() - t0, child_cpu() - cpu0, peaks


def workflow(programs, tree, cores):
    bindir = os.pathsep.join(os.path.dirname(p) for p in programs.values())
    env = dict(os.environ, XDG_CACHE_HOME=os.path.join(tree, "cache"),
               PYTHONDONTWRITEBYTECODE="1")
    t0, cpu0 = time.perf_counter(), child_cpu()
    subprocess.run(["snakemake", "-s", os.path.join(ROOT, "workflow", "Snakefile"),
                    "-j", str(cores), "--quiet", "--config", "bindir=" + bindir],
                   cwd=tree, env=env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return time.perf_counter() - t0, child_cpu() - cpu0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--cores", type=int, default=os.cpu_count())
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--gels", type=int, default=8)
    ap.add_argument("--compression", default="gzip")
    a = ap.parse_args()

    a.build = os.path.abspath(a.build)  # the jobs run in the gels' directories
    programs = {"zeStep5": os.path.join(a.build, "zeStep5"),
                "zeReport": os.path.join(a.build, "report", "zeReport")}
    gen = os.path.join(a.build, "tools", "zeGenProject")
    for p in list(programs.values()) + [gen]:
        if not os.access(p, os.X_OK):
            sys.exit("missing %s: build first (cmake --build %s)" % (p, a.build))
    if shutil.which("snakemake") is None:
        sys.exit("snakemake is not installed (apt-get install snakemake)")

    work = tempfile.mkdtemp(prefix="zebatch.")
    try:
        template = os.path.join(work, "template")
        gels = ["gel%d" % i for i in range(a.gels)]
        for i, gel in enumerate(gels):
            subprocess.run([gen, "--out", os.path.join(template, "gels", gel),
                            "--seed", str(2026 + i), "--lanes", "97", "--dyes", "4",
                            "--marker-repeat", "8", "--method", "nonlinear", "--sizes",
                            "--row-length", "4000", "--rows", "34", "--output-x", "2000",
                            "--output-y", "30", "--gel-number", str(i + 1),
                            "--compression", a.compression],
                           check=True, stdout=subprocess.DEVNULL)
        serial_walls, workflow_walls, serial_cpus, workflow_cpus = [], [], [], []
        peaks = {"zeStep5": [], "zeReport": []}
        for r in range(a.runs):
            tree = os.path.join(work, "serial%d" % r)
            shutil.copytree(template, tree)
            wall, cpu, run_peaks = serial(programs, tree, gels)
            serial_walls.append(wall)
            serial_cpus.append(cpu)
            for name in peaks:
                peaks[name] += run_peaks[name]
            shutil.rmtree(tree)
            tree = os.path.join(work, "workflow%d" % r)
            shutil.copytree(template, tree)
            wall, cpu = workflow(programs, tree, a.cores)
            workflow_walls.append(wall)
            workflow_cpus.append(cpu)
            shutil.rmtree(tree)

        traces = os.path.getsize(os.path.join(template, "gels", gels[0], "traces"))
        loop, flow = statistics.median(serial_walls), statistics.median(workflow_walls)
        print("%d gels: 97 lanes x 4 dyes, rows 4000 x 34, output 2000 x 30, compression %s"
              % (a.gels, a.compression))
        print("serial loop (zeStep5 + zeReport per gel): median wall %.2f s (%d runs)"
              % (loop, a.runs))
        print("snakemake -j %d: median wall %.2f s" % (a.cores, flow))
        # On a machine shared with other work the wall times say little; the
        # CPU times give the workflow's own overhead and the speed-up an idle
        # machine would allow (all work spread evenly over the cores).
        loop_cpu, flow_cpu = statistics.median(serial_cpus), statistics.median(workflow_cpus)
        print("cpu time: serial loop %.2f s, workflow %.2f s (overhead %.2f s); "
              "bound on an idle machine: speed-up %.2f"
              % (loop_cpu, flow_cpu, flow_cpu - loop_cpu, loop_cpu / (flow_cpu / a.cores)))
        print("load average at the end: %.2f %.2f %.2f" % os.getloadavg())
        print("speed-up on %d cores: %.2f (%.2f x cores)" % (a.cores, loop / flow,
                                                             loop / flow / a.cores))
        print("peak memory: zeStep5 %.1f MiB, zeReport %.1f MiB; declared per job %.1f MiB "
              "(traces %.1f + 32)" % (max(peaks["zeStep5"]) / 1024, max(peaks["zeReport"]) / 1024,
                                      traces / 2**20 + 32, traces / 2**20))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
