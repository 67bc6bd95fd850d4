"""The batch's map on the genome: one zePlace run that places sequences (a
draft assembly, sequenced clones) on the map's contigs by their fragment
sizes, and the contigs on the chromosomes by marker hits, with its figures
for the batch summary.

The settings (the recognition site, the tolerance of the map, and the
sequence, hits and marker-map files) are kept in place/settings.tsv,
rewritten only when they change, so that a change makes the job run again;
the files themselves are inputs of the job, so that a new version of one
does too.

Files in the state directory:
  place/settings.tsv  the settings asked for;
  place/zePlace.log   zePlace's messages (place/zePlace.scheduler.log from
                      Slurm);
  placements.tsv, map.agp
                      the placed pieces of every sequence and the AGP file
                      of the contigs (with sequences to place);
  chromosomes.tsv     each contig's chromosome, extent and strand (with
                      marker hits and a marker map);
  place.html          zePlace's page;
  place-settings.tsv  the settings that gave them.
"""
import os
import subprocess

from compare_batch import bands_file, read_settings

# The settings named whenever they are shown (the others only when set).
ALWAYS = ("site",)


def place_command(zeplace, settings, table, projects, outputs):
    """zePlace's command line for the outputs asked for (a dict with
    "page" and "placements" and "agp", or "chromosomes", or all). Without
    sequences to place, zePlace reads the bands files alone."""
    command = [zeplace, "--map", table]
    if settings.get("tolerance"):
        command += ["-t", settings["tolerance"]]
    if "placements" in outputs:
        command += ["--site", settings["site"], "-o", outputs["placements"],
                    "--agp", outputs["agp"]]
    if "chromosomes" in outputs:
        command += ["--markers", settings["markers"], "--marker-map", settings["marker_map"],
                    "--chromosomes", outputs["chromosomes"]]
    command += ["--html", outputs["page"]]
    if settings.get("sequences"):
        command.append(settings["sequences"])
    return command + [bands_file(p) for p in projects]


def run_place(zeplace, settings, table, projects, outputs, log):
    """zePlace with settings over the map `table` and the projects' bands
    files, writing outputs and its messages into log, which ends like a
    gel's log when the run fails. Returns the exit status."""
    with open(log, "w", encoding="utf-8") as messages:
        if not settings.get("sequences") and not settings.get("markers"):
            messages.write("ERROR: nothing to place: set config place_sequences (a FASTA "
                           "file), or markers and marker_map\n")
            status = 1
        else:
            try:
                command = place_command(zeplace, settings, table, projects, outputs)
            except OSError as e:
                messages.write("ERROR: %s\n" % e)
                status = 1
            else:
                messages.flush()
                status = subprocess.run(command, stdout=messages, stderr=messages).returncode
        if status != 0:
            messages.write("job ended with exit status %d\n" % status)
    return status


def count_column(path, column, header_start):
    """value -> rows of one column of a zePlace table whose header starts
    with header_start. Raises ValueError on another table."""
    counts = {}
    with open(path, encoding="utf-8", errors="replace") as f:
        header = f.readline().rstrip("\n").split("\t")
        if header[: len(header_start)] != list(header_start) or column not in header:
            raise ValueError("%s: not a zePlace table" % path)
        at = header.index(column)
        for number, line in enumerate(f, 2):
            fields = line.rstrip("\n").split("\t")
            if len(fields) != len(header):
                raise ValueError("%s: line %d is not a zePlace row" % (path, number))
            counts[fields[at]] = counts.get(fields[at], 0) + 1
    return counts


PLACEMENTS_HEADER = ("sequence", "seq_start", "seq_end", "contig")
CHROMOSOMES_HEADER = ("contig", "chromosome", "start", "end", "strand")


def read_placement(state_dir):
    """The batch's placement, or None when there is none: the paths of its
    files that exist, row counts by status of the placements ("pieces")
    and of the chromosomes ("contigs"), the settings that gave it and those
    asked for now. A table that cannot be read gives "fault"."""
    files = {key: os.path.join(state_dir, name) for key, name in (
        ("placements", "placements.tsv"), ("agp", "map.agp"),
        ("chromosomes", "chromosomes.tsv"), ("page", "place.html"))}
    files = {key: path for key, path in files.items() if os.path.isfile(path)}
    if not files:
        return None
    found = {"files": files, "fault": "", "pieces": None, "contigs": None,
             "settings": read_settings(os.path.join(state_dir, "place-settings.tsv")),
             "requested": read_settings(os.path.join(state_dir, "place", "settings.tsv"))}
    try:
        if "placements" in files:
            found["pieces"] = count_column(files["placements"], "status", PLACEMENTS_HEADER)
        if "chromosomes" in files:
            found["contigs"] = count_column(files["chromosomes"], "status", CHROMOSOMES_HEADER)
    except (OSError, ValueError) as e:
        found["fault"] = str(e)
    return found


def placement_words(found):
    """The placement's figures in words, as in "pieces: 12 placed, 1 split,
    3 unplaced; contigs: 40 anchored, 1 conflict, 9 unanchored"."""
    parts = []
    for key, order in (("pieces", ("placed", "split", "ambiguous", "unplaced")),
                       ("contigs", ("anchored", "conflict", "unanchored"))):
        counts = found[key]
        if counts is not None:
            parts.append("%s: %s" % (key, ", ".join(
                "%d %s" % (counts.get(status, 0), status) for status in order)))
    return "; ".join(parts)


def failed_place_log(state_dir):
    """zePlace's log when its last run failed, else None (Snakemake removes
    the outputs of a job that fails: a log but no page)."""
    log = os.path.join(state_dir, "place", "zePlace.log")
    if os.path.isfile(log) and not os.path.isfile(os.path.join(state_dir, "place.html")):
        return log
    return None
