// zeGenLibrary: writes the bands files of a simulated clone library, one
// file per gel, and the truth: where each clone lies on the genome. The
// overlap benchmark and the tests compare zeCompare's pairs with it.
//
// The model: a genome cut into restriction fragments of exponential length;
// clones are random intervals of normal length; a clone's bands are its
// interior fragments within a size window, placed on the standard scale by
// log size, each with normal gel noise; bands that fall on one position
// merge, as doublets do on a gel. On top of it, the errors of a real
// library, each a flag and all off with --perfect: extra and missing
// bands, the cloning vector's bands, the partial fragments at a clone's
// ends, chimeric clones joined from two distant pieces, and repeat
// families whose copies give distant clones shared bands (zeLibBands.h has the
// order in which they apply to one clone).
//
// truth.tsv, tab-separated with a header, one row per clone:
//   clone gel start end   name, gel number, [start, end) on the genome
//                         (0-based; of a chimeric clone its first piece)
//   chimeric              1 or 0
//   first_fragment last_fragment    the first and last restriction
//                         fragment wholly inside the clone (first piece):
//                         fragment k runs from cut k to cut k + 1 of the
//                         genome with its repeat copies; - when none
//   start2 end2 first_fragment2 last_fragment2   the same of a chimeric
//                         clone's second piece; - for the other clones
// With --chromosomes, the genome is that many chromosomes end to end and
// truth.tsv ends in each piece's chromosome (zeLibChromosomes.h); with
// --markers, markers.tsv, marker-map.tsv and markers-truth.tsv
// (zeLibMarkers.h), from a stream of their own.
// With --repeats above 0, repeats.tsv: block (the family, from 1), start,
// end of every repeat copy. With --genome, genome.fasta (the site at every
// cut, zeLibSequence.h) and <gel>.sizes; with --draft, draft.fasta and
// draft-truth.tsv (zeLibDraft.h). With --genome-from, the cuts are the
// sites of a real genome (zeLibGenomeFrom.h) and <gel>.sizes is written. Their numbers come from streams of their
// own, so that the bands files stay as they were but for the cuts too
// close for two sites.
//
// Output depends only on the seed and the flags: the random numbers come
// from our own generator, one stream per concern (zeLibRandom.h); the
// errors draw only from streams of their own, so that --perfect writes the
// bands files of the error-free model byte for byte.

#include <string>
#include <vector>

#include "zeBandsFile.h"
#include "zeLibBands.h"
#include "zeLibChromosomes.h"
#include "zeLibClone.h"
#include "zeLibDraft.h"
#include "zeLibGenome.h"
#include "zeLibGenomeFrom.h"
#include "zeLibMarkers.h"
#include "zeLibOptions.h"
#include "zeLibOutput.h"
#include "zeLibRandom.h"
#include "zeLibSequence.h"
#include "zeToolArgs.h"
#include "zeToolOutput.h"

namespace {

// Written as it is made: a genome is the largest file by far.
void writeGenome(const std::string& path, const std::string& sequence) {
    CheckedOutput out = toolFile(path);
    putFastaRecord("genome", sequence.data(), sequence.size(),
                   [&](const std::string& text) { out.write(text); });
    out.finish();
}

bool writeDraft(const Options& o, const std::string& sequence) {
    Rng draftRng = streamFor(o.seed, DRAFT);
    std::vector<DraftSequence> draft =
        cutDraft(draftRng, (int64_t)sequence.size(), o.draftMean, o.misjoins);
    CheckedOutput out = toolFile(o.outDir + "/draft.fasta");
    for (const DraftSequence& d : draft) {
        std::string bases = draftBases(sequence, d);
        putFastaRecord(d.name, bases.data(), bases.size(),
                       [&](const std::string& text) { out.write(text); });
    }
    out.finish();
    return writeToolFile(o.outDir + "/draft-truth.tsv", draftTruthTable(draft));
}

// The markers along the chromosomes and their hits on the library's clones.
bool writeMarkers(const Options& o, const Chromosomes& chromosomes, const std::vector<Clone>& clones) {
    Rng markerRng = streamFor(o.seed, MARKERS);
    std::vector<Marker> markers = placeMarkers(markerRng, chromosomes, o.markers);
    std::vector<std::string> names;
    for (size_t k = 0; k < clones.size(); ++k)
        names.push_back(cloneName((long)k + 1));
    return writeToolFile(o.outDir + "/markers.tsv",
                         markerHitsTable(markerHits(markerRng, markers, clones, o.markers), names,
                                         markers)) &&
           writeToolFile(o.outDir + "/marker-map.tsv", markerMapTable(markers)) &&
           writeToolFile(o.outDir + "/markers-truth.tsv", markersTruthTable(markers, chromosomes));
}

} // namespace

