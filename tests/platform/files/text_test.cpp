#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/files/text.h"

namespace {

TEST(TextEqual, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(Text_Equal("gotowarp", "GOTOWARP"), 0);
  EXPECT_EQ(Text_Equal("GoToWarp", "gOtOwArP"), 0);
  EXPECT_EQ(Text_Equal("", ""), 0);
  // '@' and '`' sit next to the letters but are not letters; '[' is not '{'.
  EXPECT_EQ(Text_Equal("@", "`"), -1);
  EXPECT_EQ(Text_Equal("[", "{"), -1);
  // Bytes above 127 compare exactly: no Latin-1 folding.
  EXPECT_EQ(Text_Equal("\xe9", "\xc9"), -1);
  EXPECT_EQ(Text_Equal("\xe9t\xe9", "\xe9T\xe9"), 0);

  for (auto equal : {+[](std::string_view a, std::string_view b) { return Text_Equal(a, b); },
                     +[](std::string_view a, std::string_view b) {
                       return Text_Equal(std::string(a).c_str(), std::string(b).c_str());
                     }}) {
    EXPECT_EQ(equal("W01.vr", "w01.VR"), 0);
    EXPECT_EQ(equal("@", "`"), -1);
    EXPECT_EQ(equal("\xe9", "\xc9"), -1);
  }
}

TEST(TextEqual, LengthsMustMatch) {
  EXPECT_EQ(Text_Equal("word", "WORDS"), -1);
  EXPECT_EQ(Text_Equal("WORDS", "word"), -1);
  EXPECT_EQ(Text_Equal("", "a"), -1);
  EXPECT_EQ(Text_Equal(std::string_view("word"), std::string_view("WORDS")), -1);
  EXPECT_EQ(Text_Equal(std::string_view("a"), std::string_view("")), -1);
  // A view ends at its first NUL, like a C text.
  EXPECT_EQ(Text_Equal(std::string_view("ab\0cd", 5), std::string_view("AB")), 0);
  EXPECT_EQ(Text_Equal(std::string_view("ab\0cd", 5), std::string_view("ab\0xy", 5)), 0);
}

TEST(TextEqual, NullTextIsNeverEqual) {
  EXPECT_EQ(Text_Equal(nullptr, "a"), -1);
  EXPECT_EQ(Text_Equal("a", nullptr), -1);
  EXPECT_EQ(Text_Equal(static_cast<const char*>(nullptr), nullptr), -1);
}

// Texts of 256 characters or more never compare equal; 255 still do.
TEST(TextEqual, CompareLimitAt256) {
  const std::string a255(255, 'k'), b255(255, 'K');
  const std::string a256(256, 'k'), b256(256, 'K');
  const std::string a300(300, 'k');
  EXPECT_EQ(Text_Equal(a255.c_str(), b255.c_str()), 0);
  EXPECT_EQ(Text_Equal(std::string_view(a255), std::string_view(b255)), 0);
  EXPECT_EQ(Text_Equal(a256.c_str(), b256.c_str()), -1);
  EXPECT_EQ(Text_Equal(a256.c_str(), a256.c_str()), -1);
  EXPECT_EQ(Text_Equal(std::string_view(a256), std::string_view(b256)), -1);
  EXPECT_EQ(Text_Equal(a300.c_str(), a300.c_str()), -1);
  EXPECT_EQ(Text_Equal(std::string_view(a300), std::string_view(a300)), -1);
  // A long text against a short one that equals its prefix.
  EXPECT_EQ(Text_Equal(a300.c_str(), a255.c_str()), -1);
}

TEST(TextToInt, SignDigitsAndStop) {
  EXPECT_EQ(Text_To_Int("0"), 0);
  EXPECT_EQ(Text_To_Int("123"), 123);
  EXPECT_EQ(Text_To_Int("-45"), -45);
  EXPECT_EQ(Text_To_Int("007"), 7);
  EXPECT_EQ(Text_To_Int("12AB"), 12);
  EXPECT_EQ(Text_To_Int("3,4"), 3);
  EXPECT_EQ(Text_To_Int("+5"), 0);   // no "+" sign
  EXPECT_EQ(Text_To_Int(" 5"), 0);   // no blank skipped
  EXPECT_EQ(Text_To_Int("--5"), 0);  // one sign only
  EXPECT_EQ(Text_To_Int("-"), 0);
  EXPECT_EQ(Text_To_Int("-x9"), 0);
  EXPECT_EQ(Text_To_Int("abc"), 0);
  EXPECT_EQ(Text_To_Int(""), 0);
  EXPECT_EQ(Text_To_Int(static_cast<const char*>(nullptr)), 0);
  EXPECT_EQ(Text_To_Int(std::string_view("42")), 42);
  EXPECT_EQ(Text_To_Int(std::string_view("42", 1)), 4);  // a view ends where it ends
  EXPECT_EQ(Text_To_Int(std::string_view("1\0"
                                         "2",
                                         3)),
            1);
}

// Wraps modulo 2^32 like a 32-bit accumulator, in both directions.
TEST(TextToInt, WrapsAt32Bits) {
  EXPECT_EQ(Text_To_Int("2147483647"), INT32_MAX);
  EXPECT_EQ(Text_To_Int("2147483648"), INT32_MIN);
  EXPECT_EQ(Text_To_Int("-2147483648"), INT32_MIN);
  EXPECT_EQ(Text_To_Int("-2147483649"), INT32_MAX);
  EXPECT_EQ(Text_To_Int("4294967295"), -1);
  EXPECT_EQ(Text_To_Int("4294967296"), 0);
  EXPECT_EQ(Text_To_Int("4294967301"), 5);
  EXPECT_EQ(Text_To_Int("-4294967297"), -1);
  // 10^20 mod 2^32 = 1661992960.
  EXPECT_EQ(Text_To_Int("100000000000000000000"), 1661992960);
}

TEST(HexToInt, DigitsCaseAndStop) {
  EXPECT_EQ(Hex_To_Int("0"), 0);
  EXPECT_EQ(Hex_To_Int("ff"), 255);
  EXPECT_EQ(Hex_To_Int("FF"), 255);
  EXPECT_EQ(Hex_To_Int("aBcD"), 0xABCD);
  EXPECT_EQ(Hex_To_Int("7FFFFFFF"), INT32_MAX);
  EXPECT_EQ(Hex_To_Int("80000000"), INT32_MIN);
  EXPECT_EQ(Hex_To_Int("FFFFFFFF"), -1);
  EXPECT_EQ(Hex_To_Int("123456789"), 0x23456789);  // the top digit is shifted out
  EXPECT_EQ(Hex_To_Int("1G2"), 1);
  EXPECT_EQ(Hex_To_Int("0x10"), 0);
  EXPECT_EQ(Hex_To_Int("-1"), 0);
  EXPECT_EQ(Hex_To_Int("g"), 0);
  EXPECT_EQ(Hex_To_Int(""), 0);
  EXPECT_EQ(Hex_To_Int("@"), 0);  // one below 'A'
  EXPECT_EQ(Hex_To_Int("`"), 0);  // one below 'a'
  EXPECT_EQ(Hex_To_Int(":"), 0);  // one above '9'
}

TEST(IntToText, DecimalAndHex) {
  EXPECT_EQ(Int_To_Text(0), "0");
  EXPECT_EQ(Int_To_Text(7), "7");
  EXPECT_EQ(Int_To_Text(-7), "-7");
  EXPECT_EQ(Int_To_Text(1000), "1000");
  EXPECT_EQ(Int_To_Text(INT32_MAX), "2147483647");
  EXPECT_EQ(Int_To_Text(INT32_MIN), "-2147483648");
  for (int32_t v : {0, 1, -1, 99, -100, 123456789, INT32_MAX, INT32_MIN + 1}) {
    EXPECT_EQ(Text_To_Int(Int_To_Text(v)), v);
  }

  EXPECT_EQ(Int_To_Hex8(0), "00000000");
  EXPECT_EQ(Int_To_Hex8(0xA), "0000000A");
  EXPECT_EQ(Int_To_Hex8(0xDEADBEEF), "DEADBEEF");
  EXPECT_EQ(Int_To_Hex8(0x01234567), "01234567");
  EXPECT_EQ(Int_To_Hex8(0xFFFFFFFF), "FFFFFFFF");
  EXPECT_EQ(uint32_t(Hex_To_Int(Int_To_Hex8(0x89ABCDEF))), 0x89ABCDEFu);
}

TEST(TextUpper, OnlyAsciiLowerCase) {
  std::string text = "az AZ 09 `{ @[ \xe9\xff Mixed";
  Text_Upper(text);
  EXPECT_EQ(text, "AZ AZ 09 `{ @[ \xe9\xff MIXED");
  std::string empty;
  Text_Upper(empty);
  EXPECT_EQ(empty, "");
}

TEST(TextMid, OneBasedStartAndShortEnds) {
  EXPECT_EQ(Text_Mid("ABCDEF", 1, 3), "ABC");
  EXPECT_EQ(Text_Mid("ABCDEF", 2, 3), "BCD");
  EXPECT_EQ(Text_Mid("ABCDEF", 4, 10), "DEF");  // fewer when the text ends first
  EXPECT_EQ(Text_Mid("ABCDEF", 6, 1), "F");
  EXPECT_EQ(Text_Mid("ABCDEF", 6, 2), "F");
  EXPECT_EQ(Text_Mid("ABCDEF", 7, 1), "");
  EXPECT_EQ(Text_Mid("ABCDEF", 100, 1), "");
  EXPECT_EQ(Text_Mid("ABCDEF", 0, 3), "");
  EXPECT_EQ(Text_Mid("ABCDEF", -2, 3), "");
  EXPECT_EQ(Text_Mid("ABCDEF", 1, 0), "");
  EXPECT_EQ(Text_Mid("ABCDEF", 1, -1), "");
  EXPECT_EQ(Text_Mid("", 1, 1), "");
  EXPECT_EQ(Text_Mid("ABCDEF", INT32_MAX, INT32_MAX), "");
  EXPECT_EQ(Text_Mid("ABCDEF", 2, INT32_MAX), "BCDEF");
}

TEST(PathFileName, AllThreeSeparators) {
  EXPECT_EQ(Path_File_Name("name.pcx"), "name.pcx");
  EXPECT_EQ(Path_File_Name("data/name.pcx"), "name.pcx");
  EXPECT_EQ(Path_File_Name("data\\name.pcx"), "name.pcx");
  EXPECT_EQ(Path_File_Name("D:name.pcx"), "name.pcx");
  EXPECT_EQ(Path_File_Name("D:\\game\\data/name.pcx"), "name.pcx");
  EXPECT_EQ(Path_File_Name("a/b\\c:d"), "d");  // the last one of any kind
  EXPECT_EQ(Path_File_Name("a\\b/c"), "c");
  EXPECT_EQ(Path_File_Name("data/"), "");
  EXPECT_EQ(Path_File_Name("data\\"), "");
  EXPECT_EQ(Path_File_Name("/"), "");
  EXPECT_EQ(Path_File_Name(""), "");
}

// Only the first 255 characters of the path are looked at.
TEST(PathFileName, First255Characters) {
  const std::string folder(200, 'f');
  const std::string name(54, 'n');
  EXPECT_EQ(Path_File_Name(folder + "/" + name), name);        // 255 in all
  EXPECT_EQ(Path_File_Name(folder + "/" + name + "x"), name);  // the 256th is dropped
  // A separator beyond the 255th character is not seen.
  const std::string long_name(255, 'n');
  EXPECT_EQ(Path_File_Name(long_name + "/tail"), long_name);
  EXPECT_EQ(Path_File_Name(long_name + "\\tail.pcx"), long_name);
  EXPECT_EQ(Path_File_Name(std::string(254, 'n') + "/tail"), "");
}

TEST(BytesReverse, InPlace) {
  unsigned char bytes[] = {1, 2, 3, 4, 5};
  Bytes_Reverse(bytes, 5);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 5), std::string("\5\4\3\2\1", 5));
  Bytes_Reverse(bytes, 4);  // only the first four
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 5), std::string("\2\3\4\5\1", 5));
  Bytes_Reverse(bytes, 1);
  Bytes_Reverse(bytes, 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 5), std::string("\2\3\4\5\1", 5));
  Bytes_Reverse(nullptr, 0);
}

