"""The comparison of a batch: which gels it covers, the parts of zeCompare
joined into one table, and its figures for the batch summary.

A gel is compared unless its last run failed and none of its input files
changed since (a log but no done marker, and every input older than the
log): Snakemake would not start the comparison while such a gel is one of
its inputs, so it is left out and named. A gel that was never run, or whose
inputs changed, is compared and so runs first.

The settings of zeCompare that change the table (tolerance and cutoff) are
kept in a file that is rewritten only when they change: the parts depend on
it, so that a change makes the comparison run again.

Files in the state directory:
  compare/K-of-N.tsv    part K of N, each with zeCompare's header line, and
                        beside it its log, K-of-N.log (K-of-N.scheduler.log
                        from Slurm); the parts of an earlier N are removed
                        when the table is joined;
  compare/settings.tsv  the settings asked for: "tolerance" and "cutoff",
                        each with its value (empty: zeCompare's default);
  compare.tsv           the header once, then the rows of parts 1..N in order;
  compare-gels.tsv      gel, bands file and fingerprints of each gel compared;
  compare-settings.tsv  the settings that gave compare.tsv.
"""
import os
import re
import stat
import subprocess

from replaced_file import replaced


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
    with replaced(table) as out:
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


def tsv_field(value):
    """value on one line without tabs, as the batch summary writes fields."""
    return " ".join(str(value).replace("\t", " ").splitlines())


def write_compared_gels(gels_dir, gels, path):
    with open(path, "w", encoding="utf-8") as out:
        out.write("gel\tbands_file\tfingerprints\n")
        for gel in gels:
            bands = bands_file(os.path.join(gels_dir, gel))
            out.write("%s\t%s\t%d\n" % (tsv_field(gel), tsv_field(bands), fingerprints_in(bands)))


SETTINGS = ("tolerance", "cutoff")


def settings_text(settings, always=SETTINGS):
    """The settings file's text for a dict with the keys `always`, and any
    further settings of a program in the dict's order."""
    keys = list(always) + [key for key in settings if key not in always]
    return "".join("%s\t%s\n" % (key, tsv_field(settings.get(key, ""))) for key in keys)


def read_settings(path):
    """The settings a settings file holds, or None when it cannot be read."""
    try:
        with open(path, encoding="utf-8") as f:
            pairs = [line.rstrip("\n").partition("\t") for line in f]
    except OSError:
        return None
    return {key: value for key, sep, value in pairs if sep}


def write_if_changed(path, text):
    """Writes text to path unless the file holds it already, so that its
    time says when its contents last changed. True when it wrote."""
    try:
        with open(path, encoding="utf-8", newline="") as f:
            if f.read() == text:
                return False
    except OSError:
        pass
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with replaced(path) as f:
        f.write(text)
    return True


PART_FILE = re.compile(r"[0-9]+-of-([0-9]+)\.(tsv|log|scheduler\.log)")


def remove_stale_parts(folder, parts):
    """Removes the part files (tables and logs) of any other number of
    parts than `parts` from folder: regular files only, never through a
    link."""
    names = os.listdir(folder) if os.path.isdir(folder) else []
    for name in sorted(names):
        match = PART_FILE.fullmatch(name)
        if match is None or int(match.group(1)) == parts:
            continue
        path = os.path.join(folder, name)
        try:
            if stat.S_ISREG(os.lstat(path).st_mode):
                os.unlink(path)
        except OSError:
            pass


def read_comparison(state_dir):
    """The figures of the batch's comparison, or None when there is none:
    gels compared, fingerprints, pairs reported, the table's path, the
    settings that gave it and those asked for now (None when unknown)."""
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
            "pairs": pairs, "table": table,
            "settings": read_settings(os.path.join(state_dir, "compare-settings.tsv")),
            "requested": read_settings(os.path.join(state_dir, "compare", "settings.tsv"))}


def settings_words(settings, always=SETTINGS):
    """The settings in words, as in "tolerance 7, cutoff 1e-12"; an empty
    value of a key of `always` is the program's default, any other setting
    is named only when set (as in "markers hits.tsv")."""
    words = ["%s %s" % (key, settings.get(key) or "default") for key in always]
    words += ["%s %s" % (key.replace("_", " "), value) for key, value in settings.items()
              if key not in always and value]
    return ", ".join(words)


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
