#!/usr/bin/env bash
# How a contig table of zeContig compares with where the clones really lie:
# the truth.tsv of tools/zeGenLibrary. The same figures as bench/map_quality.py
# (defined in its head comment), computed with awk and sort only, so that the
# demo needs no Python.
#
#   scripts/map-against-truth.sh TRUTH TABLE
#
# Prints one "key<TAB>value" a line:
#   clones            clones of the truth
#   in_contigs        of them, placed in a contig
#   contigs           contigs of >= 2 clones
#   n50               N50 of those contigs' true spans (each one's longest
#                     stretch of the genome), bases; - without contigs
#   false_joins       contigs whose non-chimeric clones lie in more than one
#                     separate stretch of the genome
#   ordered           the ok, non-chimeric clones with a first fragment, whose
#                     order is measured
#   neighbours        pairs of them next to each other in a contig
#   neighbour_errors  of those, pairs in the wrong order (the contig read in
#                     the genome's direction)
#   displaced         ordered clones whose rank in the contig differs from their
#                     rank on the genome by more than 3
# A table naming a clone the truth lacks, or twice, or missing one, fails
# with one ERROR line and status 1.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: scripts/map-against-truth.sh TRUTH TABLE" >&2
    exit 2
fi
truth=$1 table=$2
for f in "$truth" "$table"; do
    if [ ! -r "$f" ] || [ -d "$f" ]; then
        echo "ERROR: cannot read $f" >&2
        exit 1
    fi
done
export LC_ALL=C

# One line per clone in a contig: contig, left, right, clone, status, and its
# truth: start, end, chimeric, first fragment ("-" for none); the number of
# clones of the truth into the file $1.
join_with_truth() {
    awk -F'\t' -v OFS='\t' -v truth="$truth" -v table="$table" -v count="$1" '
    function fail(text) { print "ERROR: " text > "/dev/stderr"; failed = 1; exit 1 }
    function columns(file, needed,   i, n, names) {
        delete at
        for (i = 1; i <= NF; i++) at[$i] = i
        n = split(needed, names, " ")
        for (i = 1; i <= n; i++)
            if (!(names[i] in at)) fail(file ": no column " names[i] " in the header")
    }
    FNR == 1 && FILENAME == truth {
        columns(truth, "clone start end")
        c_clone = at["clone"]; c_start = at["start"]; c_end = at["end"]
        c_chim = ("chimeric" in at) ? at["chimeric"] : 0
        c_first = ("first_fragment" in at) ? at["first_fragment"] : 0
        next
    }
    FILENAME == truth {
        if ($c_clone in start) fail(truth ": clone " $c_clone " twice")
        start[$c_clone] = $c_start; end_[$c_clone] = $c_end
        chimeric[$c_clone] = (c_chim && $c_chim == "1") ? 1 : 0
        # A truth without fragments: the generator'"'"'s mean fragment of 4000 bases.
        first[$c_clone] = c_first ? $c_first : int($c_start / 4000)
        clones++
        next
    }
    FNR == 1 {
        columns(table, "contig clone left right status")
        t_contig = at["contig"]; t_clone = at["clone"]; t_left = at["left"]
        t_right = at["right"]; t_status = at["status"]
        next
    }
    {
        name = $t_clone
        if (!(name in start)) fail(table " line " FNR ": clone " name " is not in the truth")
        if (name in seen) fail(table " line " FNR ": clone " name " twice")
        seen[name] = 1; rows++
        if ($t_contig != 0)
            print $t_contig, $t_left, $t_right, name, $t_status,
                  start[name], end_[name], chimeric[name], first[name]
    }
    END {
        if (failed) exit 1
        if (rows != clones) fail(table ": " (clones - rows) " clones of the truth have no row")
        print clones > count
    }' "$truth" "$table"
}

