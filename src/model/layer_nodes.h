// The nodes of a pile that each soil layer takes, as the pile node layout assigns them.
#pragma once

#include "model/limits.h"

namespace torva {

// For a pile of `nodes` nodes whose vertical coordinates depth(k), k = 1..nodes, grow
// downward, and soil layers L = 1..nl (nl <= MAXLAYER) with tops top(L) and bottoms bot(L):
// a layer begins at the first node at or below its top, at most one layer per node (the
// first layer not begun above the tip begins at the tip, the layers after it at no node:
// 0); it ends at the node before the next layer begins, or at the tip where its bottom is
// at or below the tip; the last layer ends at the tip. span(L, first, last) receives them.
template <class Depth, class Top, class Bot, class Span>
void layer_nodes(int nodes, int nl, Depth&& depth, Top&& top, Bot&& bot, Span&& span) {
  int first[MAXLAYER + 2] = {};
  int j = 1;
  for (int k = 1; k <= nodes && j <= nl; ++k)
    if (top(j) <= depth(k)) first[j++] = k;
  if (j <= nl) first[j] = nodes;
  const double tip = depth(nodes);
  for (int L = 1; L <= nl; ++L)
    span(L, first[L], L == nl || bot(L) >= tip ? nodes : first[L + 1] - 1);
}

}  // namespace torva
