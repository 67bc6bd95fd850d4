#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/ from the example project, the
example configuration script and small generated projects.

    fuzz/make_seeds.py GENERATOR

GENERATOR is the zeGenProject binary of a build. Seeds stay small (a few KB)
so that they can be committed; each starts with the parameter bytes its
harness takes off the front of the input.
"""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")
SEPARATOR = b"\n#ZE#\n"
FILES = ["info", "raw-bands", "traces", "norm-fac", "names"]


def read(path):
    with open(path, "rb") as f:
        return f.read()


def put(harness, name, data):
    d = os.path.join(CORPUS, harness)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def first_lines(data, n):
    return b"".join(data.splitlines(keepends=True)[:n])


def generate(generator, out, *args):
    subprocess.run([generator, "--out", out] + list(args), check=True, stdout=subprocess.DEVNULL)
    return {f: read(os.path.join(out, f)) for f in FILES}


def main():
    generator = sys.argv[1]
    example = os.path.join(ROOT, "examples", "project")
    ex = {f: read(os.path.join(example, f)) for f in FILES}
    tmp = tempfile.mkdtemp(prefix="zeseeds.")
    small = {
        "a": generate(generator, tmp + "/a", "--lanes", "5", "--marker-repeat", "2",
                      "--row-length", "100", "--rows", "4", "--seed", "3"),
        "b": generate(generator, tmp + "/b", "--lanes", "3", "--dyes", "2", "--marker-repeat", "1",
                      "--method", "linear", "--no-sizes", "--row-length", "120", "--rows", "3",
                      "--seed", "5"),
        "c": generate(generator, tmp + "/c", "--lanes", "4", "--marker-repeat", "3",
                      "--row-length", "100", "--rows", "6", "--output-x", "50", "--output-y", "3",
                      "--seed", "7"),
    }

    # info: the whole file
    put("info", "example", ex["info"])
    for k, p in small.items():
        put("info", "gen_" + k, p["info"])
    put("info", "minimal", b"VERSION 1.0\nINFO\n")
    put("info", "componentorder", b"VERSION x\nINFO\ncomponentorder = 4:3:2:1\nlanenumber = 3\n")

    # raw-bands: one byte of sample count (n - 1), then the file
    put("rawbands", "example_head", bytes([24]) + first_lines(ex["raw-bands"], 40))
    for k, p in small.items():
        put("rawbands", "gen_" + k, bytes([15]) + p["raw-bands"])

    # traces: one byte of sample count (n - 1), then the file
    put("traces", "gen_a", bytes([4]) + small["a"]["traces"])
    put("traces", "gen_b", bytes([5]) + small["b"]["traces"])
    put("traces", "gen_c", bytes([3]) + small["c"]["traces"])
    put("traces", "header_only", bytes([0]) + b"WIDTH 4\nROWS 2\nx\ny\n" + bytes(range(8)))

    # norm-fac: marker step - 1, marker lanes - 1, dyes - 1, flags, then the file
    put("normfac", "gen_a_spline", bytes([1, 2, 0, 0]) + small["a"]["norm-fac"])
    put("normfac", "gen_a_linear", bytes([1, 2, 0, 3]) + small["a"]["norm-fac"])
    put("normfac", "gen_b", bytes([0, 2, 1, 1]) + small["b"]["norm-fac"])
    put("normfac", "gen_c", bytes([2, 1, 0, 2]) + small["c"]["norm-fac"])
    put("normfac", "example_head", bytes([3, 1, 0, 0]) + first_lines(ex["norm-fac"], 35))

    # names: geometry (lanes - 1 + 6 * (dyes - 1)), flags, then the file
    put("names", "gen_a", bytes([4, 0x10]) + small["a"]["names"])
    put("names", "gen_b", bytes([2 + 6, 0x21]) + small["b"]["names"])
    put("names", "gen_c", bytes([3, 0x15]) + small["c"]["names"])
    put("names", "example_head", bytes([5, 0x30]) + first_lines(ex["names"], 7))

    # step: flags, then the five files joined by the separator
    for k, p in small.items():
        put("step", "gen_" + k, bytes([k == "b"]) + SEPARATOR.join(p[f] for f in FILES))

    # configure: flags, file size (two bytes, little-endian), file, answers
    script = read(os.path.join(ROOT, "examples", "configure", "lumo_setup.sh"))
    head = first_lines(script, 16)
    n = len(head).to_bytes(2, "little")
    put("configure", "piped", bytes([0]) + n + head + b"laser\n\n/srv/gels\n   \nAnn\n")
    put("configure", "readline", bytes([1]) + n + head + b"printer2\nx\n")
    put("configure", "no_answers", bytes([0]) + n + head)
    shutil.rmtree(tmp)
    long_line = b"@(#) Configuration:\n@(#)$K: " + b"v" * 1100 + b"\n@(#)$KEY:\tx\n"
    put("configure", "long_line", bytes([0]) + len(long_line).to_bytes(2, "little") + long_line + b"new\nz\n")


if __name__ == "__main__":
    main()
