// dbData / dbString: the owned byte buffer and the text type used for every
// path, name and token of the step program. Every value owns its buffer;
// copies are deep and no operation reports an error.
#ifndef ZE_MYSTRING_H
#define ZE_MYSTRING_H

#include <iosfwd>

int strCmp(const char* a, const char* b);
int strCmp(const unsigned char* a, const unsigned char* b);
unsigned strLen(const char* s);
unsigned strLen(const unsigned char* s);
// New array of strLen(s) + 1 bytes; the caller releases it with delete[].
char* strDup(const char* s);
unsigned char* strDup(const unsigned char* s);
// Copies n bytes from src to dst (ranges may overlap); returns dst.
unsigned char* copyMem(const unsigned char* src, unsigned char* dst, unsigned n);
char* copyMem(const char* src, char* dst, unsigned n);
void* copyMem(const void* src, void* dst, unsigned n);

class dbData {
  public:
    explicit dbData(unsigned char isString);
    dbData(const dbData& o);
    dbData(const dbData& o, char isString);
    dbData(const char* s, unsigned char isString);
    dbData(const unsigned char* s, unsigned char isString);
    dbData(const void* p, unsigned n, char isString);
    ~dbData();

    unsigned len() const;
    unsigned storage() const;
    unsigned getSize() const { return size; }
    bool empty() const;
    operator char*() const { return reinterpret_cast<char*>(data); }
    operator const char*() const { return reinterpret_cast<const char*>(data); }
    operator unsigned char*() const { return data; }
    operator const unsigned char*() const { return data; }
    // Out-of-range indices reach a scratch cell, never memory outside the value.
    char& operator[](unsigned i);
    static const char* verStr() { return "$Id"; }

    unsigned setSize(unsigned n);
    unsigned addSize(unsigned n);
    unsigned subSize(unsigned n);
    unsigned char* cpy(const char* s);
    unsigned char* cpy(const unsigned char* s);
    unsigned char* cpy(const dbData& o);
    unsigned char* cat(const char* s);
    unsigned char* cat(const unsigned char* s);
    unsigned char* cat(const dbData& o);
    void fill(char c, unsigned n);
    void fill(unsigned char c, unsigned n);
    void clr();
    void dispose();

    dbData& operator=(const char* s);
    dbData& operator=(const unsigned char* s);
    dbData& operator=(const dbData& o);
    dbData& operator=(char c);
    dbData& operator+=(const char* s);
    dbData& operator+=(const unsigned char* s);
    dbData& operator+=(const dbData& o);
    dbData& operator+=(char c);

    bool isText() const { return isString != 0; }

  private:
    friend std::istream& operator>>(std::istream& is, dbData& v);
    void createCharPtr(const unsigned char* s);
    void createDbData(const dbData& o);

    char charBuf[2];
    unsigned char isString;
    unsigned size;
    unsigned char* data;
};

dbData operator+(const dbData& a, const char* b);
dbData operator+(const dbData& a, const unsigned char* b);
dbData operator+(const dbData& a, const dbData& b);
std::ostream& operator<<(std::ostream& os, const dbData& v);
// Text value: one white-space-delimited word that never crosses a line end.
// Raw value: every remaining byte of the stream.
std::istream& operator>>(std::istream& is, dbData& v);

class dbString : public dbData {
  public:
    dbString() : dbData(static_cast<unsigned char>(1)) {}
    dbString(const dbData& o);
    dbString(const dbString& o) : dbData(o) {}
    dbString(const char* s) : dbData(s, static_cast<unsigned char>(1)) {}
    dbString(const unsigned char* s) : dbData(s, static_cast<unsigned char>(1)) {}

    dbString& operator=(const char* s) { dbData::operator=(s); return *this; }
    dbString& operator=(const unsigned char* s) { dbData::operator=(s); return *this; }
    dbString& operator=(const dbData& o) { dbData::operator=(o); return *this; }
    dbString& operator=(const dbString& o) { dbData::operator=(o); return *this; }
    dbString& operator=(char c) { dbData::operator=(c); return *this; }

    bool operator==(const char* s) const { return compare(s) == 0; }
    bool operator==(const unsigned char* s) const { return compare(reinterpret_cast<const char*>(s)) == 0; }
    bool operator==(const dbString& o) const { return compare(o) == 0; }
    bool operator!=(const char* s) const { return compare(s) != 0; }
    bool operator!=(const unsigned char* s) const { return compare(reinterpret_cast<const char*>(s)) != 0; }
    bool operator!=(const dbString& o) const { return compare(o) != 0; }
    bool operator<(const char* s) const { return compare(s) < 0; }
    bool operator<(const unsigned char* s) const { return compare(reinterpret_cast<const char*>(s)) < 0; }
    bool operator<(const dbString& o) const { return compare(o) < 0; }
    bool operator>(const char* s) const { return compare(s) > 0; }
    bool operator>(const unsigned char* s) const { return compare(reinterpret_cast<const char*>(s)) > 0; }
    bool operator>(const dbString& o) const { return compare(o) > 0; }
    bool operator<=(const char* s) const { return !(*this > s); }
    bool operator<=(const unsigned char* s) const { return !(*this > s); }
    bool operator<=(const dbString& o) const { return !(*this > o); }
    bool operator>=(const char* s) const { return !(*this < s); }
    bool operator>=(const unsigned char* s) const { return !(*this < s); }
    bool operator>=(const dbString& o) const { return !(*this < o); }

    // Text without buffer ("") when empty; never null.
    const char* c_str() const;

  private:
    int compare(const char* s) const;
};

dbString intTodbString(int v);

#endif
