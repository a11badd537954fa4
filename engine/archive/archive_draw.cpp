// Archive_Draw and Archive_Draw_Part: the pictures copied into a 5-6-5
// target, transparent types skipping their key colour, every type clipped
// to the target.
#include <algorithm>
#include <cstring>

#include "engine/archive/data_archive.h"

namespace {

// Copies w x h pixels from (sx, sy) of rows of `row` pixels to (dx, dy) of
// the target, cut to the target. The caller has checked the source.
void Blit(const uint16_t* data, int64_t row, int64_t sx, int64_t sy, int64_t w, int64_t h, int64_t dx,
          int64_t dy, const ArchiveTarget& target, bool keyed, uint16_t key) {
  if (!target.pixels || target.width <= 0 || target.height <= 0) return;
  if (dx < 0) {
    sx -= dx;
    w += dx;
    dx = 0;
  }
  if (dy < 0) {
    sy -= dy;
    h += dy;
    dy = 0;
  }
  w = std::min(w, int64_t(target.width) - dx);
  h = std::min(h, int64_t(target.height) - dy);
  if (w <= 0 || h <= 0) return;
  for (int64_t r = 0; r < h; ++r) {
    const uint16_t* from = data + (sy + r) * row + sx;
    uint16_t* to = target.pixels + (dy + r) * int64_t(target.width) + dx;
    if (!keyed) {
      std::memcpy(to, from, size_t(w) * sizeof(uint16_t));
      continue;
    }
    for (int64_t c = 0; c < w; ++c)
      if (from[c] != key) to[c] = from[c];
  }
}

}  // namespace

void DataArchive::Archive_Draw(std::string_view name, int x, int y, ArchiveTarget target) {
  const int64_t found = Find(name);
  if (found < 0 || !Load_Pixels(entries_[size_t(found)])) return;
  const ArchiveEntry& entry = entries_[size_t(found)];
  const ArchiveRect& r = entry.rect;
  const bool keyed = entry.type != kArchiveOpaqueType;
  Blit(entry.pixels.data(), r.right, 0, 0, int64_t(r.right) - r.left, int64_t(r.bottom) - r.top,
       int64_t(r.left) + x, int64_t(r.top) + y, target, keyed, keyed ? Key_Colour(entry) : 0);
}

void DataArchive::Archive_Draw_Part(std::string_view name, const ArchiveRect& dest, const ArchiveRect* source,
                                    ArchiveTarget target) {
  const int64_t found = Find(name);
  if (found < 0 || !Load_Pixels(entries_[size_t(found)])) return;
  const ArchiveEntry& entry = entries_[size_t(found)];
  const ArchiveRect& r = entry.rect;
  const int64_t width = int64_t(r.right) - r.left;
  const int64_t height = int64_t(r.bottom) - r.top;
  if (entry.type == kArchiveOpaqueType) {
    // The source, as 64-bit values: (left, top, right, bottom).
    const int64_t s[4] = {source ? source->left : 0, source ? source->top : 0,
                          source ? source->right : int64_t(dest.right) - dest.left,
                          source ? source->bottom : int64_t(dest.bottom) - dest.top};
    const int64_t left = std::max<int64_t>(s[0], 0), top = std::max<int64_t>(s[1], 0);
    const int64_t right = std::min(s[2], width), bottom = std::min(s[3], height);
    if (right <= left || bottom <= top) return;
    Blit(entry.pixels.data(), r.right, left, top, right - left, bottom - top,
         int64_t(dest.left) + (left - s[0]), int64_t(dest.top) + (top - s[1]), target, false, 0);
    return;
  }
  const int64_t w = std::min(int64_t(dest.right) - dest.left, width);
  const int64_t h = std::min(int64_t(dest.bottom) - dest.top, height);
  Blit(entry.pixels.data(), r.right, 0, 0, w, h, dest.left, dest.top, target, true, Key_Colour(entry));
}
