#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/ from the example project, the
example configuration script and small generated projects.

    fuzz/make_seeds.py GENERATOR
    fuzz/make_seeds.py --readers     (only the hand-made seeds of zeContig's
                                      and zePlace's readers)

GENERATOR is the zeGenProject binary of a build. Seeds stay small (a few KB)
so that they can be committed; each starts with the parameter bytes its
harness takes off the front of the input.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import zlib

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


def gzipped(data):
    z = zlib.compressobj(6, zlib.DEFLATED, 31)
    return z.compress(data) + z.flush()


def reader_seeds():
    """Valid and nearly valid files of zeContig's and zePlace's readers."""
    # fasta: mode (0 as is, 1 gzipped, 2 two members, 3 cut short, 4 bytes
    # after the stream), where to split or cut, then the text
    fasta = (b">s1 a description\nACGTAAGCTTACGTTT\nacgtnnRYSWaagcttKMBDHV\n"
             b">s2\nAAGCTTAAGCTTCCCCAAGCTT\n\n")
    put("fasta", "plain", bytes([0, 0]) + fasta)
    put("fasta", "crlf", bytes([0, 0]) + fasta.replace(b"\n", b"\r\n"))
    put("fasta", "gzip_file", bytes([0, 0]) + gzipped(fasta))
    put("fasta", "gzipped", bytes([1, 0]) + fasta)
    put("fasta", "two_members", bytes([2, 100]) + fasta)
    put("fasta", "cut_short", bytes([3, 3]) + fasta)
    put("fasta", "trailing_bytes", bytes([4, 0x1e]) + fasta)
    put("fasta", "empty_record", bytes([0, 0]) + b">a\n>b\nACGT\n")
    put("fasta", "header_last", bytes([0, 0]) + b">a\nACGT\n>b\n")
    put("fasta", "no_name", bytes([0, 0]) + b"> x\nACGT\n")
    put("fasta", "bases_first", bytes([0, 0]) + b"ACGT\n>a\nAC\n")
    put("fasta", "sink_refuses", bytes([0, 0]) + b">a\nAC\n>repeated\nACGT\n")
    put("fasta", "long_line", bytes([0, 0]) + b">a\n" + b"A" * 1100 + b"\n")
    put("fasta", "bad_base", bytes([0, 0]) + b">a\nAC-GT\n")
    put("fasta", "no_line_end", bytes([1, 0]) + b">a b\tc\nAAGCTTA")
    put("fasta", "control_in_name", bytes([0, 0]) + b">a\x01b\nACGT\n")
    # a text that starts as gzip does is read as gzip, not as text
    put("fasta", "gzip_magic_text", bytes([1, 0x30]) + b"\x1f\x8b")

    # contigtable: the table
    header = b"contig\tclone\tgel\tordinal\tleft\tright\tstatus\tburied_in\tlinks\n"
    rows = (b"1\tA00\t1\t1\t0\t40\tok\t-\t-\n"
            b"1\tA01\t1\t2\t10\t30\tburied\tA00:1:1\t-\n"
            b"2\tB00\t2\t1\t0\t25\tQ\t-\t-\n"
            b"0\tC00\t2\t2\t-\t-\tchimeric\t-\t1,2\n")
    put("contigtable", "table", header + rows)
    put("contigtable", "crlf", (header + rows).replace(b"\n", b"\r\n") + b"\n\n")
    put("contigtable", "header_only", header)
    put("contigtable", "blank_inside", header + b"1\tA00\t1\t1\t0\t40\tok\t-\t-\n\n" + rows)
    put("contigtable", "short_row", header + b"1\tA00\t1\n")
    put("contigtable", "high_number", header + b"999999\tA00\t1\t1\t0\t40\tok\t-\t-\n")
    put("contigtable", "past_int_max", header + b"2147483647\tA00\t1\t1\t0\t40\tok\t-\t-\n")
    put("contigtable", "lone_cr", header + b"2\tA\r00\t1\t1\t0\t40\tok\t-\t-\n")

    # hits: the file
    put("hits", "hits", b"clone marker\nA00 m1\nA01\tm1\n\nA00  m2\nA00 m1\n")
    put("hits", "crlf", b"clone\tmarker\r\nA00\tm1\r\n")
    put("hits", "no_header", b"A00 m1\n")
    put("hits", "three_fields", b"clone marker\nA00 m1 x\n")
    put("hits", "lone_cr", b"clone\tmarker\r\nA00\tm1\r\x05")
    put("hits", "mac_line_ends", b"clone marker\rA00 m1\rA01 m2\r")

    # markermap: the file
    put("markermap", "map", b"marker chromosome position\nm1 chr1 0.5\nm2\tchr2\t1e3\n"
                            b"m3 chr1 -2\n\nm4 chr2 0x10\n")
    put("markermap", "crlf", b"marker chromosome position\r\nm1 1 12\r\n")
    put("markermap", "not_finite", b"marker chromosome position\nm1 chr1 nan\nm2 chr1 1e999\n")
    put("markermap", "twice", b"marker chromosome position\nm1 chr1 1\nm1 chr2 2\n")

    # mapgff: contigs, their ends, then the file
    gff = (b"##gff-version 3\n##sequence-region contig1 1 40\n##sequence-region contig2 1 60\n"
           b"contig1\tzeContig\tcontig\t1\t40\t.\t.\t.\tID=contig1;Name=contig1\n"
           b"contig1\tzeContig\tclone\t1\t20\t.\t.\t.\tID=A00%3A1%3A1;Name=A00\n"
           b"# a comment\n"
           b"contig2\tzeContig\tcontig\t1\t60\t.\t.\t.\tID=contig2\n")
    put("mapgff", "map", bytes([2, 40, 60]) + gff)
    put("mapgff", "crlf", bytes([2, 40, 60]) + gff.replace(b"\n", b"\r\n"))
    put("mapgff", "gap", bytes([3, 40, 0, 60]) + gff.replace(b"contig2", b"contig3"))
    put("mapgff", "other_map", bytes([1, 41]) + gff)
    put("mapgff", "fasta", bytes([2, 40, 60]) + gff + b"##FASTA\n>contig1\nACGT\n")
    put("mapgff", "lone_cr", bytes([2, 40, 60]) + gff.replace(b"contig2\n", b"contig2\r\r\n"))

    # chromosomes: the contig table, the hits file and the marker map,
    # separated by the line "#ZE#"
    table = header + (b"1\tA00\t1\t1\t0\t40\tok\t-\t-\n"
                      b"1\tA01\t1\t2\t20\t60\tok\t-\t-\n"
                      b"1\tA02\t1\t3\t50\t90\tok\t-\t-\n"
                      b"1\tA03\t1\t4\t80\t120\tok\t-\t-\n"
                      b"3\tB00\t2\t1\t0\t40\tok\t-\t-\n"
                      b"3\tB01\t2\t2\t30\t70\tburied\tB00:2:1\t-\n"
                      b"3\tB02\t2\t3\t60\t99\tQ\t-\t-\n"
                      b"0\tC00\t2\t4\t-\t-\tchimeric\t-\t1,3")
    hits = (b"clone marker\nA00 m1\nA01 m1\nA01 m2\nA02 m2\nA02 m3\nA03 m3\nA03 m4\n"
            b"B00 m5\nB01 m5\nB01 m6\nB02 m6\nC00 m1\nC00 m9\nZ99 m1\nA00 m1")
    markers = (b"marker chromosome position\nm1 chr1 1.5\nm2 chr1 2.5\nm3 chr1 4\nm4 chr1 6\n"
               b"m5 chr2 10\nm6 chr2 12\nm9 chr3 1\n")
    put("chromosomes", "two_chromosomes", SEPARATOR.join([table, hits, markers]))
    put("chromosomes", "reversed", SEPARATOR.join([table, hits, markers.replace(b"1.5", b"9").replace(b"m4 chr1 6", b"m4 chr1 0")]))
    put("chromosomes", "conflict", SEPARATOR.join([table, hits + b"\nA03 m5\nA02 m6", markers]))
    put("chromosomes", "no_hits", SEPARATOR.join([table, b"clone marker", markers]))

    # contigoptions: the arguments, separated by NUL bytes
    for name, args in [
        ("plain", [b"a.bands"]),
        ("all", [b"-t", b"7", b"-c", b"1e-10", b"-j", b"2", b"-o", b"map.tsv", b"--mtp", b"m.tsv",
                 b"--mtp-shared=5", b"--gff", b"m.gff", b"--html", b"p.html", b"--previous",
                 b"old.tsv", b"a.bands", b"b.bands"]),
        ("markers", [b"--markers=h.txt", b"--marker-cutoff", b"1e-5", b"a.bands"]),
        ("marker_cutoff_alone", [b"--marker-cutoff=1e-4", b"a.bands"]),
        ("help", [b"-h"]),
        ("version", [b"--version", b"x"]),
        ("bad_threads", [b"-j", b"0", b"a"]),
        ("missing_value", [b"a.bands", b"-t"]),
        ("short_long", [b"--mtp-sh=3", b"a"]),
        ("empty_file", [b"-o", b"", b"a"]),
    ]:
        put("contigoptions", name, b"\0".join(args))

    # placeoptions: the arguments, separated by NUL bytes
    for name, args in [
        ("site", [b"--map", b"c.tsv", b"--site", b"aagctt", b"d.fa", b"1.bands"]),
        ("all", [b"--map=c.tsv", b"--enzyme", b"HindIII", b"-t", b"9", b"-c", b"0.01", b"-o",
                 b"p.tsv", b"--agp", b"m.agp", b"--gff", b"p.gff3", b"--map-gff", b"m.gff3",
                 b"--html", b"p.html", b"--markers", b"h.tsv", b"--marker-map", b"mm.tsv",
                 b"--chromosomes", b"chr.tsv", b"d.fa.gz", b"1.bands", b"2.bands"]),
        ("chromosomes_only", [b"--map", b"c.tsv", b"--markers", b"h.tsv", b"--marker-map",
                              b"mm.tsv", b"--chromosomes", b"chr.tsv", b"1.bands"]),
        ("chromosomes_with_output", [b"--map", b"c.tsv", b"--markers", b"h", b"--marker-map",
                                     b"m", b"--chromosomes", b"o", b"-o", b"p.tsv"]),
        ("both_sites", [b"--map", b"c", b"--site", b"GATC", b"--enzyme", b"EcoRI", b"d", b"b"]),
        ("bad_site", [b"--map", b"c", b"--site", b"AAGNTT", b"d", b"b"]),
        ("no_bands", [b"--map", b"c", b"--site", b"GAATTC", b"d.fa"]),
        ("map_gff_alone", [b"--map", b"c", b"--site", b"GAATTC", b"--map-gff", b"g", b"d", b"b"]),
        ("help", [b"--help"]),
        ("cutoff_zero", [b"--map", b"c", b"--enzyme", b"NotI", b"-c", b"0", b"d", b"b"]),
    ]:
        put("placeoptions", name, b"\0".join(args))

    # compareoptions: the arguments, separated by NUL bytes
    for name, args in [
        ("plain", [b"a.bands"]),
        ("all", [b"-t", b"5", b"-c", b"1e-6", b"-j", b"2", b"--html", b"p.html", b"a", b"b"]),
        ("part", [b"--part", b"3/4", b"a.bands"]),
        ("part_equals", [b"--part=1/1", b"a"]),
        ("part_bad", [b"--part", b"5/4", b"a"]),
        ("part_html", [b"--part", b"1/2", b"--html", b"p", b"a"]),
        ("cutoff_every", [b"-c", b"1", b"a"]),
        ("help", [b"-h"]),
        ("no_file", [b"-t", b"7"]),
    ]:
        put("compareoptions", name, b"\0".join(args))


def main():
    if sys.argv[1:] == ["--readers"]:
        reader_seeds()
        return
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
    reader_seeds()


if __name__ == "__main__":
    main()
