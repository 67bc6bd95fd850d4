// Disjoint sets of 0 .. n-1 with path halving and union by size; the
// representative of a set is deterministic for a given sequence of unions.
#ifndef ZE_UNIONFIND_H
#define ZE_UNIONFIND_H

#include <utility>
#include <vector>

class UnionFind {
  public:
    explicit UnionFind(int n) : parent(n), count(n, 1) {
        for (int i = 0; i < n; ++i)
            parent[i] = i;
    }
    int find(int v) {
        while (parent[v] != v) {
            parent[v] = parent[parent[v]];
            v = parent[v];
        }
        return v;
    }
    // False when a and b were in one set already.
    bool unite(int a, int b) {
        a = find(a);
        b = find(b);
        if (a == b) return false;
        if (count[a] < count[b] || (count[a] == count[b] && b < a)) std::swap(a, b);
        parent[b] = a;
        count[a] += count[b];
        return true;
    }
    int sizeOf(int v) { return count[find(v)]; }

  private:
    std::vector<int> parent;
    std::vector<int> count;
};

#endif
