// dp_Array / dp_Array2: arrays with inclusive index bounds. Every element
// access is checked by an assertion that stays active in every build; a
// failure prints the platform's standard assertion report and aborts.
#ifndef ZE_ARRAY_H
#define ZE_ARRAY_H

#include <assert.h>

// The report names this file the same way whatever the include path was.
#define ZE_ARRAY_CHECK(expr) \
    ((expr) ? (void)0 : __assert_fail(#expr, "ze3src/zeArray.h", __LINE__, __PRETTY_FUNCTION__))

template <class T> class dp_Array {
  public:
    // An empty array (bounds 0 .. -1), to be sized later by resize or assignment.
    dp_Array() : items(nullptr), lower(0), upper(-1) {}
    dp_Array(int lo, int up) : items(nullptr), lower(lo), upper(up) { allocate(); }
    dp_Array(const dp_Array<T>& o) : items(nullptr), lower(0), upper(-1) { *this = o; }
    ~dp_Array() { delete[] items; }

    dp_Array<T>& operator=(const dp_Array<T>& o) {
        if (this == &o) return *this;
        delete[] items;
        items = nullptr;
        lower = o.lower;
        upper = o.upper;
        allocate();
        for (int i = 0; i < nelem(); i++) items[i] = o.items[i];
        return *this;
    }

    T& operator()(int pos) const {
        ZE_ARRAY_CHECK(pos>=lower && pos<=upper);
        return items[pos - lower];
    }
    T& operator[](int pos) const {
        ZE_ARRAY_CHECK(pos>=lower && pos<=upper);
        return items[pos - lower];
    }

    int nelem() const { return upper - lower + 1; }
    int low() const { return lower; }
    int high() const { return upper; }
    T* getData() { return items; }
    const T* getData() const { return items; }

    void resize(int lo, int up) {
        delete[] items;
        items = nullptr;
        lower = lo;
        upper = up;
        allocate();
    }

  private:
    void allocate() {
        int n = upper - lower + 1;
        items = n > 0 ? new T[n] : nullptr;
    }

    T* items;
    int lower;
    int upper;
};

template <class T> class dp_Array2 {
  public:
    dp_Array2() : items(nullptr), lower1(0), upper1(-1), lower2(0), upper2(-1) {}
    dp_Array2(int lo1, int up1, int lo2, int up2)
        : items(nullptr), lower1(lo1), upper1(up1), lower2(lo2), upper2(up2) {
        allocate();
    }
    dp_Array2(const dp_Array2<T>&) = delete;
    dp_Array2<T>& operator=(const dp_Array2<T>&) = delete;
    ~dp_Array2() { delete[] items; }

    int nelem1() const { return upper1 - lower1 + 1; }
    int nelem2() const { return upper2 - lower2 + 1; }

    T& operator()(int which1, int which2) {
        ZE_ARRAY_CHECK(which1>=lower1 && which1<=upper1);
        ZE_ARRAY_CHECK(which2>=lower2 && which2<=upper2);
        return items[(long)(which1 - lower1) * nelem2() + (which2 - lower2)];
    }

    void resize(int lo1, int up1, int lo2, int up2) {
        delete[] items;
        items = nullptr;
        lower1 = lo1;
        upper1 = up1;
        lower2 = lo2;
        upper2 = up2;
        allocate();
    }

  private:
    void allocate() {
        long n = (long)nelem1() * nelem2();
        items = (nelem1() > 0 && nelem2() > 0) ? new T[n] : nullptr;
    }

    T* items;
    int lower1, upper1;
    int lower2, upper2;
};

#endif
