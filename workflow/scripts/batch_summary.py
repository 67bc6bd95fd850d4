#!/usr/bin/env python3
"""The batch summary of the many-gels workflow: summary.tsv and index.html
in the workflow's state directory, one row per gel.

A gel's status is the outcome of its last run, read from the workflow's
own files (Snakemake removes a job's done marker when the job starts and
the job writes it again only when both programs succeeded):
  done     the done marker exists;
  failed   no marker, but a log: the last run ended with a non-zero status,
           or was ended by a signal (the scheduler's time limit, say), which
           its log's last line "interrupted by signal N" tells;
  not run  neither.
The figures of a done gel come from report-summary.tsv, which zeReport
writes beside report.html. When the batch has a comparison (the target
`compare`), the page shows its figures and the tolerance and cutoff that
gave it and links compare.tsv, and each gel says whether the comparison
covers it; it says so when gels were done since or the settings changed.
When it has a map (the target `map`), the page shows the number of
contigs, their N50 and the clones placed, read from contigs.tsv, with the
tolerance and cutoff that gave it, and links map.html; it says so when the
map is out of date or its last build failed. When it has a placement (the
target `place`), the page counts the placed pieces and anchored contigs by
status and links placements.tsv, map.agp, chromosomes.tsv and place.html.

    batch_summary.py GELS_DIR STATE_DIR     (the handlers of the Snakefile
                                             call write_summary directly)
"""
import html
import os
import re
import sys
import urllib.parse

from compare_batch import SETTINGS, read_comparison, settings_words
from map_batch import failed_map_log, read_map
from place_batch import ALWAYS as PLACE_ALWAYS
from place_batch import failed_place_log, placement_words, read_placement

# Figures read from report-summary.tsv, in column order, with headings.
# Optional figures get a column only when some gel's report has them.
FIGURES = (
    ("lanes", "Lanes", False),
    ("samples", "Named samples", False),
    ("accepted_bands", "Accepted bands", False),
    ("dropped_bands", "Dropped bands", False),
    ("calibration_warnings", "Calibration warnings", False),
    ("replicate_warnings", "Replicate warnings", True),
    ("suggested_tolerance", "Suggested tolerance", True),
)


def find_gels(gels_dir):
    """Names of the subdirectories of gels_dir that hold an info file."""
    if not os.path.isdir(gels_dir):
        return []
    return sorted(
        name
        for name in os.listdir(gels_dir)
        if os.path.isfile(os.path.join(gels_dir, name, "info"))
    )


def read_figures(path):
    """key -> value of a report-summary.tsv; {} when it cannot be read."""
    figures = {}
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            for line in f:
                key, sep, value = line.rstrip("\n").partition("\t")
                if sep:
                    figures[key] = value
    except OSError:
        pass
    return figures


def first_error(log_path, or_last_line):
    """The first "ERROR: " line of a log; without one, its last line when
    or_last_line (a failure that printed no ERROR line), else ""."""
    last = ""
    try:
        with open(log_path, encoding="utf-8", errors="replace") as f:
            for line in f:
                line = line.rstrip("\n")
                if line.startswith("ERROR: "):
                    return line
                if line.strip():
                    last = line
    except OSError:
        pass
    return last if or_last_line else ""


INTERRUPTED = re.compile(r"^interrupted by signal \d+$")


def interruption(log_path):
    """The job's "interrupted by signal N" line, or "" when it has none."""
    found = ""
    try:
        with open(log_path, encoding="utf-8", errors="replace") as f:
            for line in f:
                line = line.rstrip("\n")
                if INTERRUPTED.match(line):
                    found = line
    except OSError:
        pass
    return found


def gel_row(gels_dir, state_dir, gel):
    project = os.path.join(gels_dir, gel)
    marker = os.path.join(state_dir, "done", gel)
    log = os.path.join(state_dir, "logs", gel + ".log")
    row = {"gel": gel, "project": project, "log": log if os.path.isfile(log) else ""}
    if os.path.isfile(marker):
        row["status"] = "done"
        row["report"] = os.path.join(project, "report.html")
        row.update(read_figures(os.path.join(project, "report-summary.tsv")))
    elif row["log"]:
        row["status"] = "failed"
    else:
        row["status"] = "not run"
    row["first_error"] = ""
    if row["status"] == "done":
        row["first_error"] = first_error(log, False)
    elif row["status"] == "failed":
        # A job that never started writes only to the scheduler's log.
        scheduler_log = os.path.join(state_dir, "logs", gel + ".scheduler.log")
        # An interrupted job ended for that reason, whatever it printed before.
        row["first_error"] = (interruption(log) or first_error(log, True)
                              or first_error(scheduler_log, True))
    return row


def status_counts(rows):
    return {s: sum(r["status"] == s for r in rows) for s in ("done", "failed", "not run")}


