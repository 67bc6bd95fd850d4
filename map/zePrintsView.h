// The fingerprints as a stage scores them: those given, with some clones'
// fingerprints replaced (their bands less their repeat bands,
// zeRepeatBands.h). Only the replaced ones are held again, so a library
// with few repeat bands costs little more memory than its fingerprints.
#ifndef ZE_PRINTSVIEW_H
#define ZE_PRINTSVIEW_H

#include <cstddef>
#include <vector>

#include "zeFingerprint.h"

struct ReplacedPrints {
    std::vector<int> slot;             // per clone: its entry in prints, or -1; empty: none
    std::vector<Fingerprint> prints;   // the replacements
};

class PrintsView {
public:
    explicit PrintsView(const std::vector<Fingerprint>& given,
                        const ReplacedPrints* replaced = nullptr)
        : given_(&given), replaced_(replaced && !replaced->slot.empty() ? replaced : nullptr) {}

    const Fingerprint& operator[](size_t v) const {
        int s = replaced_ ? replaced_->slot[v] : -1;
        return s < 0 ? (*given_)[v] : replaced_->prints[(size_t)s];
    }
    size_t size() const { return given_->size(); }

private:
    const std::vector<Fingerprint>* given_;
    const ReplacedPrints* replaced_;
};

#endif
