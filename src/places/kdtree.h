#pragma once

#include "places/sphere.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <span>

namespace vistado {

// A k-d tree over points on the unit sphere, kept in place in an array: the node of a range is
// its middle element, the ranges before and after it are its two subtrees. A node is any type
// with `point` (three coordinates) and `axis` (the coordinate its range is split on).

inline constexpr std::size_t kNoNode = std::numeric_limits<std::size_t>::max();

struct KdNearest {
    double chord2;                // squared chord of `node`, or the search limit
    std::size_t node = kNoNode;  // index in the array; kNoNode when none lies within the limit
};

// Orders the nodes into the tree. Each range is split on the coordinate it spreads most along:
// the points lie on a sphere's surface, where cycling through x, y and z would cut badly near
// the poles. Nodes of single-element ranges keep their axis.
template <typename Node>
void buildKdTree(std::span<Node> nodes)
{
    if (nodes.size() < 2)
        return;
    double low[3], high[3];
    for (int k = 0; k < 3; ++k)
        low[k] = high[k] = nodes[0].point[k];
    for (const Node& node : nodes)
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], node.point[k]);
            high[k] = std::max(high[k], node.point[k]);
        }
    int axis = 0;
    for (int k = 1; k < 3; ++k)
        if (high[k] - low[k] > high[axis] - low[axis])
            axis = k;

    const std::size_t middle = nodes.size() / 2;
    std::nth_element(nodes.begin(), nodes.begin() + middle, nodes.end(),
                     [axis](const Node& a, const Node& b) { return a.point[axis] < b.point[axis]; });
    nodes[middle].axis = axis;
    buildKdTree(nodes.first(middle));
    buildKdTree(nodes.subspan(middle + 1));
}

namespace kdtree {

template <typename Node>
void search(const Node* nodes, std::size_t begin, std::size_t end, const SpherePoint& target, KdNearest& best)
{
    if (begin >= end)
        return;
    const std::size_t middle = begin + (end - begin) / 2;
    const Node& node = nodes[middle];
    const double distance2 = chord2(node.point, target);
    if (distance2 < best.chord2 || (distance2 == best.chord2 && middle < best.node))
        best = {distance2, middle};
    const double offset = target[node.axis] - node.point[node.axis];
    const bool lowFirst = offset < 0;
    search(nodes, lowFirst ? begin : middle + 1, lowFirst ? middle : end, target, best);
    // Points beyond the splitting plane lie at least |offset| away; "<=" keeps ties reachable.
    if (offset * offset <= best.chord2)
        search(nodes, lowFirst ? middle + 1 : begin, lowFirst ? end : middle, target, best);
}

}  // namespace kdtree

// The node nearest to `target` within the squared chord `limitChord2`. Of nodes at the same
// distance the one first in the array wins, so the answer does not hang on the tree's shape.
template <typename Node>
KdNearest nearestInKdTree(std::span<const Node> nodes, const SpherePoint& target, double limitChord2)
{
    KdNearest best{limitChord2};
    kdtree::search(nodes.data(), 0, nodes.size(), target, best);
    return best;
}

}  // namespace vistado
