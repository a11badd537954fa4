#include "tools/picture_from_image.h"

#include <array>
#include <unordered_map>
#include <vector>

#include "tools/median_cut.h"

namespace {

constexpr uint32_t kTransparentKey = uint32_t(1) << 24;  // above every RGB key
constexpr int kPaletteSize = 256;

uint32_t Key_At(const RgbaImage& image, size_t pixel) {
  const uint8_t* p = image.rgba.data() + 4 * pixel;
  if (p[3] < 128) return kTransparentKey;
  return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[2]);
}

std::array<uint8_t, 3> Rgb_Of(uint32_t key) {
  if (key == kTransparentKey) return {0, 0, 0};
  return {uint8_t(key >> 16), uint8_t(key >> 8), uint8_t(key)};
}

// The image's distinct colours in order of first appearance, with counts.
struct Colours {
  std::vector<uint32_t> keys;
  std::vector<uint64_t> counts;
  std::unordered_map<uint32_t, size_t> index;  // key -> position in keys
  bool has_transparent = false;
};

Colours Count_Colours(const RgbaImage& image, size_t pixels) {
  Colours colours;
  for (size_t i = 0; i < pixels; ++i) {
    uint32_t key = Key_At(image, i);
    auto [it, added] = colours.index.try_emplace(key, colours.keys.size());
    if (added) {
      colours.keys.push_back(key);
      colours.counts.push_back(0);
    }
    ++colours.counts[it->second];
  }
  colours.has_transparent = colours.index.count(kTransparentKey) != 0;
  return colours;
}

// Palette index of every distinct colour when all fit: the transparent
// colour (if any) first, the rest in order of first appearance.
std::vector<int> Exact_Indices(const Colours& colours, std::vector<std::array<uint8_t, 3>>& palette) {
  std::vector<int> slot(colours.keys.size());
  int next = 0;
  if (colours.has_transparent) {
    slot[colours.index.at(kTransparentKey)] = next++;
    palette.push_back(Rgb_Of(kTransparentKey));
  }
  for (size_t i = 0; i < colours.keys.size(); ++i) {
    if (colours.keys[i] == kTransparentKey) continue;
    slot[i] = next++;
    palette.push_back(Rgb_Of(colours.keys[i]));
  }
  return slot;
}

// Palette index of every distinct colour after median cut of the opaque
// colours: transparent at 0, else the top left pixel's group at 0.
std::vector<int> Reduced_Indices(const Colours& colours, uint32_t top_left,
                                 std::vector<std::array<uint8_t, 3>>& palette) {
  std::vector<ColourCount> opaque;
  std::vector<size_t> opaque_of(colours.keys.size(), 0);
  for (size_t i = 0; i < colours.keys.size(); ++i) {
    if (colours.keys[i] == kTransparentKey) continue;
    opaque_of[i] = opaque.size();
    opaque.push_back({Rgb_Of(colours.keys[i]), colours.counts[i]});
  }
  ColourGroups groups = Median_Cut(opaque, colours.has_transparent ? kPaletteSize - 1 : kPaletteSize);
  // Group g goes to palette entry group_slot[g].
  std::vector<int> group_slot(groups.means.size());
  int next = 0;
  if (colours.has_transparent) {
    palette.push_back(Rgb_Of(kTransparentKey));
    ++next;
  }
  int first = colours.has_transparent ? -1 : groups.group_of[opaque_of[colours.index.at(top_left)]];
  if (first >= 0) {
    group_slot[size_t(first)] = next++;
    palette.push_back(groups.means[size_t(first)]);
  }
  for (size_t g = 0; g < groups.means.size(); ++g) {
    if (int(g) == first) continue;
    group_slot[g] = next++;
    palette.push_back(groups.means[g]);
  }
  std::vector<int> slot(colours.keys.size(), 0);
  for (size_t i = 0; i < colours.keys.size(); ++i)
    if (colours.keys[i] != kTransparentKey) slot[i] = group_slot[size_t(groups.group_of[opaque_of[i]])];
  return slot;
}

}  // namespace

PicturePtr Picture_Rgb_From_Image(const RgbaImage& image, std::string_view name) {
  PicturePtr picture = Picture_New(name, image.width, image.height, 24);
  if (!picture) return nullptr;
  const size_t pixels = size_t(image.width) * size_t(image.height);
  if (image.rgba.size() < pixels * 4) return nullptr;
  for (size_t i = 0; i < pixels; ++i) {
    std::array<uint8_t, 3> rgb = Rgb_Of(Key_At(image, i));
    for (int c = 0; c < 3; ++c) picture->pixels[3 * i + size_t(c)] = rgb[size_t(c)];
  }
  return picture;
}

IndexedPicture Picture_Indexed_From_Image(const RgbaImage& image, std::string_view name) {
  IndexedPicture result;
  PicturePtr picture = Picture_New(name, image.width, image.height, 8);
  const size_t pixels = size_t(image.width) * size_t(image.height);
  if (!picture || image.rgba.size() < pixels * 4) return result;

  Colours colours = Count_Colours(image, pixels);
  std::vector<std::array<uint8_t, 3>> palette;
  std::vector<int> slot = colours.keys.size() <= size_t(kPaletteSize)
                              ? Exact_Indices(colours, palette)
                              : Reduced_Indices(colours, Key_At(image, 0), palette);
  for (size_t i = 0; i < palette.size(); ++i)
    for (size_t c = 0; c < 3; ++c) picture->palette[3 * i + c] = palette[i][c];
  for (size_t i = 0; i < pixels; ++i) picture->pixels[i] = uint8_t(slot[colours.index.at(Key_At(image, i))]);

  result.picture = std::move(picture);
  result.image_colours = colours.keys.size();
  result.palette_colours = palette.size();
  return result;
}
