// Average-linkage (UPGMA) clustering of a distance matrix into a binary
// tree, for drawing the similarity tree of a set of fingerprints.
#ifndef ZE_AVERAGELINKAGE_H
#define ZE_AVERAGELINKAGE_H

#include <vector>

struct TreeNode {
    int leaf = -1;             // the item of a leaf, -1 for an inner node
    int left = -1, right = -1; // child nodes of an inner node
    double height = 0;         // the distance at which the children joined
    int size = 1;              // items below
};

struct Tree {
    std::vector<TreeNode> nodes; // items 0 .. n-1 are nodes 0 .. n-1
    int root = -1;
};

// Clusters n items with the symmetric distances d[i * n + j] (the diagonal
// is ignored). The distance of two clusters is the mean distance of their
// items; the nearest-neighbour chain finds the same tree as joining the
// closest pair again and again, in O(n^2) time. Ties go to the earlier
// item, so the tree depends only on the distances. Empty for n = 0.
Tree averageLinkage(std::vector<double> d, int n);

// The items in the order the tree draws them (left before right).
std::vector<int> leafOrder(const Tree& tree);

#endif
