// Views, stores and destinations shared by the renderer tests.
#pragma once

#include <cstdint>
#include <numbers>
#include <vector>

#include "orv_vr/orv_vr.h"
#include "tests/orv_vr/cube_geometry.h"

namespace orv_test {

inline constexpr float kPi = std::numbers::pi_v<float>;
inline constexpr uint16_t kUntouched = 0xFFFF;  // no tile value of the tests

// Horizontal along +x-ish, looking up towards a cube corner, and steeply down
// (the floor tiles straddle the near plane).
inline constexpr View kHorizontal{0.4, kPi / 2, 0, 1.4};
inline constexpr View kDiagonal{0.785, 2.2, 0, 1.5};
inline constexpr View kSteep{-0.3, 0.25, 0.2, 1.9};

// Fills an ORV_VR's store from f(tile, u, v).
template <class F>
void Fill(ORV_VR& vr, F f) {
  uint16_t* store = vr.Buffer();
  for (int k = 0; k < 24; ++k) {
    for (int v = 0; v < 256; ++v) {
      for (int u = 0; u < 256; ++u) store[k * 65536 + v * 256 + u] = f(k, u, v);
    }
  }
}

inline void Draw(ORV_VR& vr, uint16_t* dest, const View& v) {
  vr.Draw(dest, static_cast<float>(v.yaw), static_cast<float>(v.tilt), static_cast<float>(v.roll),
          static_cast<float>(v.fov));
}

// A destination of rows x stride pixels whose first pixel sits `offset`
// pixels after a 16-byte boundary, filled with kUntouched.
class Destination {
 public:
  Destination(int stride, int rows, int offset = 0)
      : storage_(static_cast<size_t>(stride) * rows + 16, kUntouched), offset_(offset) {
    auto base = reinterpret_cast<uintptr_t>(storage_.data());
    skip_ = static_cast<int>((16 - base % 16) % 16 / 2) + offset_;
  }
  uint16_t* data() { return storage_.data() + skip_; }
  uint16_t at(int x, int y, int stride) const { return storage_[skip_ + y * stride + x]; }
  // Pixels of the storage outside [data(), data() + count) that changed.
  int Changed_Outside(size_t count) const {
    int changed = 0;
    for (size_t i = 0; i < storage_.size(); ++i) {
      const bool inside = i >= static_cast<size_t>(skip_) && i < skip_ + count;
      if (!inside && storage_[i] != kUntouched) ++changed;
    }
    return changed;
  }

 private:
  std::vector<uint16_t> storage_;
  int offset_;
  int skip_;
};

}  // namespace orv_test
