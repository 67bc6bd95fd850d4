#include "zeContigDrawing.h"

#include <algorithm>

#include "zeCloneIdentity.h"
#include "zeContigTable.h"
#include "zeHtmlText.h"
#include "zeSvgPlot.h"

const char* const CONTIG_DRAWING_STYLE = R"css(
.rows { max-height: 460px; overflow-y: auto; background: #fff; border: 1px solid #dde;
        border-radius: 4px 4px 0 0; width: 1222px; }
.depth { background: #fff; border: 1px solid #dde; border-top: none;
         border-radius: 0 0 4px 4px; width: 1222px; }
svg .ok { fill: #4f7cc0; }
svg .q { fill: #e08a1e; }
svg .bur { fill: #9fb8de; }
svg .mtp { stroke: #111; stroke-width: 1.6; }
svg .cover { fill: #c9d6ea; stroke: #4f7cc0; stroke-width: 1; }
svg text.label { font-size: 10px; fill: #333; }
svg text.more { font-size: 9px; fill: #667; }
p.links { font-size: 13px; max-width: 1200px; }
)css";

namespace {

// Geometry, in pixels: the labels' gutter, the contig's width and room
// for the counts of buried clones after a bar.
const double GUTTER = 150, PLOT = 1000, AFTER = 50, WIDTH = GUTTER + PLOT + AFTER;
const double ROW = 14, TOP = 4;
const double DEPTH_TOP = 8, DEPTH_HEIGHT = 40, DEPTH_SVG = 80;
// Labels longer than this many bytes are cut (at a character's start).
const size_t LABEL_BYTES = 24;

std::string cutLabel(const std::string& name) {
    if (name.size() <= LABEL_BYTES) return name;
    size_t end = LABEL_BYTES - 1;
    // A UTF-8 continuation byte is never a character's start.
    while (end > 0 && ((unsigned char)name[end] & 0xC0) == 0x80)
        --end;
    return name.substr(0, end) + "\xE2\x80\xA6";
}

const std::vector<char>& pathOf(const ContigDrawingInput& in) {
    static const std::vector<char> none;
    return in.tilingPath ? *in.tilingPath : none;
}

std::string markClass(const PlacedClone& c, bool onPath) {
    std::string cls = c.status == CloneStatus::Q ? "q" : c.status == CloneStatus::Buried ? "bur" : "ok";
    return onPath ? cls + " mtp" : cls;
}

class Drawer {
  public:
    Drawer(const ContigDrawingInput& in, long length)
        : prints(*in.prints), map(*in.map), path(pathOf(in)),
          x{0, (double)std::max(1L, length), GUTTER, GUTTER + PLOT} {}

    bool onPath(int v) const { return !path.empty() && path[(size_t)v]; }

    std::string title(int v) const {
        const PlacedClone& c = map.clones[(size_t)v];
        std::string t = cloneCaption(prints[(size_t)v]) + ": " + std::to_string(c.left) + "-" +
                        std::to_string(c.right) + ", " + statusName(c.status);
        if (c.buriedIn >= 0) t += " in " + cloneCaption(prints[(size_t)c.buriedIn]);
        if (onPath(v)) t += ", tiling path";
        return htmlEscape(t);
    }

    void bar(std::ostream& out, int v, double y, double height) const {
        const PlacedClone& c = map.clones[(size_t)v];
        double from = x((double)c.left), to = x((double)c.right);
        out << "<rect class=\"" << markClass(c, onPath(v)) << "\" x=\"" << fixed(from, 1)
            << "\" y=\"" << fixed(y, 1) << "\" width=\"" << fixed(std::max(1.0, to - from), 1)
            << "\" height=\"" << fixed(height, 1) << "\"><title>" << title(v) << "</title></rect>";
    }

    void rows(std::ostream& out, const DrawingRows& r) const {
        double height = TOP * 2 + ROW * (double)r.rows.size();
        out << "<div class=\"rows\">\n<svg class=\"contig\" xmlns=\"http://www.w3.org/2000/svg\" "
               "width=\""
            << fixed(WIDTH, 0) << "\" height=\"" << fixed(height, 0) << "\">\n";
        for (double t : niceTicks(0, x.hi, 8))
            out << "<line class=\"grid\" x1=\"" << fixed(x(t), 1) << "\" x2=\"" << fixed(x(t), 1)
                << "\" y1=\"0\" y2=\"" << fixed(height, 0) << "\"/>";
        out << "\n";
        for (size_t i = 0; i < r.rows.size(); ++i) {
            const DrawnRow& row = r.rows[i];
            const Fingerprint& f = prints[(size_t)row.print];
            double y = TOP + ROW * (double)i;
            out << "<g class=\"row\" data-clone=\""
                << htmlEscape(cloneIdentity(f)) << "\">";
            svgText(out, GUTTER - 6, y + 9, cutLabel(f.clone), "label", "end");
            bar(out, row.print, y + 1, 8);
            size_t shown = std::min(row.folded.size(), MOST_FOLDED_DRAWN);
            for (size_t k = 0; k < shown; ++k)
                bar(out, row.folded[k], y + 10, 3);
            if (!row.folded.empty())
                svgText(out, x((double)map.clones[(size_t)row.print].right) + 4, y + 9,
                        "+" + std::to_string(row.folded.size()), "more");
            out << "</g>\n";
        }
        out << "</svg>\n</div>\n";
    }

    // The depth of clones as a step outline over the contig, with its axis.
    void depth(std::ostream& out, const DrawingRows& r) const {
        int deepest = 1;
        for (const DepthStep& s : r.depth)
            deepest = std::max(deepest, s.depth);
        Scale y{0, (double)deepest, DEPTH_TOP + DEPTH_HEIGHT, DEPTH_TOP};
        const double base = DEPTH_TOP + DEPTH_HEIGHT;
        out << "<div class=\"depth\">\n<svg class=\"bandmap\" xmlns=\"http://www.w3.org/2000/svg\" "
               "width=\""
            << fixed(WIDTH, 0) << "\" height=\"" << fixed(DEPTH_SVG, 0) << "\">\n";
        if (!r.depth.empty()) {
            out << "<path class=\"cover\" d=\"M" << fixed(x(0), 1) << "," << fixed(base, 1);
            for (const DepthStep& s : r.depth)
                out << "V" << fixed(y(s.depth), 1) << "H" << fixed(x((double)s.to), 1);
            out << "V" << fixed(base, 1) << "Z\"/>\n";
        }
        svgText(out, GUTTER - 6, DEPTH_TOP + 8, std::to_string(deepest) + " clones", "", "end");
        svgText(out, GUTTER - 6, base, "0", "", "end");
        out << "<line class=\"axis\" x1=\"" << fixed(GUTTER, 1) << "\" x2=\"" << fixed(GUTTER + PLOT, 1)
            << "\" y1=\"" << fixed(base, 1) << "\" y2=\"" << fixed(base, 1) << "\"/>";
        for (double t : niceTicks(0, x.hi, 8)) {
            out << "<line class=\"axis\" x1=\"" << fixed(x(t), 1) << "\" x2=\"" << fixed(x(t), 1)
                << "\" y1=\"" << fixed(base, 1) << "\" y2=\"" << fixed(base + 4, 1) << "\"/>";
            svgText(out, x(t), base + 15, fixed(t, 0), "", "middle");
        }
        svgText(out, GUTTER + PLOT, base + 28, "consensus-band units", "", "end");
        out << "\n</svg>\n</div>\n";
    }

  private:
    const std::vector<Fingerprint>& prints;
    const ContigMap& map;
    const std::vector<char>& path;
    Scale x;
};

void writeLinks(std::ostream& out, const ContigDrawingInput& in, const std::vector<int>& chimeric) {
    if (chimeric.empty()) return;
    out << "<p class=\"links\">Chimeric clones joining it to other contigs (in no contig "
           "themselves): ";
    size_t shown = std::min(chimeric.size(), MOST_LISTED_LINKS);
    for (size_t k = 0; k < shown; ++k) {
        int v = chimeric[k];
        std::string contigs;
        for (int c : in.map->clones[(size_t)v].links)
            contigs += (contigs.empty() ? "" : ", ") + std::to_string(c);
        out << (k ? "; " : "") << "<span class=\"chimeric\">"
            << htmlEscape(cloneCaption((*in.prints)[(size_t)v])) << "</span> to contigs "
            << contigs;
    }
    if (shown < chimeric.size())
        out << "; and " << chimeric.size() - shown << " more (the table's links column)";
    out << ".</p>\n";
}

} // namespace

std::string cloneCaption(const Fingerprint& f) {
    return f.clone + " (gel " + f.gel + ", #" + std::to_string(f.ordinal) + ")";
}

void writeContigDrawing(std::ostream& out, const ContigDrawingInput& in, const DrawingRows& r,
                        const std::vector<int>& members, const std::vector<int>& chimeric) {
    const std::vector<char>& onPath = pathOf(in);
    long buried = 0, q = 0, path = 0;
    for (int v : members) {
        const PlacedClone& c = in.map->clones[(size_t)v];
        buried += c.status == CloneStatus::Buried;
        q += c.status == CloneStatus::Q;
        path += !onPath.empty() && onPath[(size_t)v];
    }
    out << "<section class=\"contig\" id=\"contig-" << r.number << "\">\n<h3>Contig " << r.number
        << "</h3>\n<p class=\"note\">" << r.clones << " clones over " << r.length
        << " consensus-band units; " << r.rows.size() << " rows drawn";
    if (r.clonesLeftOut > 0)
        out << " (the first " << MOST_DRAWN_CLONES << " clones or so by left end; the other "
            << r.clonesLeftOut << " are in the table)";
    out << "; " << buried << " buried, " << q << " Q";
    if (!onPath.empty()) out << ", " << path << " on the tiling path";
    out << ".</p>\n";
    writeLinks(out, in, chimeric);
    Drawer drawer(in, r.length);
    drawer.rows(out, r);
    drawer.depth(out, r);
    out << "</section>\n";
}

void writeDrawingLegend(std::ostream& out, bool tilingPathGiven) {
    struct Key {
        const char* cls;
        double height, dy;
        const char* text;
    };
    std::vector<Key> keys = {{"ok", 8, 0, "clone"},
                             {"q", 8, 0, "Q: fits its neighbours badly"},
                             {"bur", 3, 9, "buried clones, under the clone they lie in"}};
    if (tilingPathGiven) keys.push_back({"ok mtp", 8, 0, "on the tiling path"});
    out << "<svg class=\"legend\" xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" "
           "height=\"22\">";
    double at = 4;
    for (const Key& k : keys) {
        out << "<rect class=\"" << k.cls << "\" x=\"" << fixed(at, 1) << "\" y=\""
            << fixed(5 + k.dy, 1) << "\" width=\"30\" height=\"" << fixed(k.height, 1) << "\"/>";
        svgText(out, at + 36, 14, k.text, "");
        at += 36 + 6.2 * (double)std::string(k.text).size() + 24;
    }
    out << "</svg>\n";
}
