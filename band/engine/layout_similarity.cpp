// How alike two signatures are: a score that falls with each difference, the deeper the less.
#include "band/engine/layout_node.h"

#include <cmath>
#include <limits>

namespace ph {
namespace {

// 5^depth as the scores use it; beyond the table it is so large that the cost rounds away.
double PowerOfFive(std::size_t depth) {
  static const std::vector<double> table = [] {
    std::vector<double> t(460);
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = std::pow(5.0, static_cast<double>(i));
    return t;
  }();
  return depth < table.size() ? table[depth] : std::numeric_limits<double>::infinity();
}

}  // namespace

float SimilarityAtLeast(const LayoutForms& forms, LayoutForms::Id stored, LayoutForms::Id fresh, float floor) {
  using Id = LayoutForms::Id;
  float score = kLayoutPerfectScore;
  struct Pairing {
    const Id *s, *n;
    std::uint32_t left;
    std::size_t depth;
  };
  std::vector<Pairing> stack;
  // Compares one pair of nodes and queues the pairing of their children; false once below floor.
  // Equal numbers are equal structures, which subtract nothing.
  auto compare = [&](Id s, Id n, std::size_t depth) {
    if (s == n) return true;
    const std::uint32_t cs = forms.child_count(s), cn = forms.child_count(n);
    if (cs != cn) {
      const double diff = cs > cn ? cs - cn : cn - cs;
      score = static_cast<float>(score - 20.0 / PowerOfFive(depth) * diff);
    }
    if (forms.kind(s) != forms.kind(n)) score = static_cast<float>(score - 30.0 / PowerOfFive(depth));
    if (score < floor) return false;
    const std::uint32_t pairs = cs < cn ? cs : cn;
    if (pairs != 0) stack.push_back({forms.children(s), forms.children(n), pairs, depth + 1});
    return true;
  };
  if (!compare(stored, fresh, 0)) return score;
  while (!stack.empty()) {
    Pairing& top = stack.back();
    if (top.left == 0) {
      stack.pop_back();
      continue;
    }
    const Id s = *top.s++, n = *top.n++;
    const std::size_t depth = top.depth;
    --top.left;
    if (!compare(s, n, depth)) return score;  // `top` may dangle after compare; not used again
  }
  return score;
}

float Similarity(const LayoutNode& stored, const LayoutNode& fresh) {
  LayoutForms forms;
  const LayoutForms::Id s = forms.Add(stored), n = forms.Add(fresh);
  return SimilarityAtLeast(forms, s, n, -std::numeric_limits<float>::infinity());
}

}  // namespace ph
