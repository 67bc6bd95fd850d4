"""The physical map of a batch: one zeContig run over the bands files of
the gels that are done, the table of the last build kept for the next, and
the map's figures for the batch summary.

zeContig keeps the contig numbers of an earlier build when it reads that
build's table (--previous). Snakemake removes a job's outputs before the
job runs, so the table of the last build cannot be read from contigs.tsv:
when zeContig succeeds, the job copies contigs.tsv to map/previous-contigs.tsv,
which no rule declares, and the next build reads that copy. A build that
fails leaves the copy of the last good one.

Files in the state directory:
  map/settings.tsv           the settings asked for ("tolerance", "cutoff"),
                             rewritten only when they change;
  map/previous-contigs.tsv   the contig table of the last build;
  map/zeContig.log           zeContig's messages (its NOTE lines on merged
                             and split contigs among them), and
                             map/zeContig.scheduler.log from Slurm;
  contigs.tsv, mtp.tsv, map.gff3, map.html
                             zeContig's table, tiling path, GFF3 file and page;
  map-settings.tsv           the settings that gave them.
"""
import os
import shutil
import stat
import subprocess

from compare_batch import bands_file, read_settings
from replaced_file import replaced

PREVIOUS = "previous-contigs.tsv"


def previous_fault(folder):
    """Why folder/previous-contigs.tsv cannot be kept up to date, or "":
    anything there but a regular file (a link, say) is left as it is."""
    path = os.path.join(folder, PREVIOUS)
    try:
        mode = os.lstat(path).st_mode
    except FileNotFoundError:
        return ""
    except OSError as e:
        return "cannot look at %s: %s" % (path, e.strerror)
    return "" if stat.S_ISREG(mode) else "%s is not a regular file; move it away" % path


def keep_previous(table, folder):
    """Copies table to folder/previous-contigs.tsv, so that the copy is
    either the old table or the whole new one."""
    with open(table, "rb") as source, replaced(os.path.join(folder, PREVIOUS), binary=True) as out:
        shutil.copyfileobj(source, out)


def run_map(zecontig, options, projects, threads, outputs, folder, log):
    """zeContig with options over the projects' bands files with `threads`
    threads, writing outputs (a dict of table, mtp, gff and html) and its
    messages into log, which ends like a gel's log when the run fails.
    Reads folder/previous-contigs.tsv when there is one and replaces it
    with the new table on success. Returns the exit status."""
    with open(log, "w", encoding="utf-8") as messages:
        status = build(zecontig, options, projects, threads, outputs, folder, messages)
        if status != 0:
            messages.write("job ended with exit status %d\n" % status)
    return status


def build(zecontig, options, projects, threads, outputs, folder, messages):
    try:
        files = [bands_file(p) for p in projects]
    except OSError as e:
        messages.write("ERROR: %s\n" % e)
        return 1
    fault = previous_fault(folder)
    if fault:
        messages.write("ERROR: %s\n" % fault)
        return 1
    command = [zecontig] + options + ["-j", str(threads), "-o", outputs["table"],
                                      "--mtp", outputs["mtp"], "--gff", outputs["gff"],
                                      "--html", outputs["html"]]
    previous = os.path.join(folder, PREVIOUS)
    if os.path.isfile(previous):
        command += ["--previous", previous]
        messages.write("zeContig: %d bands files, numbers from %s\n" % (len(files), previous))
    else:
        messages.write("zeContig: %d bands files, numbered afresh\n" % len(files))
    messages.flush()
    status = subprocess.run(command + files, stdout=messages, stderr=messages).returncode
    if status == 0:
        try:
            keep_previous(outputs["table"], folder)
        except OSError as e:
            messages.write("ERROR: cannot keep the table for the next build: %s\n" % e)
            return 1
    return status


def n50(sizes):
    """The largest S such that the sizes of at least S hold at least half
    of their sum, as zeContig's page counts it; 0 when there are none."""
    held, total = 0, sum(sizes)
    for size in sorted(sizes, reverse=True):
        held += size
        if 2 * held >= total:
            return size
    return 0


def map_figures(table):
    """Contigs, N50 of their lengths (consensus-band units) and of their
    clones, clones placed and fingerprints of a contig table. Raises
    ValueError on a row that is not a zeContig row."""
    clones, lengths = {}, {}
    fingerprints = 0
    with open(table, encoding="utf-8", errors="replace") as f:
        header = f.readline().rstrip("\n").split("\t")
        if header[:7] != ["contig", "clone", "gel", "ordinal", "left", "right", "status"]:
            raise ValueError("%s: not a zeContig table" % table)
        for number, line in enumerate(f, 2):
            fields = line.rstrip("\n").split("\t")
            try:
                contig = int(fields[0])
                if contig > 0:
                    clones[contig] = clones.get(contig, 0) + 1
                    lengths[contig] = max(lengths.get(contig, 0), int(fields[5]))
            except (IndexError, ValueError):
                raise ValueError("%s: line %d is not a zeContig row" % (table, number)) from None
            fingerprints += 1
    return {"contigs": len(clones), "n50_length": n50(list(lengths.values())),
            "n50_clones": n50(list(clones.values())), "placed": sum(clones.values()),
            "fingerprints": fingerprints}


def read_map(state_dir):
    """The batch's map, or None when there is none: its figures (None, and
    the reason in "fault", when the table cannot be read), the paths of
    the table and the page, and the settings that gave it and those asked
    for now (None when unknown)."""
    table = os.path.join(state_dir, "contigs.tsv")
    if not os.path.isfile(table):
        return None
    found = {"table": table, "page": os.path.join(state_dir, "map.html"), "fault": "",
             "settings": read_settings(os.path.join(state_dir, "map-settings.tsv")),
             "requested": read_settings(os.path.join(state_dir, "map", "settings.tsv"))}
    try:
        found["figures"] = map_figures(table)
    except (OSError, ValueError) as e:
        found["figures"], found["fault"] = None, str(e)
    return found


def failed_map_log(state_dir):
    """zeContig's log when its last build failed, else None: Snakemake
    removes the outputs of a job that fails, so a log without a table."""
    log = os.path.join(state_dir, "map", "zeContig.log")
    if os.path.isfile(log) and not os.path.isfile(os.path.join(state_dir, "contigs.tsv")):
        return log
    return None
