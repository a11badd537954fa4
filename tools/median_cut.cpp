#include "tools/median_cut.h"

#include <algorithm>

namespace {

struct Group {
  size_t begin = 0, end = 0;  // a slice of the order vector
  int channel = 0;            // the widest channel
  int range = 0;              // its max - min
};

void Measure(Group& group, const std::vector<ColourCount>& colours, const std::vector<size_t>& order) {
  std::array<int, 3> low{255, 255, 255}, high{0, 0, 0};
  for (size_t i = group.begin; i < group.end; ++i) {
    for (int c = 0; c < 3; ++c) {
      low[c] = std::min<int>(low[c], colours[order[i]].rgb[c]);
      high[c] = std::max<int>(high[c], colours[order[i]].rgb[c]);
    }
  }
  group.channel = 0;
  for (int c = 1; c < 3; ++c)
    if (high[c] - low[c] > high[group.channel] - low[group.channel]) group.channel = c;
  group.range = high[group.channel] - low[group.channel];
}

// The group to split next: the widest range (a single colour has range 0 and
// is never chosen); -1 when no group can be split.
int Widest(const std::vector<Group>& groups) {
  int best = -1;
  for (size_t i = 0; i < groups.size(); ++i)
    if (groups[i].range > 0 && (best < 0 || groups[i].range > groups[size_t(best)].range)) best = int(i);
  return best;
}

// Sorts the group along its channel and cuts it at the weighted median; both
// halves keep at least one colour.
Group Split(Group& group, const std::vector<ColourCount>& colours, std::vector<size_t>& order) {
  const int c = group.channel;
  std::sort(order.begin() + std::ptrdiff_t(group.begin), order.begin() + std::ptrdiff_t(group.end),
            [&](size_t a, size_t b) {
              return colours[a].rgb[c] != colours[b].rgb[c] ? colours[a].rgb[c] < colours[b].rgb[c] : a < b;
            });
  uint64_t total = 0;
  for (size_t i = group.begin; i < group.end; ++i) total += colours[order[i]].count;
  uint64_t running = 0;
  size_t cut = group.begin + 1;
  for (size_t i = group.begin; i + 1 < group.end; ++i) {
    running += colours[order[i]].count;
    cut = i + 1;
    if (2 * running >= total) break;
  }
  // A cut between two equal values would leave both halves as wide; move it
  // to the next change of value (one exists, since the range is positive).
  while (cut < group.end && colours[order[cut]].rgb[c] == colours[order[cut - 1]].rgb[c]) ++cut;
  if (cut == group.end) {
    cut = group.end - 1;
    while (colours[order[cut]].rgb[c] == colours[order[cut - 1]].rgb[c]) --cut;
  }
  Group upper{cut, group.end, 0, 0};
  group.end = cut;
  Measure(group, colours, order);
  Measure(upper, colours, order);
  return upper;
}

std::array<uint8_t, 3> Mean(const Group& group, const std::vector<ColourCount>& colours,
                            const std::vector<size_t>& order) {
  std::array<uint64_t, 3> sum{};
  uint64_t total = 0;
  for (size_t i = group.begin; i < group.end; ++i) {
    const ColourCount& colour = colours[order[i]];
    uint64_t weight = std::max<uint64_t>(colour.count, 1);
    for (int c = 0; c < 3; ++c) sum[c] += colour.rgb[c] * weight;
    total += weight;
  }
  std::array<uint8_t, 3> mean{};
  for (int c = 0; c < 3; ++c) mean[c] = uint8_t((sum[c] + total / 2) / total);
  return mean;
}

}  // namespace

ColourGroups Median_Cut(const std::vector<ColourCount>& colours, int max_groups) {
  ColourGroups result;
  if (colours.empty() || max_groups < 1) return result;
  std::vector<size_t> order(colours.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::vector<Group> groups{{0, colours.size(), 0, 0}};
  Measure(groups[0], colours, order);
  while (int(groups.size()) < max_groups) {
    int widest = Widest(groups);
    if (widest < 0) break;
    Group upper = Split(groups[size_t(widest)], colours, order);
    groups.push_back(upper);
  }
  result.group_of.assign(colours.size(), 0);
  for (size_t g = 0; g < groups.size(); ++g) {
    result.means.push_back(Mean(groups[g], colours, order));
    for (size_t i = groups[g].begin; i < groups[g].end; ++i) result.group_of[order[i]] = int(g);
  }
  return result;
}