# The figures of the joined lines, contig by contig.
measure() {
    awk -F'\t' -v clones="$1" '
    # Heap sort of k1[1..n], ties by k2, both numbers, k2 moved along.
    function less(i, j) { return k1[i] < k1[j] || (k1[i] == k1[j] && k2[i] < k2[j]) }
    function swap(i, j,   t) { t = k1[i]; k1[i] = k1[j]; k1[j] = t; t = k2[i]; k2[i] = k2[j]; k2[j] = t }
    function sift(root, n,   child) {
        while ((child = 2 * root) <= n) {
            if (child < n && less(child, child + 1)) child++
            if (!less(root, child)) return
            swap(root, child); root = child
        }
    }
    function heapsort(n,   i) {
        for (i = int(n / 2); i >= 1; i--) sift(i, n)
        for (i = n; i > 1; i--) { swap(1, i); sift(1, i - 1) }
    }
    # rank[i]: the 1-based rank of v[i] among v[1..n], equal values sharing
    # the mean of their ranks.
    function ranks(v, n, rank,   i, j, k, r) {
        for (i = 1; i <= n; i++) { k1[i] = v[i]; k2[i] = 0 }
        heapsort(n)
        delete rank_of
        for (i = 1; i <= n; i = j + 1) {
            for (j = i; j < n && k1[j + 1] == k1[i]; j++) ;
            rank_of[k1[i]] = (i + j) / 2
        }
        for (i = 1; i <= n; i++) rank[i] = rank_of[v[i]]
    }
    # The sign of the correlation of x and y (0 when either has no spread).
    function correlation_sign(x, y, n,   i, mx, my, sxy, sxx, syy) {
        for (i = 1; i <= n; i++) { mx += x[i]; my += y[i] }
        mx /= n; my /= n
        for (i = 1; i <= n; i++) {
            sxy += (x[i] - mx) * (y[i] - my)
            sxx += (x[i] - mx) ^ 2
            syy += (y[i] - my) ^ 2
        }
        if (sxx == 0 || syy == 0) return 0
        return sxy < 0 ? -1 : 1
    }
    function close_contig(   i, runs, longest, s, e, n, sign, d) {
        in_contigs += members
        if (members >= 2) {
            contigs++
            # Separate stretches: a clone starting before the current one ends extends it.
            for (i = 1; i <= pieces; i++) { k1[i] = ps[i]; k2[i] = pe[i] }
            heapsort(pieces)
            runs = longest = 0
            for (i = 1; i <= pieces; i++) {
                if (runs && k1[i] < e) { if (k2[i] > e) e = k2[i]; continue }
                if (runs && e - s > longest) longest = e - s
                runs++; s = k1[i]; e = k2[i]
            }
            if (runs && e - s > longest) longest = e - s
            false_joins += runs > 1
            span[contigs] = longest
            # Order: ranks by left against ranks by first fragment, the
            # contig turned round when it reads the genome backwards.
            n = placed
            if (n >= 2) {
                ranks(left, n, left_rank)
                ranks(position, n, position_rank)
                sign = correlation_sign(left_rank, position_rank, n) < 0 ? -1 : 1
                for (i = 1; i <= n; i++) {
                    if (sign < 0) position_rank[i] = n + 1 - position_rank[i]
                    if (i < n && left[i] != left[i + 1] && sign * position[i] > sign * position[i + 1])
                        errors++
                    d = left_rank[i] - position_rank[i]
                    displaced += d > 3 || d < -3
                }
                neighbours += n - 1
            }
            ordered += n
        }
        members = pieces = placed = 0
    }
    $1 != contig { if (NR > 1) close_contig(); contig = $1 }
    {
        members++
        if ($8 == 0) { pieces++; ps[pieces] = $6 + 0; pe[pieces] = $7 + 0 }
        if ($5 == "ok" && $8 == 0 && $9 != "-") {
            placed++; left[placed] = $2 + 0; position[placed] = $9 + 0
        }
    }
    END {
        if (NR > 0) close_contig()
        # N50: the longest spans holding at least half of their sum.
        for (i = 1; i <= contigs; i++) { k1[i] = span[i]; k2[i] = 0; total += span[i] }
        heapsort(contigs)
        n50 = "-"
        for (i = contigs; i >= 1; i--) {
            running += k1[i]
            if (2 * running >= total) { n50 = k1[i]; break }
        }
        printf "clones\t%d\nin_contigs\t%d\ncontigs\t%d\nn50\t%s\nfalse_joins\t%d\n", \
            clones, in_contigs, contigs, n50, false_joins
        printf "ordered\t%d\nneighbours\t%d\nneighbour_errors\t%d\ndisplaced\t%d\n", \
            ordered, neighbours, errors + 0, displaced
    }'
}

count=$(mktemp) joined=$(mktemp)
trap 'rm -f "$count" "$joined"' EXIT
# Sorted by contig, then left, right and name: the order a contig is read in.
join_with_truth "$count" | sort -t "$(printf '\t')" -k1,1n -k2,2n -k3,3n -k4,4 >"$joined"
measure "$(cat "$count")" <"$joined"
