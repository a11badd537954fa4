// Colour reduction by median cut: splits a set of colours into at most N
// groups of similar colours and gives each group its pixel-weighted mean.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct ColourCount {
  std::array<uint8_t, 3> rgb{};
  uint64_t count = 0;  // pixels of this colour (weights the split and the mean)
};

struct ColourGroups {
  std::vector<std::array<uint8_t, 3>> means;  // one per group
  std::vector<int> group_of;                  // for each input colour
};

// Starts with one group holding every colour; while there are fewer than
// max_groups, splits the group whose widest channel (red, green or blue
// range) is widest, at the pixel-weighted median of that channel. Groups of
// one colour are never split, so distinct colours up to max_groups keep
// their exact values. Deterministic: the same input gives the same groups.
// Empty input or max_groups < 1 gives no groups.
ColourGroups Median_Cut(const std::vector<ColourCount>& colours, int max_groups);
