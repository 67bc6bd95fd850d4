#include "zeAverageLinkage.h"

#include <cstddef>

Tree averageLinkage(std::vector<double> d, int n) {
    Tree tree;
    if (n <= 0) return tree;
    for (int i = 0; i < n; i++) {
        TreeNode leaf;
        leaf.leaf = i;
        tree.nodes.push_back(leaf);
    }
    // Slot k holds one cluster (its node and size) while active; a merged
    // cluster stays in the lower slot of the two.
    std::vector<int> node(n), size(n, 1);
    std::vector<char> active(n, 1);
    for (int i = 0; i < n; i++)
        node[i] = i;
    std::vector<int> chain;
    for (int left = n; left > 1;) {
        if (chain.empty())
            for (int k = 0; k < n; k++)
                if (active[k]) {
                    chain.push_back(k);
                    break;
                }
        int a = chain.back();
        int prev = chain.size() >= 2 ? chain[chain.size() - 2] : -1;
        // The nearest cluster to a; on a tie the previous link of the chain
        // wins, which keeps the chain from cycling.
        int b = prev;
        double best = prev >= 0 ? d[(size_t)a * n + prev] : 0;
        for (int k = 0; k < n; k++) {
            if (!active[k] || k == a) continue;
            double v = d[(size_t)a * n + k];
            if (b < 0 || v < best) {
                b = k;
                best = v;
            }
        }
        if (b != prev) {
            chain.push_back(b);
            continue;
        }
        chain.pop_back();
        chain.pop_back();
        int keep = a < b ? a : b, gone = a < b ? b : a;
        TreeNode joined;
        joined.left = node[keep];
        joined.right = node[gone];
        joined.height = best;
        joined.size = size[keep] + size[gone];
        for (int k = 0; k < n; k++) {
            if (!active[k] || k == keep || k == gone) continue;
            double v = (size[keep] * d[(size_t)keep * n + k] + size[gone] * d[(size_t)gone * n + k]) /
                       (size[keep] + size[gone]);
            d[(size_t)keep * n + k] = d[(size_t)k * n + keep] = v;
        }
        active[gone] = 0;
        size[keep] = joined.size;
        node[keep] = (int)tree.nodes.size();
        tree.nodes.push_back(joined);
        left--;
    }
    tree.root = (int)tree.nodes.size() - 1;
    return tree;
}

std::vector<int> leafOrder(const Tree& tree) {
    std::vector<int> order;
    if (tree.root < 0) return order;
    std::vector<int> stack{tree.root};
    while (!stack.empty()) {
        const TreeNode& t = tree.nodes[stack.back()];
        stack.pop_back();
        if (t.leaf >= 0) {
            order.push_back(t.leaf);
        } else {
            stack.push_back(t.right);
            stack.push_back(t.left);
        }
    }
    return order;
}
