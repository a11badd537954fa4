#include "orv_vr/cube.h"

namespace orv_vr_internal {
namespace {

constexpr float P = 255.0f;
constexpr float N = -255.0f;

// Corners of each tile's quad: top-left, top-right, bottom-right,
// bottom-left. Faces in the order z = -255 (down), x = -255, z = +255 (up),
// x = +255, y = +255, y = -255; within a face the tiles run top-left,
// top-right, bottom-right, bottom-left as seen from inside.
constexpr Point3 kQuadCorners[kTileCount][4] = {
    {{N, P, N}, {0, P, N}, {0, 0, N}, {N, 0, N}}, {{0, P, N}, {P, P, N}, {P, 0, N}, {0, 0, N}},
    {{0, 0, N}, {P, 0, N}, {P, N, N}, {0, N, N}}, {{N, 0, N}, {0, 0, N}, {0, N, N}, {N, N, N}},
    {{N, N, P}, {N, 0, P}, {N, 0, 0}, {N, N, 0}}, {{N, 0, P}, {N, P, P}, {N, P, 0}, {N, 0, 0}},
    {{N, 0, 0}, {N, P, 0}, {N, P, N}, {N, 0, N}}, {{N, N, 0}, {N, 0, 0}, {N, 0, N}, {N, N, N}},
    {{N, N, P}, {0, N, P}, {0, 0, P}, {N, 0, P}}, {{0, N, P}, {P, N, P}, {P, 0, P}, {0, 0, P}},
    {{0, 0, P}, {P, 0, P}, {P, P, P}, {0, P, P}}, {{N, 0, P}, {0, 0, P}, {0, P, P}, {N, P, P}},
    {{P, P, P}, {P, 0, P}, {P, 0, 0}, {P, P, 0}}, {{P, 0, P}, {P, N, P}, {P, N, 0}, {P, 0, 0}},
    {{P, 0, 0}, {P, N, 0}, {P, N, N}, {P, 0, N}}, {{P, P, 0}, {P, 0, 0}, {P, 0, N}, {P, P, N}},
    {{N, P, P}, {0, P, P}, {0, P, 0}, {N, P, 0}}, {{0, P, P}, {P, P, P}, {P, P, 0}, {0, P, 0}},
    {{0, P, 0}, {P, P, 0}, {P, P, N}, {0, P, N}}, {{N, P, 0}, {0, P, 0}, {0, P, N}, {N, P, N}},
    {{P, N, P}, {0, N, P}, {0, N, 0}, {P, N, 0}}, {{0, N, P}, {N, N, P}, {N, N, 0}, {0, N, 0}},
    {{0, N, 0}, {N, N, 0}, {N, N, N}, {0, N, N}}, {{P, N, 0}, {0, N, 0}, {0, N, N}, {P, N, N}},
};

constexpr bool Same(const Point3& a, const Point3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

constexpr int Distinct_Corners() {
  int distinct = 0;
  for (int i = 0; i < kTileCount * 4; ++i) {
    bool seen = false;
    for (int j = 0; j < i; ++j) {
      seen = seen || Same(kQuadCorners[i / 4][i % 4], kQuadCorners[j / 4][j % 4]);
    }
    distinct += seen ? 0 : 1;
  }
  return distinct;
}
static_assert(Distinct_Corners() == kCornerCount);

// Index of p in the first `count` corners, appending it when new.
int Corner_Index(std::array<Point3, kCornerCount>& corners, int& count, const Point3& p) {
  for (int i = 0; i < count; ++i) {
    if (Same(corners[i], p)) return i;
  }
  corners[count] = p;
  return count++;
}

}  // namespace

void Build_Cube(std::array<Point3, kCornerCount>& corners, std::array<Quad, kTileCount>& quads,
                const uint16_t* tiles) {
  int count = 0;
  for (int k = 0; k < kTileCount; ++k) {
    for (int c = 0; c < 4; ++c) {
      quads[k].corner[c] = static_cast<uint8_t>(Corner_Index(corners, count, kQuadCorners[k][c]));
    }
    quads[k].tile = tiles ? tiles + k * kTilePixels : nullptr;
  }
}

}  // namespace orv_vr_internal
