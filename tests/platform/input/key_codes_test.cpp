// The virtual-key to code table, over every virtual key.
#include <gtest/gtest.h>

#include <map>

#include "platform/input/key_codes.h"

namespace {

TEST(KeyCodes, EveryVirtualKey) {
  std::map<int, int> want = {{8, 9},  {9, 8},  {46, 8},      {27, 27},     {33, 0},      {34, 0},     {35, 0},
                             {36, 0}, {45, 0}, {37, 0x4B00}, {38, 0x4800}, {39, 0x4D00}, {40, 0x5000}};
  for (int f = 0; f < 12; ++f) want[112 + f] = 128 + f;
  for (int vk = -1; vk <= 256; ++vk) {
    std::optional<int> code = Key_Code_For_Virtual_Key(vk);
    auto it = want.find(vk);
    if (it == want.end()) {
      EXPECT_FALSE(code.has_value()) << "virtual key " << vk;
    } else {
      ASSERT_TRUE(code.has_value()) << "virtual key " << vk;
      EXPECT_EQ(*code, it->second) << "virtual key " << vk;
    }
  }
}

}  // namespace