def figure_columns(rows):
    return [
        (key, heading)
        for key, heading, optional in FIGURES
        if not optional or any(key in row for row in rows)
    ]


def tsv_field(value):
    return " ".join(str(value).replace("\t", " ").splitlines())


def mark_compared(rows, comparison):
    """Sets each row's "compared" to yes or no when there is a comparison."""
    if comparison is None:
        return
    covered = set(comparison["gels"])
    for row in rows:
        row["compared"] = "yes" if tsv_field(row["gel"]) in covered else "no"


def mtime_ns(path):
    try:
        return os.stat(path).st_mtime_ns
    except OSError:
        return None


def comparison_out_of_date(rows, comparison, state_dir):
    """True when a done gel is newer than compare.tsv or not covered by it."""
    made = mtime_ns(comparison["table"]) or 0
    for row in rows:
        if row["status"] != "done":
            continue
        marker = os.path.join(state_dir, "done", row["gel"])
        if row.get("compared") == "no" or (mtime_ns(marker) or 0) > made:
            return True
    return False


def summary_tsv(rows):
    compared = ["compared"] if any("compared" in row for row in rows) else []
    keys = (["gel", "status"] + [k for k, _ in figure_columns(rows)] + compared
            + ["first_error", "report", "log"])
    lines = ["\t".join(keys)]
    for row in rows:
        lines.append("\t".join(tsv_field(row.get(k, "")) for k in keys))
    return "\n".join(lines) + "\n"


STYLE = """
body { font: 14px/1.4 system-ui, -apple-system, "Segoe UI", Roboto, sans-serif; color: #222;
       margin: 0 auto; padding: 0 24px 40px; max-width: 1600px; background: #fafafa; }
h1 { font-size: 22px; margin: 20px 0 4px; }
code { font-size: 13px; background: #eef; padding: 0 3px; border-radius: 3px; }
table { border-collapse: collapse; background: #fff; margin-top: 12px; }
th, td { border: 1px solid #dde; padding: 3px 8px; text-align: left; }
th { background: #eef0f6; font-weight: 600; }
td.num, th.num { text-align: right; font-variant-numeric: tabular-nums; }
td.gel, td.num, td.status { white-space: nowrap; }
td.error { min-width: 240px; max-width: 560px; overflow-wrap: anywhere; }
td.warn { color: #b45309; font-weight: 600; }
.status { font-weight: 600; }
tr.done .status a { color: #2e7d32; }
tr.failed td { background: #fff3f3; }
tr.failed .status a, tr.failed .error { color: #b71c1c; }
tr.not-run .status { color: #666; }
h2 { font-size: 17px; margin: 22px 0 4px; }
.left-out { color: #b45309; font-weight: 600; }
.failed-part, .failed-part a { color: #b71c1c; }
.counts span { margin-right: 14px; }
"""


def link(target, state_dir):
    """A relative href from the summary page to target."""
    return urllib.parse.quote(os.path.relpath(target, state_dir))


def comparison_html(rows, comparison, failed_parts, state_dir):
    e = html.escape
    out = ["<h2 id=\"comparison\">Comparison</h2>\n"]
    for log, error in failed_parts:
        out.append(f"<p class=\"failed-part\"><a href=\"{e(link(log, state_dir))}\">Failed "
                   f"comparison part</a>: {e(error)}</p>\n")
    if comparison is None:
        return "".join(out)
    left_out = [row for row in rows if row.get("compared") == "no"]
    settings = comparison["settings"]
    made_with = f" ({e(settings_words(settings))})" if settings is not None else ""
    out.append(
        f"<p class=\"comparison\" data-fingerprints=\"{comparison['fingerprints']}\" "
        f"data-pairs=\"{comparison['pairs']}\">{comparison['fingerprints']} fingerprints of "
        f"{len(comparison['gels'])} gels compared{made_with}, {comparison['pairs']} pairs "
        f"reported: <a href=\"{e(link(comparison['table'], state_dir))}\">compare.tsv</a></p>\n")
    if left_out:
        names = ", ".join(f"{e(row['gel'])} ({e(row['status'])})" for row in left_out)
        out.append(f"<p class=\"left-out\">Left out: {names}</p>\n")
    out.append(rerun_notes("compare", "the comparison", "compare",
                           comparison_out_of_date(rows, comparison, state_dir),
                           comparison["requested"], settings))
    return "".join(out)


def rerun_notes(target, product, action, out_of_date, requested, settings,
                always=SETTINGS):
    """The notes that ask for the target to run again: gels done since its
    product was made, or settings changed since (`always` as for
    settings_words)."""
    e = html.escape
    out = []
    if out_of_date:
        out.append("<p class=\"left-out\">Gels were done since: run the target "
                   f"<code>{target}</code> again to bring {product} up to date.</p>\n")
    if requested is not None and requested != settings:
        out.append(f"<p class=\"left-out\">The settings are now "
                   f"{e(settings_words(requested, always))}: run the target <code>{target}</code> "
                   f"again to {action} with them.</p>\n")
    return "".join(out)


