#include "zeCloneIdentity.h"

std::string cloneIdentity(const Fingerprint& f) {
    return f.clone + ':' + f.gel + ':' + std::to_string(f.ordinal);
}

void appendTableField(std::string& out, const std::string& text) {
    for (char c : text)
        out += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
}

void appendIdentityColumns(std::string& out, const Fingerprint& f) {
    appendTableField(out, f.clone);
    out += '\t';
    appendTableField(out, f.gel);
    out += '\t' + std::to_string(f.ordinal);
}

std::string nameAcrossBuilds(const std::string& clone, const std::string& gel) {
    std::string key;
    appendTableField(key, clone);
    key += '\t';
    appendTableField(key, gel);
    return key;
}
