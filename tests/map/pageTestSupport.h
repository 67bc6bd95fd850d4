// Helpers for the tests of zeContig's page: a small library with a known
// shape (two chains of clones, a buried clone, a chimeric clone joining
// the chains, clones whose names need escaping), and the page's drawings
// read back.
#ifndef ZE_PAGE_TEST_SUPPORT_H
#define ZE_PAGE_TEST_SUPPORT_H

#include <string>
#include <vector>

#include "testSupport.h"

namespace zetest {

// Writes the library's two bands files into dir; returns their paths.
std::vector<std::string> pageLibrary(const TempDir& dir);

// The text of <section ... id="contig-N"> up to its end; empty when absent.
std::string contigSection(const std::string& html, int contig);

// The data-clone values ("clone:gel:ordinal", unescaped) of the rows of a
// contig's drawing, top to bottom.
std::vector<std::string> drawnRows(const std::string& html, int contig);

// The same identities, from the table's rows of that contig that are not
// buried, in the table's order.
std::vector<std::string> tableRowsNotBuried(const std::string& table, int contig);

} // namespace zetest

#endif
