// Typed UTF-8 text as Windows-1252 characters.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_text_input.h"

namespace {

TEST(SdlTextInput, AsciiLatin1AndTheWindowsExtras) {
  EXPECT_EQ(Window_Characters("a2 "), (std::vector<int>{'a', '2', ' '}));
  EXPECT_EQ(Window_Characters("\xC3\xA9\xC3\xBF\xC2\xA0"), (std::vector<int>{0xE9, 0xFF, 0xA0}));
  EXPECT_EQ(Window_Characters("\xE2\x82\xAC\xC5\x93\xE2\x80\x94"), (std::vector<int>{0x80, 0x9C, 0x97}));
  EXPECT_EQ(Window_Characters("\xC5\xB8"), (std::vector<int>{0x9F}));
}

TEST(SdlTextInput, UnmappableAndMalformedTextIsLeftOut) {
  EXPECT_TRUE(Window_Characters("\xE4\xB8\xAD").empty());          // a CJK letter
  EXPECT_TRUE(Window_Characters("\xF0\x9F\x98\x80").empty());      // an emoji
  EXPECT_TRUE(Window_Characters("\xC2\x81").empty());              // a C1 control
  EXPECT_EQ(Window_Characters("\xC3x"), (std::vector<int>{'x'}));  // cut sequence
  EXPECT_EQ(Window_Characters("\xFFy"), (std::vector<int>{'y'}));
  EXPECT_EQ(Window_Characters("\xE2\x82"), (std::vector<int>{}));
  EXPECT_TRUE(Window_Characters("").empty());
}

}  // namespace