def map_out_of_date(rows, found, state_dir):
    """True when a done gel is newer than contigs.tsv."""
    made = mtime_ns(found["table"]) or 0
    return any(row["status"] == "done"
               and (mtime_ns(os.path.join(state_dir, "done", row["gel"])) or 0) > made
               for row in rows)


def map_words(found):
    """The map's figures in words, as in "12 contigs (N50 40 consensus-band
    units, 5 clones), 60 of 80 clones placed"."""
    f = found["figures"]
    return (f"{f['contigs']} contigs (N50 {f['n50_length']} consensus-band units, "
            f"{f['n50_clones']} clones), {f['placed']} of {f['fingerprints']} clones placed")


def section_start(anchor, heading, failed_log, failed_what, state_dir):
    """A section's heading and, when its last job failed, the link to the
    log with its first error line."""
    e = html.escape
    out = [f"<h2 id=\"{anchor}\">{heading}</h2>\n"]
    if failed_log is not None:
        out.append(f"<p class=\"failed-part\"><a href=\"{e(link(failed_log, state_dir))}\">Failed "
                   f"{failed_what}</a>: {e(first_error(failed_log, True))}</p>\n")
    return out


def map_html(rows, found, failed_log, state_dir):
    e = html.escape
    out = section_start("map", "Physical map", failed_log, "map build", state_dir)
    if found is None:
        return "".join(out)
    settings = found["settings"]
    made_with = f" ({e(settings_words(settings))})" if settings is not None else ""
    links = (f"<a href=\"{e(link(found['page'], state_dir))}\">map.html</a>, "
             f"<a href=\"{e(link(found['table'], state_dir))}\">contigs.tsv</a>")
    f = found["figures"]
    if f is None:
        out.append(f"<p class=\"failed-part\">The map{made_with} cannot be read: "
                   f"{e(found['fault'])}; {links}</p>\n")
    else:
        out.append(f"<p class=\"map\" data-contigs=\"{f['contigs']}\" "
                   f"data-n50=\"{f['n50_length']}\" data-n50-clones=\"{f['n50_clones']}\" "
                   f"data-placed=\"{f['placed']}\" data-fingerprints=\"{f['fingerprints']}\">"
                   f"{e(map_words(found))}{made_with}: {links}</p>\n")
    out.append(rerun_notes("map", "the map", "build the map",
                           map_out_of_date(rows, found, state_dir), found["requested"], settings))
    return "".join(out)


def place_html(found, failed_log, state_dir):
    e = html.escape
    out = section_start("place", "Map on the genome", failed_log, "placement", state_dir)
    if found is None:
        return "".join(out)
    settings = found["settings"]
    made_with = (f" ({e(settings_words(settings, PLACE_ALWAYS))})"
                 if settings is not None else "")
    links = ", ".join(f"<a href=\"{e(link(path, state_dir))}\">{e(os.path.basename(path))}</a>"
                      for path in found["files"].values())
    if found["fault"]:
        out.append(f"<p class=\"failed-part\">The placement{made_with} cannot be read: "
                   f"{e(found['fault'])}; {links}</p>\n")
    else:
        words = placement_words(found)
        out.append(f"<p class=\"place\">{e(words) if words else 'Placed'}{made_with}: "
                   f"{links}</p>\n")
    if settings is not None:
        out.append(rerun_notes("place", "the placement", "place", False, found["requested"],
                               settings, PLACE_ALWAYS))
    return "".join(out)


