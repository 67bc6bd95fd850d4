#include "pageTestSupport.h"

#include "mapTestSupport.h"

namespace zetest {

namespace {

const int FRAGMENTS = 40, STEP = 7;

std::vector<HandClone> chain(const std::string& prefix, const std::vector<int>& genome, int from,
                             int count) {
    std::vector<HandClone> clones;
    for (int k = 0; k < count; ++k)
        clones.push_back(cloneOf(prefix + std::to_string(100 + (k * 7) % count), genome,
                                 from + STEP * k, FRAGMENTS));
    return clones;
}

// The character references the page writes (a browser's serialisation
// may write fewer of them).
std::string unescape(const std::string& text) {
    static const std::vector<std::pair<std::string, char>> references = {
        {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&amp;", '&'}};
    std::string out;
    for (size_t k = 0; k < text.size();) {
        bool replaced = false;
        for (const auto& [reference, c] : references)
            if (text.compare(k, reference.size(), reference) == 0) {
                out += c;
                k += reference.size();
                replaced = true;
                break;
            }
        if (!replaced) out += text[k++];
    }
    return out;
}

} // namespace

std::vector<std::string> pageLibrary(const TempDir& dir) {
    std::vector<int> genome = fragmentBands(800, 2);
    std::vector<HandClone> first = chain("A", genome, 0, 40);
    first[3].name = "A<'\"&>";
    // Inside clones 2 to 4 of the first chain.
    first.push_back(cloneOf("Bur<&>", genome, 29, 20));
    std::vector<HandClone> second = chain("B", genome, 400, 30);
    HandClone chimera = cloneOf("X", genome, 60, 22);
    HandClone piece = cloneOf("", genome, 460, 22);
    chimera.bands.insert(chimera.bands.end(), piece.bands.begin(), piece.bands.end());
    second.push_back(chimera);
    writeFile(dir / "1.bands", bandsFile(first, "1"));
    writeFile(dir / "2.bands", bandsFile(second, "2"));
    return {dir / "1.bands", dir / "2.bands"};
}

std::string contigSection(const std::string& html, int contig) {
    size_t start = html.find("<section class=\"contig\" id=\"contig-" + std::to_string(contig) + "\">");
    if (start == std::string::npos) return "";
    size_t end = html.find("</section>", start);
    return html.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<std::string> drawnRows(const std::string& html, int contig) {
    const std::string section = contigSection(html, contig), mark = "<g class=\"row\" data-clone=\"";
    std::vector<std::string> rows;
    for (size_t at = section.find(mark); at != std::string::npos; at = section.find(mark, at)) {
        at += mark.size();
        rows.push_back(unescape(section.substr(at, section.find('"', at) - at)));
    }
    return rows;
}

std::vector<std::string> tableRowsNotBuried(const std::string& table, int contig) {
    std::vector<std::string> ids;
    for (const ContigRow& r : contigRows(table))
        if (r.contig == contig && r.buriedIn == "-")
            ids.push_back(r.clone + ":" + r.gel + ":" + r.ordinal);
    return ids;
}

} // namespace zetest
