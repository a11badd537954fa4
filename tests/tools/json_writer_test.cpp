#include "tools/json_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <regex>

namespace {

using namespace std::string_literals;

TEST(JsonQuote, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(Json_Quote(""), R"("")");
  EXPECT_EQ(Json_Quote("plain text / 123"), R"("plain text / 123")");
  EXPECT_EQ(Json_Quote("a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(Json_Quote("\b\f\n\r\t"), R"("\b\f\n\r\t")");
  EXPECT_EQ(Json_Quote("\x01\x1f\x7f"), R"("\u0001\u001f\u007f")");
  EXPECT_EQ(Json_Quote("a\0b"s), R"("a\u0000b")");
  EXPECT_EQ(Json_Quote(" ~"), R"(" ~")");
}

TEST(JsonQuote, BytesFrom0x80AreLatin1CodePoints) {
  EXPECT_EQ(Json_Quote("caf\xe9"), R"("caf\u00e9")");
  EXPECT_EQ(Json_Quote("\x80\xa0\xff"), R"("\u0080\u00a0\u00ff")");
}

TEST(JsonQuote, EveryByteGivesPrintableAscii) {
  for (int b = 0; b < 256; ++b) {
    std::string quoted = Json_Quote(std::string(1, char(b)));
    for (char c : quoted) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "byte " << b;
    if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\')
      EXPECT_EQ(quoted.size(), 3u) << "byte " << b;
    else
      EXPECT_GE(quoted.size(), 4u) << "byte " << b;
  }
}

TEST(JsonFloat, ShortestFormsAndNonFinite) {
  EXPECT_EQ(Json_Float(0.0f), "0");
  EXPECT_EQ(Json_Float(-0.0f), "-0");
  EXPECT_EQ(Json_Float(0.5f), "0.5");
  EXPECT_EQ(Json_Float(0.1f), "0.1");
  EXPECT_EQ(Json_Float(-1.25f), "-1.25");
  EXPECT_EQ(Json_Float(640.0f), "640");
  EXPECT_EQ(Json_Float(6.2831855f), "6.2831855");
  EXPECT_EQ(Json_Float(std::numeric_limits<float>::max()), "3.4028235e+38");
  EXPECT_EQ(Json_Float(std::numeric_limits<float>::denorm_min()), "1e-45");
  EXPECT_EQ(Json_Float(std::numeric_limits<float>::infinity()), "null");
  EXPECT_EQ(Json_Float(-std::numeric_limits<float>::infinity()), "null");
  EXPECT_EQ(Json_Float(std::numeric_limits<float>::quiet_NaN()), "null");
}

// Any finite float prints as a JSON number that reads back to the same bits.
TEST(JsonFloat, RoundTripsAsJsonNumbers) {
  const std::regex json_number(R"(-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?)");
  uint32_t state = 12345;
  for (int i = 0; i < 20000; ++i) {
    state = state * 1664525u + 1013904223u;
    float value = std::bit_cast<float>(state);
    if (!std::isfinite(value)) continue;
    std::string text = Json_Float(value);
    ASSERT_TRUE(std::regex_match(text, json_number)) << text;
    float back = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), back);
    ASSERT_EQ(error, std::errc()) << text;
    ASSERT_EQ(end, text.data() + text.size()) << text;
    ASSERT_EQ(std::bit_cast<uint32_t>(back), state) << text;
  }
}

TEST(JsonWriter, BlockAndInlineLayouts) {
  JsonWriter json;
  json.Begin_Object();
  json.Key("list");
  json.Begin_Array();
  json.Begin_Object(JsonWriter::Layout::kInline);
  json.Key("name");
  json.String_Or_Null(std::string("A\"B"));
  json.Key("none");
  json.String_Or_Null(std::nullopt);
  json.Key("pair");
  json.Begin_Array();  // inside an inline object: inline too
  json.Int(-1);
  json.Float(0.25f);
  json.End_Array();
  json.End_Object();
  json.Int(7);
  json.End_Array();
  json.Key("empty_array");
  json.Begin_Array();
  json.End_Array();
  json.Key("empty_object");
  json.Begin_Object();
  json.End_Object();
  json.Key("inline_empty");
  json.Begin_Array(JsonWriter::Layout::kInline);
  json.End_Array();
  json.Key("nested");
  json.Begin_Object();
  json.Key("x");
  json.Null();
  json.End_Object();
  json.End_Object();
  EXPECT_EQ(json.Text(),
            "{\n"
            "  \"list\": [\n"
            "    {\"name\": \"A\\\"B\", \"none\": null, \"pair\": [-1, 0.25]},\n"
            "    7\n"
            "  ],\n"
            "  \"empty_array\": [],\n"
            "  \"empty_object\": {},\n"
            "  \"inline_empty\": [],\n"
            "  \"nested\": {\n"
            "    \"x\": null\n"
            "  }\n"
            "}");
}

TEST(JsonWriter, KeysAreEscapedAndIntegersKeepTheirRange) {
  JsonWriter json;
  json.Begin_Object(JsonWriter::Layout::kInline);
  json.Key("k\xe9y\n");
  json.Int(std::numeric_limits<int64_t>::min());
  json.Key("max");
  json.Int(std::numeric_limits<int32_t>::max());
  json.End_Object();
  EXPECT_EQ(json.Text(), R"({"k\u00e9y\n": -9223372036854775808, "max": 2147483647})");
}

TEST(JsonWriter, TopLevelScalar) {
  JsonWriter json;
  json.String("\xff");
  EXPECT_EQ(json.Text(), R"("\u00ff")");
}

}  // namespace