def summary_html(rows, gels_dir, state_dir, comparison=None, found_map=None):
    columns = figure_columns(rows)
    counts = status_counts(rows)
    e = html.escape
    out = [
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n",
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n",
        f"<title>Gel batch: {e(gels_dir)}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n",
        f"<h1>Gel batch</h1>\n<p>Gels in <code>{e(gels_dir)}</code>: {len(rows)}</p>\n",
        "<p class=\"counts\">",
        f"<span class=\"done\">{counts['done']} done</span>",
        f"<span class=\"failed\">{counts['failed']} failed</span>",
        f"<span class=\"not-run\">{counts['not run']} not run</span></p>\n",
        "<table class=\"gels\">\n<thead><tr><th>Gel</th><th>Status</th>",
    ]
    out += [f"<th class=\"num\">{e(heading)}</th>" for _, heading in columns]
    out.append("<th>First error</th></tr></thead>\n<tbody>\n")
    for row in rows:
        status = row["status"]
        out.append(f"<tr class=\"gel {status.replace(' ', '-')}\" data-gel=\"{e(row['gel'])}\">")
        out.append(f"<td class=\"gel\">{e(row['gel'])}</td><td class=\"status\">")
        target = row.get("report") or row.get("log")
        if status != "not run" and target:
            out.append(f"<a href=\"{e(link(target, state_dir))}\">{status}</a>")
        else:
            out.append(status)
        out.append("</td>")
        for key, _ in columns:
            value = row.get(key, "")
            warn = key.endswith("_warnings") and value not in ("", "0")
            out.append(f"<td class=\"num{' warn' if warn else ''}\">{e(value)}</td>")
        out.append(f"<td class=\"error\">{e(row['first_error'])}</td></tr>\n")
    out.append("</tbody>\n</table>\n")
    failed_parts = failed_compare_parts(state_dir)
    if comparison is not None or failed_parts:
        out.append(comparison_html(rows, comparison, failed_parts, state_dir))
    failed_log = failed_map_log(state_dir)
    if found_map is not None or failed_log is not None:
        out.append(map_html(rows, found_map, failed_log, state_dir))
    found_place, failed_place = read_placement(state_dir), failed_place_log(state_dir)
    if found_place is not None or failed_place is not None:
        out.append(place_html(found_place, failed_place, state_dir))
    out.append(
        "<p>Done gels link to their <code>report.html</code>, failed gels to their log.</p>\n"
        "</body>\n</html>\n"
    )
    return "".join(out)


def write_text(path, text):
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def write_summary(gels_dir, state_dir, gels=None):
    """Writes summary.tsv and index.html into state_dir; returns the rows."""
    if gels is None:
        gels = find_gels(gels_dir)
    rows = [gel_row(gels_dir, state_dir, gel) for gel in gels]
    comparison = read_comparison(state_dir)
    mark_compared(rows, comparison)
    os.makedirs(state_dir, exist_ok=True)
    write_text(os.path.join(state_dir, "summary.tsv"), summary_tsv(rows))
    write_text(os.path.join(state_dir, "index.html"),
               summary_html(rows, gels_dir, state_dir, comparison, read_map(state_dir)))
    return rows


def failed_compare_parts(state_dir):
    """(log, first error line) of every comparison part whose last run
    failed: a log but no table, and no comparison joined since."""
    folder = os.path.join(state_dir, "compare")
    joined = mtime_ns(os.path.join(state_dir, "compare.tsv"))
    failed = []
    names = os.listdir(folder) if os.path.isdir(folder) else []
    for name in sorted(names):
        if re.fullmatch(r"[0-9]+-of-[0-9]+\.log", name) is None:
            continue
        log = os.path.join(folder, name)
        table = log[: -len(".log")] + ".tsv"
        if not os.path.isfile(table) and (joined is None or (mtime_ns(log) or 0) > joined):
            failed.append((log, first_error(log, True)))
    return failed


def report_failures(rows, state_dir, out):
    """Names every failed gel with its first error line, then the counts."""
    for row in rows:
        if row["status"] == "failed":
            out.write(f"failed gel {row['gel']}: {row['first_error']} (log {row['log']})\n")
    for log, error in failed_compare_parts(state_dir):
        out.write(f"failed comparison part: {error} (log {log})\n")
    comparison = read_comparison(state_dir)
    if comparison is not None:
        left_out = [row["gel"] for row in rows if row.get("compared") == "no"]
        settings = comparison["settings"]
        out.write(
            f"comparison: {comparison['fingerprints']} fingerprints of "
            f"{len(comparison['gels'])} gels, {comparison['pairs']} pairs in {comparison['table']}"
            + (f" ({settings_words(settings)})" if settings is not None else "")
            + (f"; left out: {', '.join(left_out)}" if left_out else "") + "\n")
    failed_log = failed_map_log(state_dir)
    if failed_log is not None:
        out.write(f"failed map: {first_error(failed_log, True)} (log {failed_log})\n")
    found = read_map(state_dir)
    if found is not None:
        settings = found["settings"]
        out.write(
            "map: " + (map_words(found) if found["figures"] is not None
                       else "cannot be read (%s)" % found["fault"])
            + f" in {found['table']}"
            + (f" ({settings_words(settings)})" if settings is not None else "") + "\n")
    failed_log = failed_place_log(state_dir)
    if failed_log is not None:
        out.write(f"failed placement: {first_error(failed_log, True)} (log {failed_log})\n")
    found = read_placement(state_dir)
    if found is not None:
        out.write("placement: " + (found["fault"] or placement_words(found)) + " in "
                  + ", ".join(found["files"].values()) + "\n")
    counts = status_counts(rows)
    out.write(
        f"batch summary: {counts['done']} done, {counts['failed']} failed, "
        f"{counts['not run']} not run; see {os.path.join(state_dir, 'index.html')}\n"
    )


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    report_failures(write_summary(sys.argv[1], sys.argv[2]), sys.argv[2], sys.stdout)
