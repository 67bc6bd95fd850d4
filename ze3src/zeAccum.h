// dp_Accum: a list that grows by appending (by the factor 1.2) and sorts in
// place with qsort. Element access is checked by an always-active assertion.
#ifndef ZE_ACCUM_H
#define ZE_ACCUM_H

#include <assert.h>
#include <stdlib.h>

#define ZE_ACCUM_CHECK(expr) \
    ((expr) ? (void)0 : __assert_fail(#expr, "ze3src/zeAccum.h", __LINE__, __PRETTY_FUNCTION__))

template <class T> class dp_Accum {
  public:
    dp_Accum() : items(new T[10]), capacity(10), used(0) {}
    dp_Accum(const dp_Accum<T>& o) : items(nullptr), capacity(0), used(0) { *this = o; }
    ~dp_Accum() { delete[] items; }

    dp_Accum<T>& operator=(const dp_Accum<T>& o) {
        if (this == &o) return *this;
        delete[] items;
        items = new T[o.capacity];
        capacity = o.capacity;
        used = o.used;
        for (int i = 0; i < used; i++) items[i] = o.items[i];
        return *this;
    }

    void append(const T& x) {
        if (used == capacity) {
            // The largest integer strictly below 1.2 x capacity:
            // 10, 11, 13, 15, 17, 20, ...
            int grown = (int)((6LL * capacity - 1) / 5);
            T* fresh = new T[grown];
            for (int i = 0; i < used; i++) fresh[i] = items[i];
            delete[] items;
            items = fresh;
            capacity = grown;
        }
        items[used] = x;
        used++;
    }

    // Negative indices are rejected too, after the upper check.
    T& operator()(int pos) {
        ZE_ACCUM_CHECK(pos<used);
        ZE_ACCUM_CHECK(pos>=0);
        return items[pos];
    }
    T& operator[](int pos) {
        ZE_ACCUM_CHECK(pos<used);
        ZE_ACCUM_CHECK(pos>=0);
        return items[pos];
    }
    const T& operator()(int pos) const {
        ZE_ACCUM_CHECK(pos<used);
        ZE_ACCUM_CHECK(pos>=0);
        return items[pos];
    }
    const T& operator[](int pos) const {
        ZE_ACCUM_CHECK(pos<used);
        ZE_ACCUM_CHECK(pos>=0);
        return items[pos];
    }

    int nelem() const { return used; }
    int getCapacity() const { return capacity; }
    // Forgets the elements but keeps the storage (for reuse in loops).
    void clear() { used = 0; }

    void sort(int (*cmp)(T*, T*)) {
        if (used < 2) return;
        // qsort wants a comparison on const void*; calling cmp through that
        // type would be undefined, so a trampoline passes the pointers on.
        activeCompare() = cmp;
        qsort(items, used, sizeof(T), &compareThrough);
    }

  private:
    static int (*&activeCompare())(T*, T*) {
        static thread_local int (*cmp)(T*, T*) = nullptr;
        return cmp;
    }
    static int compareThrough(const void* a, const void* b) {
        return activeCompare()(static_cast<T*>(const_cast<void*>(a)),
                               static_cast<T*>(const_cast<void*>(b)));
    }

    T* items;
    int capacity;
    int used;
};

#endif
