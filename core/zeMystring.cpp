#include "zeMystring.h"

#include <cstring>
#include <istream>
#include <ostream>
#include <sstream>

int strCmp(const char* a, const char* b) {
    return strCmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b));
}

int strCmp(const unsigned char* a, const unsigned char* b) {
    while (*a && *a == *b) {
        a++;
        b++;
    }
    return (int)*a - (int)*b;
}

unsigned strLen(const char* s) { return (unsigned)strlen(s); }
unsigned strLen(const unsigned char* s) { return (unsigned)strlen(reinterpret_cast<const char*>(s)); }

char* strDup(const char* s) {
    unsigned n = strLen(s) + 1;
    char* d = new char[n];
    memcpy(d, s, n);
    return d;
}

unsigned char* strDup(const unsigned char* s) {
    return reinterpret_cast<unsigned char*>(strDup(reinterpret_cast<const char*>(s)));
}

void* copyMem(const void* src, void* dst, unsigned n) {
    if (n) memmove(dst, src, n);
    return dst;
}
unsigned char* copyMem(const unsigned char* src, unsigned char* dst, unsigned n) {
    return static_cast<unsigned char*>(copyMem(static_cast<const void*>(src), static_cast<void*>(dst), n));
}
char* copyMem(const char* src, char* dst, unsigned n) {
    return static_cast<char*>(copyMem(static_cast<const void*>(src), static_cast<void*>(dst), n));
}

// ---- construction -------------------------------------------------------

dbData::dbData(unsigned char isStr) : charBuf{0, 0}, isString(isStr), size(0), data(nullptr) {}

dbData::dbData(const dbData& o) : charBuf{0, 0}, isString(o.isString), size(0), data(nullptr) {
    createDbData(o);
}

dbData::dbData(const dbData& o, char isStr)
    : charBuf{0, 0}, isString((unsigned char)isStr), size(0), data(nullptr) {
    createDbData(o);
}

dbData::dbData(const char* s, unsigned char isStr) : charBuf{0, 0}, isString(isStr), size(0), data(nullptr) {
    createCharPtr(reinterpret_cast<const unsigned char*>(s));
}

dbData::dbData(const unsigned char* s, unsigned char isStr)
    : charBuf{0, 0}, isString(isStr), size(0), data(nullptr) {
    createCharPtr(s);
}

dbData::dbData(const void* p, unsigned n, char isStr)
    : charBuf{0, 0}, isString((unsigned char)isStr), size(0), data(nullptr) {
    if (!p) return;
    data = new unsigned char[n ? n : 1];
    size = n;
    copyMem(p, data, n);
}

dbData::~dbData() { delete[] data; }

void dbData::createCharPtr(const unsigned char* s) {
    if (!s) return;
    unsigned n = strLen(s) + 1;
    data = new unsigned char[n];
    size = n;
    copyMem(s, data, n);
}

// A copy is fitted to the source's content, whatever room the source had.
void dbData::createDbData(const dbData& o) {
    if (!o.data) return;
    unsigned n = o.len();
    size = n + isString;
    data = new unsigned char[size ? size : 1];
    copyMem(o.data, data, n);
    if (isString) data[n] = 0;
}

// ---- accessors ----------------------------------------------------------

unsigned dbData::len() const {
    if (!isString) return size;
    if (!data) return 0;
    const void* end = memchr(data, 0, size);
    return end ? (unsigned)(static_cast<const unsigned char*>(end) - data) : size;
}

unsigned dbData::storage() const {
    if (!isString) return size;
    return data ? len() + 1 : 0;
}

bool dbData::empty() const { return !data || size == 0 || data[0] == 0; }

char& dbData::operator[](unsigned i) {
    if (data && i < size) return reinterpret_cast<char&>(data[i]);
    return charBuf[0];
}

// ---- storage ------------------------------------------------------------

unsigned dbData::setSize(unsigned n) {
    if (isString && n < size) return size;
    unsigned char* fresh = new unsigned char[n ? n : 1];
    if (data) {
        copyMem(data, fresh, size < n ? size : n);
        delete[] data;
    } else if (isString) {
        fresh[0] = 0;
    }
    data = fresh;
    size = n;
    return n;
}

unsigned dbData::addSize(unsigned n) { return setSize(size + n); }

unsigned dbData::subSize(unsigned n) {
    if (n > size) n = size;
    unsigned result = setSize(size - n);
    if (isString && size - n > 0) data[size - n - 1] = 0;
    return result;
}

// ---- replace / append ---------------------------------------------------

unsigned char* dbData::cpy(const char* s) { return cpy(reinterpret_cast<const unsigned char*>(s)); }

unsigned char* dbData::cpy(const unsigned char* s) {
    if (!s) {
        setSize(isString);
        if (isString) data[0] = 0;
        return data;
    }
    if (data && s >= data && s < data + size) {
        // s lies in this value's own buffer, which setSize may replace.
        dbData copy(s, isString);
        return cpy(copy.data);
    }
    unsigned n = strLen(s) + 1;
    setSize(n);
    copyMem(s, data, n);
    return data;
}

unsigned char* dbData::cpy(const dbData& o) {
    if (&o == this) return data;
    if (!o.data) {
        setSize(isString);
        if (isString) data[0] = 0;
        return data;
    }
    unsigned n = o.len();
    setSize(n + isString);
    copyMem(o.data, data, n);
    if (isString) data[n] = 0;
    return data;
}

