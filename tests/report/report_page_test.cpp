// Pieces of the page: escaping, base64, the PNG strips, and the strips
// checked pixel by pixel against the step's own Results pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "reportTestSupport.h"
#include "zeGelPicture.h"
#include "zeHtmlText.h"
#include "zePngData.h"

using namespace zetest;

TEST(ReportText, EscapesMarkupQuotesAndControlCharacters) {
    EXPECT_EQ(htmlEscape("a<b>&\"c'\x01\td\x7f"), "a&lt;b&gt;&amp;&quot;c&#39;&#xFFFD;\td&#xFFFD;");
    EXPECT_EQ(htmlEscape("bVT122_P03"), "bVT122_P03");
    // Bytes of UTF-8 (and any other byte at or above 0x80) pass unchanged.
    EXPECT_EQ(htmlEscape("\xc3\xa9"), "\xc3\xa9");
}

TEST(ReportText, NumbersNeverLookLikeNumbersWhenTheyAreNot) {
    EXPECT_EQ(fixed(142.74, 1), "142.7");
    EXPECT_EQ(fixed(-0.04, 1), "-0.0");
    EXPECT_EQ(fixed(std::nan(""), 1), "NaN");
    EXPECT_EQ(fixed(-INFINITY, 1), "-inf");
    EXPECT_EQ(fixed(1e300, 0).size(), 301u);
}

TEST(ReportPng, Base64OfTheStandardsVectors) {
    // RFC 4648, section 10.
    EXPECT_EQ(base64(""), "");
    EXPECT_EQ(base64("f"), "Zg==");
    EXPECT_EQ(base64("fo"), "Zm8=");
    EXPECT_EQ(base64("foo"), "Zm9v");
    EXPECT_EQ(base64("foob"), "Zm9vYg==");
    EXPECT_EQ(base64("fooba"), "Zm9vYmE=");
    EXPECT_EQ(base64("foobar"), "Zm9vYmFy");
    EXPECT_EQ(base64(std::string("\xff\xfe\x00", 3)), "//4A");
}

TEST(ReportPng, GreyPictureReadsBackPixelForPixel) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 3 * 5; i++)
        pixels.push_back((unsigned char)(i * 17));
    std::string png = greyPng(pixels, 3, 5);
    ASSERT_EQ(png.compare(0, 8, "\x89PNG\r\n\x1a\n"), 0);
    GreyImage image;
    ASSERT_TRUE(decodePng(png, image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 5);
    EXPECT_EQ(image.pixels, pixels);
    EXPECT_EQ(greyPng({}, 0, 0), "");
    EXPECT_EQ(greyPng(pixels, 4, 5), ""); // fewer pixels than the size says
}

TEST(ReportGelPictures, ColumnsAreTheInteriorRows) {
    EXPECT_EQ(pictureRows(14), std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(pictureRows(3), std::vector<int>({1}));
    // No interior rows: the trace row rowCount / 2.
    EXPECT_EQ(pictureRows(2), std::vector<int>({1}));
    EXPECT_EQ(pictureRows(1), std::vector<int>({0}));
    EXPECT_EQ(pictureRows(0), std::vector<int>());
    // 32 interior rows, 16 shown: r is drawn when (r + 1) * 16 / 32 steps
    // up, that is for odd r.
    std::vector<int> odd;
    for (int r = 1; r < 32; r += 2)
        odd.push_back(r);
    EXPECT_EQ(pictureRows(34), odd);
}

namespace {

// A binary PPM of the step: width, height and the red byte of each pixel.
bool readPpm(const std::string& bytes, GreyImage& image) {
    int w = 0, h = 0, max = 0, used = 0;
    if (sscanf(bytes.c_str(), "P6\n%d %d\n%d\n%n", &w, &h, &max, &used) != 3 || max != 255)
        return false;
    if (bytes.size() != (size_t)used + 3u * w * h) return false;
    image.width = w;
    image.height = h;
    image.pixels.clear();
    for (size_t i = 0; i < (size_t)w * h; i++)
        image.pixels.push_back((unsigned char)bytes[used + 3 * i]);
    return true;
}

} // namespace

// The report draws each strip with standard position down the picture and
// the strip's rows across it. With Results pictures 1150 wide (the
// positions the report shows) and tall enough for every interior row, the
// step's PPM is the report's picture transposed.
TEST(ReportGelPictures, AreTheStepsResultsPicturesTransposed) {
    TempDir t;
    std::string dir = t / "gel";
    generateProject(dir, {"--seed", "8", "--lanes", "5", "--marker-repeat", "2", "--row-length",
                          "500", "--rows", "8", "--output-x", "1150", "--output-y", "100",
                          "--compression", "true"});
    ASSERT_EQ(run(ZESTEP5_BIN, {dir, "map"}).status, 0);
    ASSERT_EQ(runReport({dir}).status, 0);
    std::string html = readFile(dir + "/report.html");
    std::vector<ReportRow> rows = reportRows(html);
    std::map<int, std::string> pictures = gelPictures(html);
    ASSERT_EQ(pictures.size(), rows.size());
    ASSERT_GE(rows.size(), 2u);
    for (const ReportRow& r : rows) {
        SCOPED_TRACE("sample " + std::to_string(r.sample));
        GreyImage png, ppm;
        ASSERT_TRUE(decodePng(pictures[r.sample], png));
        ASSERT_TRUE(readPpm(readFile(dir + "/Results/" + r.clone + "." + r.digest + "." +
                                     std::to_string(r.copy) + ".ppm"),
                            ppm));
        ASSERT_EQ(png.width, 6);
        ASSERT_EQ(png.height, 1150);
        ASSERT_EQ(ppm.width, 1150);
        ASSERT_EQ(ppm.height, 6);
        int differing = 0, dark = 0;
        for (int y = 0; y < 1150; y++)
            for (int c = 0; c < 6; c++) {
                differing += png.pixels[y * 6 + c] != ppm.pixels[c * 1150 + y];
                dark += png.pixels[y * 6 + c] < 128;
            }
        EXPECT_EQ(differing, 0);
        EXPECT_GT(dark, 0); // bands are there to compare
    }
}
