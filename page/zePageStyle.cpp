#include "zePageStyle.h"

const char* const BASE_PAGE_STYLE = R"css(
body { font: 14px/1.4 system-ui, -apple-system, "Segoe UI", Roboto, sans-serif; color: #222;
       margin: 0 auto; padding: 0 24px 40px; max-width: 1600px; background: #fafafa; }
h1 { font-size: 22px; margin: 20px 0 4px; }
h2 { font-size: 18px; border-bottom: 2px solid #ccd; padding-bottom: 4px; margin-top: 32px; }
code { font-size: 13px; background: #eef; padding: 0 3px; border-radius: 3px; }
nav a { margin-right: 14px; }
table { border-collapse: collapse; background: #fff; }
th, td { border: 1px solid #dde; padding: 3px 8px; text-align: left; }
th { background: #eef0f6; font-weight: 600; }
td.num, th.num { text-align: right; font-variant-numeric: tabular-nums; }
table.facts th { width: 190px; }
.note { color: #555; font-size: 13px; max-width: 980px; }
.scroll { overflow-x: auto; background: #fff; border: 1px solid #dde; border-radius: 4px; }
svg text { font: 10px system-ui, sans-serif; fill: #333; }
svg .axis { stroke: #666; stroke-width: 1; fill: none; }
svg .grid { stroke: #e6e6ee; stroke-width: 1; }
svg .frame { fill: none; stroke: #bbb; }
)css";
