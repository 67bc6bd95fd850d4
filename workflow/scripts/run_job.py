#!/usr/bin/env python3
"""One job of the batch's comparison, map or placement, as the Snakefile's
shell rules start it:

    run_job.py KIND ARGUMENTS

KIND is compare_part, compare_table, map_build or place_build, and
ARGUMENTS a JSON object of the job's files and settings. Snakemake starts a
Snakemake process of its own, which reads the whole workflow again, for
every job of a rule with a `run:` block: about two seconds of CPU time per
job, where this script takes a twentieth of that. The exit status is the
job's: 0, or 1 with one line on standard error naming the log.
"""
import json
import os
import shutil
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from compare_batch import join_parts, remove_stale_parts, run_part, write_compared_gels  # noqa: E402
from map_batch import run_map  # noqa: E402
from place_batch import run_place  # noqa: E402


def compare_part(a):
    status = run_part(a["zecompare"], a["options"], a["projects"], a["part"], a["parts"],
                      a["threads"], a["output"], a["log"])
    return status, "zeCompare", a["log"]


def compare_table(a):
    join_parts(a["parts"], a["table"])
    write_compared_gels(a["gels_dir"], a["gels"], a["gels_table"])
    shutil.copyfile(a["settings"], a["settings_copy"])
    # Parts of an earlier number of parts would pass for current ones.
    remove_stale_parts(a["compare_dir"], a["compare_parts"])
    return 0, "", ""


def map_build(a):
    status = run_map(a["zecontig"], a["options"], a["projects"], a["threads"], a["outputs"],
                     a["folder"], a["log"])
    if status == 0:
        shutil.copyfile(a["settings"], a["settings_copy"])
    return status, "zeContig", a["log"]


def place_build(a):
    status = run_place(a["zeplace"], a["place_settings"], a["table"], a["projects"],
                       a["outputs"], a["log"])
    if status == 0:
        shutil.copyfile(a["settings"], a["settings_copy"])
    return status, "zePlace", a["log"]


JOBS = {"compare_part": compare_part, "compare_table": compare_table, "map_build": map_build,
        "place_build": place_build}


def main(argv):
    if len(argv) != 3 or argv[1] not in JOBS:
        sys.stderr.write("usage: run_job.py {%s} ARGUMENTS\n" % ",".join(JOBS))
        return 2
    status, program, log = JOBS[argv[1]](json.loads(argv[2]))
    if status != 0:
        sys.stderr.write(f"{program} ended with exit status {status}, see {log}\n")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