TEST(FieldGet, CountsCommaSeparatedFields) {
  std::string out = "stale";
  EXPECT_EQ(Field_Get("SET,A,1", out, 0), 0);
  EXPECT_EQ(out, "SET");
  EXPECT_EQ(Field_Get("SET,A,1", out, 1), 0);
  EXPECT_EQ(out, "A");
  EXPECT_EQ(Field_Get("SET,A,1", out, 2), 0);
  EXPECT_EQ(out, "1");
  out = "stale";
  EXPECT_EQ(Field_Get("SET,A,1", out, 3), -1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(Field_Get("SET,A,1", out, 100), -1);
  EXPECT_EQ(out, "");
  out = "stale";
  EXPECT_EQ(Field_Get("SET,A,1", out, -1), -1);
  EXPECT_EQ(out, "");

  // Empty fields exist and are empty: "SET , A , 1" as the line reader gives it.
  const std::string line = "SET,,A,,1";
  const char* expected[] = {"SET", "", "A", "", "1"};
  for (int n = 0; n < 5; ++n) {
    out = "stale";
    EXPECT_EQ(Field_Get(line, out, n), 0) << n;
    EXPECT_EQ(out, expected[n]) << n;
  }
  EXPECT_EQ(Field_Get(line, out, 5), -1);

  EXPECT_EQ(Field_Get(",", out, 0), 0);
  EXPECT_EQ(out, "");
  EXPECT_EQ(Field_Get(",", out, 1), 0);
  EXPECT_EQ(out, "");
  EXPECT_EQ(Field_Get(",", out, 2), -1);
  EXPECT_EQ(Field_Get("A,", out, 1), 0);
  EXPECT_EQ(out, "");

  // Only commas separate: blanks, '=' and ';' belong to the field.
  EXPECT_EQ(Field_Get("A B=C;D,E", out, 0), 0);
  EXPECT_EQ(out, "A B=C;D");
}

TEST(FieldGet, EmptyLineHasNoField) {
  std::string out = "stale";
  EXPECT_EQ(Field_Get("", out, 0), -1);
  EXPECT_EQ(out, "");
  out = "stale";
  EXPECT_EQ(Field_Get(std::string_view("\0A,B", 4), out, 0), -1);  // a line ends at NUL
  EXPECT_EQ(out, "");
  EXPECT_EQ(Field_Get(std::string_view("A\0,B", 4), out, 1), -1);
  EXPECT_EQ(Field_Get(std::string_view("A\0,B", 4), out, 0), 0);
  EXPECT_EQ(out, "A");
}

// Only the first 255 characters of a line count: a field that starts at the
// 256th character or later does not exist, one that starts before is cut.
TEST(FieldGet, First255Characters) {
  std::string out;
  const std::string head255(255, 'x');
  out = "stale";
  EXPECT_EQ(Field_Get(head255 + ",A", out, 1), -1);  // the comma is the 256th character
  EXPECT_EQ(out, "");
  EXPECT_EQ(Field_Get(head255 + ",A", out, 0), 0);
  EXPECT_EQ(out, head255);
  const std::string head254(254, 'x');
  EXPECT_EQ(Field_Get(head254 + ",A", out, 0), 0);
  EXPECT_EQ(out, head254);
  EXPECT_EQ(Field_Get(head254 + ",A,B", out, 2), -1);

  const std::string head253(253, 'x');
  EXPECT_EQ(Field_Get(head253 + ",A", out, 1), 0);  // "A" is the 255th character
  EXPECT_EQ(out, "A");
  EXPECT_EQ(Field_Get(head253 + ",ABCDEF", out, 1), 0);
  EXPECT_EQ(out, "A");

  const std::string long_field(300, 'y');
  EXPECT_EQ(Field_Get(long_field, out, 0), 0);
  EXPECT_EQ(out, std::string(255, 'y'));
  EXPECT_EQ(Field_Get(long_field + ",Z", out, 1), -1);

  const std::string head250(250, 'x');
  EXPECT_EQ(Field_Get(head250 + ",bcdefghij", out, 1), 0);
  EXPECT_EQ(out, "bcde");
}

}  // namespace