int main(int argc, char** argv) {
    setUsageProgram("zeGenLibrary");
    Options o = parseOptions(argc, argv);

    Rng genomeRng = streamFor(o.seed, GENOME);
    Rng cloneRng = streamFor(o.seed, CLONES);
    Rng chimeraRng = streamFor(o.seed, CHIMERAS);
    BandStreams bandStreams(o.seed);
    std::vector<int64_t> cuts;
    std::string sequence;
    if (o.genomeFrom.empty()) {
        cuts = cutGenome(genomeRng, (int64_t)o.genomeLength, o.fragmentMean);
    } else {
        GenomeFrom real;
        std::string error;
        if (!readGenomeFrom(o.genomeFrom, o.site, o.draft, real, error)) failUsage(error);
        cuts = std::move(real.cuts);
        sequence = std::move(real.bases);
    }
    const int64_t genome = cuts.back();
    const Chromosomes chromosomes = equalChromosomes(genome, o.chromosomes);
    // Before any file: clones must fit within a chromosome, bar the rarest.
    if (o.chromosomes > 1 && (double)chromosomes.length(0) < o.cloneMean + 6 * o.cloneSd)
        failUsage("chromosomes of " + std::to_string((long long)chromosomes.length(0)) +
                  " bases are too short for clones of mean length " +
                  std::to_string((long long)o.cloneMean));
    std::vector<RepeatCopy> copies;
    if (o.errors.repeats > 0) {
        Rng repeatRng = streamFor(o.seed, REPEATS);
        std::vector<RepeatBlock> blocks = makeRepeatBlocks(repeatRng, o.fragmentMean, genome, o.errors.repeats);
        copies = layRepeatCopies(repeatRng, blocks, genome, o.errors.repeats);
        cuts = withRepeats(cuts, blocks, copies);
    }
    if (o.genome && o.genomeFrom.empty()) {
        cuts = cutsRoomForSites(cuts, o.site.size());
        Rng sequenceRng = streamFor(o.seed, SEQUENCE);
        std::string error;
        if (!genomeSequence(sequenceRng, cuts, o.site, sequence, error)) failUsage(error);
    }
    // After the repeats, which may find no room: a refused run leaves no directory.
    makeDirectories(o.outDir);
    if (o.genome && o.genomeFrom.empty()) writeGenome(o.outDir + "/genome.fasta", sequence);
    if (o.draft && !writeDraft(o, sequence)) return 1;

    const bool sizesFiles = o.genome || !o.genomeFrom.empty();
    std::string truth = truthHeader(o.chromosomesGiven), gel, sizes;
    std::vector<Clone> clones;
    Fingerprint sizeBlock;
    Fingerprint block;
    for (long i = 0; i < o.clones; ++i) {
        long gelNumber = 1 + i / o.perGel;
        Clone c = placeCloneOnOneChromosome(cloneRng, o.cloneMean, o.cloneSd, chromosomes);
        maybeChimeric(chimeraRng, o.errors.chimeric, genome, c);
        cloneBands(bandStreams, o, cuts, c, block.bands);
        block.clone = cloneName(i + 1);
        block.gel = std::to_string(gelNumber);
        appendBandsBlock(gel, block);
        if (sizesFiles) {
            sizeBlock.clone = block.clone;
            sizeBlock.gel = block.gel;
            sizeBlock.bands = bandSizes(o, block.bands);
            appendBandsBlock(sizes, sizeBlock);
        }
        appendTruthRow(truth, block.clone, gelNumber, c, cuts, o.chromosomesGiven ? &chromosomes : nullptr);
        if (o.markers.spacing > 0) clones.push_back(c);
        if ((i + 1) % o.perGel == 0 || i + 1 == o.clones) {
            if (!writeToolFile(o.outDir + "/" + std::to_string(gelNumber) + ".bands", gel)) return 1;
            gel.clear();
            if (sizesFiles &&
                !writeToolFile(o.outDir + "/" + std::to_string(gelNumber) + ".sizes", sizes))
                return 1;
            sizes.clear();
        }
    }
    if (o.markers.spacing > 0 && !writeMarkers(o, chromosomes, clones)) return 1;
    if (!copies.empty() && !writeToolFile(o.outDir + "/repeats.tsv", repeatsTable(copies))) return 1;
    return writeToolFile(o.outDir + "/truth.tsv", truth) ? 0 : 1;
}