unsigned char* dbData::cat(const char* s) { return cat(reinterpret_cast<const unsigned char*>(s)); }

unsigned char* dbData::cat(const unsigned char* s) {
    if (!s) return data;
    unsigned cur = len();
    unsigned n = strLen(s);
    // s may point into this value's own buffer, which setSize can move.
    if (data && s >= data && s < data + size) {
        dbData copy(s, isString);
        return cat(copy);
    }
    setSize(cur + n + 1);
    copyMem(s, data + cur, n + 1);
    return data;
}

unsigned char* dbData::cat(const dbData& o) {
    if (!o.data) return data;
    unsigned cur = len();
    unsigned n = o.len();
    if (&o == this) {
        // Appending a value to itself doubles it: copy the content first.
        dbData self(o);
        setSize(cur + n + isString);
        copyMem(self.data, data + cur, n);
    } else {
        setSize(cur + n + isString);
        copyMem(o.data, data + cur, n);
    }
    if (isString) data[cur + n] = 0;
    return data;
}

void dbData::fill(unsigned char c, unsigned n) {
    if (n > 0) {
        setSize(n + isString);
    } else {
        if (size == 0) return;
        n = size - isString;
    }
    memset(data, c, n);
    if (isString) data[n] = 0;
}

void dbData::fill(char c, unsigned n) { fill((unsigned char)c, n); }

void dbData::clr() {
    if (isString) {
        if (data && size) data[0] = 0;
    } else {
        dispose();
    }
}

void dbData::dispose() {
    delete[] data;
    data = nullptr;
    size = 0;
}

dbData& dbData::operator=(const char* s) {
    cpy(s);
    return *this;
}
dbData& dbData::operator=(const unsigned char* s) {
    cpy(s);
    return *this;
}
dbData& dbData::operator=(const dbData& o) {
    cpy(o);
    return *this;
}
dbData& dbData::operator=(char c) {
    charBuf[0] = c;
    charBuf[1] = 0;
    cpy(charBuf);
    return *this;
}
dbData& dbData::operator+=(const char* s) {
    cat(s);
    return *this;
}
dbData& dbData::operator+=(const unsigned char* s) {
    cat(s);
    return *this;
}
dbData& dbData::operator+=(const dbData& o) {
    cat(o);
    return *this;
}
dbData& dbData::operator+=(char c) {
    charBuf[0] = c;
    charBuf[1] = 0;
    cat(charBuf);
    return *this;
}

// ---- free functions -----------------------------------------------------

dbData operator+(const dbData& a, const char* b) {
    dbData r(a);
    r.cat(b);
    return r;
}
dbData operator+(const dbData& a, const unsigned char* b) {
    dbData r(a);
    r.cat(b);
    return r;
}
dbData operator+(const dbData& a, const dbData& b) {
    dbData r(a);
    r.cat(b);
    return r;
}

std::ostream& operator<<(std::ostream& os, const dbData& v) {
    const unsigned char* p = v;
    if (v.isText()) {
        if (p) os << reinterpret_cast<const char*>(p);
    } else if (p) {
        os.write(reinterpret_cast<const char*>(p), v.getSize());
    }
    return os;
}

static bool isWhite(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::istream& operator>>(std::istream& is, dbData& v) {
    v.clr();
    v.setSize(256);
    v.data[0] = 0;
    unsigned i = 0;
    std::streambuf* sb = is.rdbuf();
    // The buffer is read directly, and a read error there (a directory
    // opened as a file, a failing disk) throws where the stream's own
    // extractors would set badbit; so it sets badbit here as well.
    try {
        if (v.isString) {
            // Leading white space is skipped, but a line end met before the word
            // ends the read: a word is never looked for on the next line.
            for (;;) {
                if (!is.good()) return is;
                int c = sb->sbumpc();
                if (c == EOF) {
                    is.setstate(std::ios::eofbit | std::ios::failbit);
                    return is;
                }
                if (c == '\n') return is;
                if (!isWhite(c)) {
                    sb->sungetc();
                    break;
                }
            }
        }
        while (is.good()) {
            int c = sb->sbumpc();
            if (c == EOF) {
                // As a character read at end of input: the stream is no longer good.
                is.setstate(std::ios::eofbit | std::ios::failbit);
                break;
            }
            if (v.isString && isWhite(c)) {
                sb->sungetc();
                break;
            }
            if (i >= v.size - 1) v.addSize(256);
            v.data[i++] = (unsigned char)c;
        }
    } catch (...) {
        is.setstate(std::ios::badbit);
    }
    if (v.isString) v.data[i] = 0;
    v.setSize(i);
    return is;
}

dbString intTodbString(int v) {
    std::ostringstream s;
    s << v;
    return dbString(s.str().c_str());
}

// ---- dbString -------------------------------------------------------------

// Text copy of o's bytes up to its first zero byte.
dbString::dbString(const dbData& o) : dbData(static_cast<unsigned char>(1)) {
    const unsigned char* p = o;
    if (!p) return;
    unsigned n = 0;
    unsigned limit = o.len();
    while (n < limit && p[n]) n++;
    setSize(n + 1);
    copyMem(p, static_cast<unsigned char*>(*this), n);
    (*this)[n] = 0;
}

const char* dbString::c_str() const {
    const char* p = *this;
    return p ? p : "";
}

int dbString::compare(const char* s) const {
    return strCmp(c_str(), s ? s : "");
}
