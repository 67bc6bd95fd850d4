// The look shared by every page the package writes (the gel report, the
// comparison page): body, headings, tables, notes and the frame of plots.
#ifndef ZE_PAGESTYLE_H
#define ZE_PAGESTYLE_H

// CSS rules; a page adds its own after them.
extern const char* const BASE_PAGE_STYLE;

#endif
