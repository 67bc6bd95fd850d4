// zePlace --gff with --map-gff: zeContig's GFF3 of the map checked against
// the table and written again with the placements after it. The merge on
// a hand-made file (IDs kept unique, every fault of a file of another map
// refused with its line), and end to end on the hand map's bands: the
// file begins with zeContig's own lines for that map, passes the GFF3
// validator where installed, and a GFF3 of another map is refused with
// no output left.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>

#include "placeTestSupport.h"
#include "testSupport.h"
#include "zeMapGff.h"
#include "zePlaceAgp.h"
#include "zePlaceGff.h"

using namespace zetest;

namespace {

const std::vector<long> ENDS = {0, 50, 0, 80}; // contig 2 unused
const std::string HEAD = "##gff-version 3\n"
                         "##sequence-region contig1 1 50\n"
                         "##sequence-region contig3 1 80\n";
const std::string CLONES = "contig1\tzeContig\tclone\t1\t20\t.\t.\t.\tID=s:0-100;Name=s\n"
                           "contig3\tzeContig\tclone\t5\t80\t.\t.\t.\tID=B:1:2;Name=B\n";

PlacementRow placed(const std::string& name, int contig, long left, long right) {
    PlacementRow r;
    r.sequence = name;
    r.seqEnd = 100;
    r.contig = contig;
    r.left = left;
    r.right = right;
    r.status = PlaceStatus::Placed;
    return r;
}

std::string refusal(const std::string& text) {
    MapGff gff;
    std::string error;
    EXPECT_FALSE(parseMapGff(text, "m.gff3", ENDS, gff, error)) << text;
    return error;
}

} // namespace

TEST(PlaceGff, MapLinesComeFirstAndPlacementIdsStayUnique) {
    MapGff gff;
    std::string error;
    ASSERT_TRUE(parseMapGff(HEAD + "\r\n" + CLONES, "m.gff3", ENDS, gff, error)) << error;
    EXPECT_EQ(gff.text, HEAD + CLONES) << "blank lines dropped, line ends made plain";
    PlacementRow unplaced;
    unplaced.sequence = "u";
    PlacementRow unknownStrand = placed("a;b", 3, 9, 80);
    unknownStrand.strand = 0;
    std::string out = placementGff(gff, {placed("s", 1, 0, 30), unplaced, unknownStrand});
    EXPECT_EQ(out, HEAD + CLONES +
                       "contig1\tzePlace\tmatch\t1\t30\t.\t+\t.\tID=s:0-100.2;Name=s;seq_start=0;"
                       "seq_end=100;matched=0;fragments=0;status=placed\n"
                       "contig3\tzePlace\tmatch\t10\t80\t.\t?\t.\tID=a%3Bb:0-100;Name=a%3Bb;"
                       "seq_start=0;seq_end=100;matched=0;fragments=0;status=placed\n");
    // AGP 2.1 writes an unknown orientation as GFF3 does.
    EXPECT_NE(placementAgp({unknownStrand}).find("\ncontig3\t1\t100\t1\tW\ta;b\t1\t100\t?\n"),
              std::string::npos);
}

