// Two renderers drawing at the same time on two threads give the pixels
// each gives alone.
#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <vector>

#include "tests/orv_vr/test_views.h"

namespace orv_test {
namespace {

std::vector<View> Views(unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> yaw(-kPi, kPi), tilt(0.1, kPi - 0.1), fov(0.5, 2.4);
  std::vector<View> views;
  for (int i = 0; i < 12; ++i) {
    views.push_back({float(yaw(rng)), float(tilt(rng)), 0, float(fov(rng))});
  }
  return views;
}

std::vector<std::vector<uint16_t>> Draw_All(ORV_VR& vr, const std::vector<View>& views) {
  std::vector<std::vector<uint16_t>> frames;
  for (const View& v : views) {
    frames.emplace_back(640 * 480, kUntouched);
    Draw(vr, frames.back().data(), v);
  }
  return frames;
}

TEST(OrvVrThreads, TwoRenderersDrawIndependently) {
  ORV_VR a, b;
  Fill(a, [](int k, int u, int v) { return static_cast<uint16_t>(k * 2731 + u * 31 + v); });
  Fill(b, [](int k, int u, int v) { return static_cast<uint16_t>(k * 977 + u + v * 17); });
  ASSERT_EQ(a.Init_Resolution(0, 0, 640, 480, 640, 1), 1);
  ASSERT_EQ(b.Init_Resolution(0, 0, 640, 480, 640, 1), 1);
  const std::vector<View> views_a = Views(1), views_b = Views(2);
  const auto alone_a = Draw_All(a, views_a);
  const auto alone_b = Draw_All(b, views_b);

  for (int round = 0; round < 3; ++round) {
    std::vector<std::vector<uint16_t>> together_a, together_b;
    std::thread ta([&] { together_a = Draw_All(a, views_a); });
    std::thread tb([&] { together_b = Draw_All(b, views_b); });
    ta.join();
    tb.join();
    EXPECT_TRUE(together_a == alone_a) << round;
    EXPECT_TRUE(together_b == alone_b) << round;
  }
}

}  // namespace
}  // namespace orv_test
