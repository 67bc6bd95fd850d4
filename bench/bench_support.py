"""What the benchmarks on a simulated library share: their common options,
a work folder removed afterwards unless kept, and the library generated
into it by tools/zeGenLibrary."""
import argparse
import contextlib
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def arguments(doc, clones, keep_help="work in DIR and keep it"):
    """A parser with the options of every such benchmark: --build, --clones,
    --keep, and the zeGenLibrary flags after -- (library_flags)."""
    ap = argparse.ArgumentParser(description=doc.split("\n")[0])
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--clones", type=int, default=clones)
    ap.add_argument("--keep", help=keep_help)
    ap.add_argument("library_flags", nargs="*", help="further zeGenLibrary flags (after --)")
    return ap


@contextlib.contextmanager
def work_folder(keep, prefix):
    """The folder `keep`, made if missing and left afterwards, or without it
    a new temporary folder, removed afterwards."""
    if keep:
        os.makedirs(keep, exist_ok=True)
        yield keep
        return
    work = tempfile.mkdtemp(prefix=prefix)
    try:
        yield work
    finally:
        shutil.rmtree(work)


def run(command, **kwargs):
    """Runs command; a failure ends the benchmark with one line naming the program."""
    status = subprocess.run(command, **kwargs).returncode
    if status != 0:
        sys.exit("ERROR: %s failed (exit status %d)" % (os.path.basename(command[0]), status))


def generate_library(build, out, flags, **kwargs):
    """Writes a library into the folder `out` (one an earlier run left there
    replaced) with zeGenLibrary and `flags`; its bands files, sorted."""
    if os.path.isdir(out) and not os.path.islink(out):
        shutil.rmtree(out)
    run([os.path.join(build, "tools", "zeGenLibrary"), "--out", out] + flags, **kwargs)
    return sorted(os.path.join(out, n) for n in os.listdir(out) if n.endswith(".bands"))