TEST(PlaceGff, FileOfAnotherMapIsRefusedAtItsLine) {
    EXPECT_EQ(refusal(""), "m.gff3:1: not a GFF3 file: it is empty");
    EXPECT_EQ(refusal("contig\tclone\n"),
              "m.gff3:1: not a GFF3 file: its first line is not '##gff-version 3'");
    EXPECT_EQ(refusal(HEAD + "##gff-version 3\n"), "m.gff3:4: a second '##gff-version' line");
    EXPECT_EQ(refusal(HEAD + "##sequence-region contig2 1 10\n"),
              "m.gff3:4: 'contig2' is no contig of the map's table: the GFF3 file is of another map");
    EXPECT_EQ(refusal(HEAD + "##sequence-region contig1 1 50\n"),
              "m.gff3:4: a second ##sequence-region of contig1 (the first is at line 2)");
    EXPECT_EQ(refusal("##gff-version 3\n##sequence-region contig1 1 51\n"),
              "m.gff3:2: contig1 runs 1..51 here, 1..50 in the map's table: the GFF3 file is of "
              "another map");
    EXPECT_EQ(refusal("##gff-version 3\n##sequence-region contig1 1 50\n"),
              "m.gff3:2: no ##sequence-region line of contig3, a contig of the map's table: the "
              "GFF3 file is of another map");
    EXPECT_EQ(refusal(HEAD + "contig1\tzeContig\tclone\t1\t51\t.\t.\t.\tID=x\n"),
              "m.gff3:4: the feature's start and end (1, 51) do not lie within contig1, 1..50");
    EXPECT_EQ(refusal(HEAD + "contig9\tzeContig\tclone\t1\t5\t.\t.\t.\tID=x\n"),
              "m.gff3:4: a feature on 'contig9', which no ##sequence-region line before it declares");
    EXPECT_EQ(refusal(HEAD + "contig1\tzeContig\tclone\t1\t5\n"),
              "m.gff3:4: expected a feature of 9 tab-separated columns, not 5");
    EXPECT_EQ(refusal(HEAD + CLONES + "contig3\tzeContig\tclone\t1\t5\t.\t.\t.\tName=x;ID=B:1:2\n"),
              "m.gff3:6: a second feature of ID 'B:1:2'");
    EXPECT_EQ(refusal(HEAD + "contig1\tzePlace\tmatch\t1\t5\t.\t+\t.\tID=x\n"),
              "m.gff3:4: a feature of zePlace: give the GFF3 file zeContig wrote, without placements");
    EXPECT_EQ(refusal(HEAD + "##FASTA\n"),
              "m.gff3:4: a ##FASTA section: zePlace's features could not follow it");
    // It would be written again as it is, a carriage return inside a line.
    EXPECT_EQ(refusal(HEAD + "contig1\tzeContig\tclone\t1\t5\t.\t.\t.\tID=x\r\r\n"),
              "m.gff3:4: a carriage return inside the line (lines must end in \\n or \\r\\n)");
}

TEST(PlaceGff, OneFileOfTheMapAndItsPlacements) {
    TempDir dir;
    HandMap map = writeHandMap(dir.path());
    RunResult built = run(ZECONTIG_BIN, {"-o", dir / "map.tsv", "--gff", dir / "map.gff3", dir / "1.bands"});
    ASSERT_EQ(built.status, 0) << built.err;
    std::string bases = fragmentsOf(map, 0, 20, 35);
    writeFile(dir / "seq.fasta", fastaRecord("fwd", bases) + fastaRecord("rev", reverseComplement(bases)));
    std::vector<std::string> args{"--map", dir / "map.tsv", "--enzyme", "HindIII", "-o", dir / "out.tsv",
                                  "--gff", dir / "out.gff3", "--map-gff", dir / "map.gff3",
                                  dir / "seq.fasta", dir / "1.bands"};
    RunResult r = run(ZEPLACE_BIN, args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string mapGff = readFile(dir / "map.gff3"), out = readFile(dir / "out.gff3");
    ASSERT_EQ(out.substr(0, mapGff.size()), mapGff) << "the regions and contig features as zeContig wrote them";
    std::string placements = out.substr(mapGff.size());
    EXPECT_EQ(placements.find('#'), std::string::npos) << placements;
    EXPECT_EQ(placements.find("\tzePlace\tmatch\t"), placements.find('\t')) << placements;
    EXPECT_NE(placements.find("ID=rev:0-"), std::string::npos) << placements;
    std::string gt = programOnPath("gt");
    if (!gt.empty()) {
        RunResult valid = run(gt, {"gff3validator", dir / "out.gff3"});
        EXPECT_EQ(valid.status, 0) << valid.err << valid.out;
        EXPECT_NE(valid.out.find("input is valid GFF3"), std::string::npos) << valid.out;
    }

    // The GFF3 of another map: the table's first contig ends elsewhere.
    std::string other = mapGff;
    size_t region = other.find("##sequence-region contig1 1 ");
    ASSERT_NE(region, std::string::npos) << other;
    other.insert(other.find('\n', region), "0");
    writeFile(dir / "map.gff3", other);
    ASSERT_EQ(unlink((dir / "out.gff3").c_str()), 0);
    ASSERT_EQ(unlink((dir / "out.tsv").c_str()), 0);
    r = run(ZEPLACE_BIN, args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ERROR: " + dir / "map.gff3" + ":2: contig1 runs 1.."), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(dir / "out.gff3"));
    EXPECT_FALSE(fileExists(dir / "out.tsv"));

    // The map's GFF3 is read only to be written again.
    args.erase(std::find(args.begin(), args.end(), "--gff"), std::find(args.begin(), args.end(), "--map-gff"));
    r = run(ZEPLACE_BIN, args);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("--map-gff goes with --gff"), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(dir / "out.tsv"));
}
