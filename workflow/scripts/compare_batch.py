"""The comparison of a batch: which gels it covers, the parts of zeCompare
joined into one table, and its figures for the batch summary.

A gel is compared unless its last run failed and none of its input files
changed since (a log but no done marker, and every input older than the
log): Snakemake would not start the comparison while such a gel is one of
its inputs, so it is left out and named. A gel that was never run, or whose
inputs changed, is compared and so runs first.

Files in the state directory:
  compare/K-of-N.tsv  part K of N, each with zeCompare's header line, and
                      beside it its log, K-of-N.log (K-of-N.scheduler.log
                      from Slurm);
  compare.tsv         the header once, then the rows of parts 1..N in order;
  compare-gels.tsv    gel, bands file and fingerprints of each gel compared.
"""
import os
import subprocess


def failed_unchanged(gels_dir, state_dir, gel, inputs):
    """True when the gel's last run failed and its input files (names in
    the project) are older than that run's log."""
    if os.path.isfile(os.path.join(state_dir, "done", gel)):
        return False
    try:
        ran = os.stat(os.path.join(state_dir, "logs", gel + ".log")).st_mtime_ns
    except OSError:
        return False
    for name in inputs:
        try:
            if os.stat(os.path.join(gels_dir, gel, name)).st_mtime_ns > ran:
                return False
        except OSError:
            pass
    return True


def compared_gels(gels_dir, state_dir, gels, inputs):
    return [g for g in gels if not failed_unchanged(gels_dir, state_dir, g, inputs)]


def gel_number(project):
    """The gel number that zeReport recorded for the project, or None."""
    try:
        with open(os.path.join(project, "report-summary.tsv"), encoding="utf-8") as f:
            for line in f:
                key, sep, value = line.rstrip("\n").partition("\t")
                if sep and key == "gel_number":
                    return value
    except OSError:
        pass
    return None


def bands_file(project):
    """The bands file zeStep5 wrote into a done project: <gel number>.bands."""
    number = gel_number(project)
    if number is None:
        raise FileNotFoundError("no gel number in %s/report-summary.tsv" % project)
    return os.path.join(project, number + ".bands")


def fingerprints_in(path):
    """Fingerprints in a bands file: each one ends with a line "-1"."""
    with open(path, encoding="utf-8", errors="replace") as f:
        return sum(line.strip() == "-1" for line in f)


def join_parts(parts, table):
    """Writes the header of the first part once, then every part's rows in
    order. The parts must all carry the same header."""
    header = None
    with open(table + ".tmp", "w", encoding="utf-8", newline="") as out:
        for part in parts:
            with open(part, encoding="utf-8", newline="") as f:
                first = f.readline()
                if header is None:
                    header = first
                    out.write(header)
                elif first != header:
                    raise ValueError("%s: header %r differs from the first part's" % (part, first))
                for line in f:
                    out.write(line)
    os.replace(table + ".tmp", table)


def tsv_field(value):
    """value on one line without tabs, as the batch summary writes fields."""
    return " ".join(str(value).replace("\t", " ").splitlines())


def write_compared_gels(gels_dir, gels, path):
    with open(path, "w", encoding="utf-8") as out:
        out.write("gel\tbands_file\tfingerprints\n")
        for gel in gels:
            bands = bands_file(os.path.join(gels_dir, gel))
            out.write("%s\t%s\t%d\n" % (tsv_field(gel), tsv_field(bands), fingerprints_in(bands)))


def read_comparison(state_dir):
    """The figures of the batch's comparison, or None when there is none:
    gels compared, fingerprints, pairs reported and the table's path."""
    table = os.path.join(state_dir, "compare.tsv")
    try:
        with open(os.path.join(state_dir, "compare-gels.tsv"), encoding="utf-8") as f:
            rows = [line.rstrip("\n").split("\t") for line in f][1:]
        with open(table, encoding="utf-8", errors="replace") as f:
            pairs = max(sum(1 for _ in f) - 1, 0)
    except OSError:
        return None
    return {"gels": [r[0] for r in rows if r],
            "fingerprints": sum(int(r[2]) for r in rows if len(r) > 2),
            "pairs": pairs, "table": table}


def run_part(zecompare, options, projects, part, parts, threads, output, log):
    """zeCompare with options over the projects' bands files, part `part`
    of `parts` (the whole when parts is 1) with `threads` threads, its
    table into output and its messages
    into log, which ends like a gel's log when the run fails. Returns the
    exit status."""
    with open(log, "w", encoding="utf-8") as messages:
        try:
            files = [bands_file(p) for p in projects]
        except OSError as e:
            messages.write("ERROR: %s\n" % e)
            status = 1
        else:
            command = [zecompare] + options + ["-j", str(threads)]
            if parts > 1:
                command += ["--part", "%d/%d" % (part, parts)]
            with open(output, "wb") as table:
                status = subprocess.run(command + files, stdout=table, stderr=messages).returncode
        if status != 0:
            messages.write("job ended with exit status %d\n" % status)
    return status
