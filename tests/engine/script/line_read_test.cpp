#include "engine/script/line_read.h"

#include <gtest/gtest.h>

#include "tests/engine/engine_test_support.h"

namespace {

// Every line of `text`, read the normalised or the raw way.
std::vector<std::string> Lines(std::string_view text, bool raw = false) {
  EngineFixture f;
  f.Add_File("t.lst", text);
  std::vector<std::string> lines;
  std::string line;
  int32_t position = 0;
  while ((raw ? Raw_Line_Read : Line_Read)(f.wx, "t.lst", line, &position) == 0) lines.push_back(line);
  EXPECT_TRUE(line.empty());
  return lines;
}

using Strings = std::vector<std::string>;

TEST(LineRead, SeparatorsBlanksCommentsAndCase) {
  EXPECT_EQ(Lines("[WARP]=w01.vr,w01.tst\n"), Strings{"[WARP],W01.VR,W01.TST"});
  EXPECT_EQ(Lines("[WARP] w01.vr  w01.tst\n"), Strings{"[WARP],W01.VR,W01.TST"});
  EXPECT_EQ(Lines("SET , A , 1"), Strings{"SET,,A,,1"});
  EXPECT_EQ(Lines("A , B"), Strings{"A,,B"});
  EXPECT_EQ(Lines("  \t set\tx 1 ; comment, with = signs\n"), Strings{"SET,X,1"});
  EXPECT_EQ(Lines("; only a comment\n"), Strings{""});
  // One trailing comma goes, a second stays.
  EXPECT_EQ(Lines("a,b,\n"), Strings{"A,B"});
  EXPECT_EQ(Lines("a,b,,\n"), Strings{"A,B,"});
  EXPECT_EQ(Lines("a b \n"), Strings{"A,B"});
  // Only a-z fold; bytes above 127 stay as they are.
  EXPECT_EQ(Lines("caf\xe9 \xe9t\xe9"), Strings{"CAF\xe9,\xe9T\xe9"});
}

TEST(LineRead, LineEndsPairUp) {
  EXPECT_EQ(Lines("a\r\nb\n\rc\r\rd\n\ne"), (Strings{"A", "B", "C", "D", "E"}));
  // With one-character ends an empty line right after a line is not seen;
  // with CR LF ends it is read as an empty line.
  EXPECT_EQ(Lines("a\n\nb"), (Strings{"A", "B"}));
  EXPECT_EQ(Lines("a\n\n\nb"), (Strings{"A", "", "B"}));
  EXPECT_EQ(Lines("a\r\n\r\nb\r\n"), (Strings{"A", "", "B"}));
  EXPECT_EQ(Lines("\n"), Strings{""});
  EXPECT_EQ(Lines(""), Strings{});
}

TEST(LineRead, LongLinesAreCutAt255Characters) {
  std::string physical(300, 'x');
  Strings lines = Lines(physical + "\nnext\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], std::string(255, 'X'));
  EXPECT_EQ(lines[1], std::string(45, 'X'));
  EXPECT_EQ(lines[2], "NEXT");
  // Comment characters count towards the 255: the rest after the cut is a line.
  lines = Lines("a;" + std::string(253, 'c') + "set b 1\n");
  EXPECT_EQ(lines, (Strings{"A", "SET,B,1"}));
  // Exactly 255 characters: the line end still belongs to this line.
  EXPECT_EQ(Lines(std::string(255, 'y') + "\r\nz"), (Strings{std::string(255, 'Y'), "Z"}));
}

TEST(LineRead, PositionsAndEndOfFile) {
  EngineFixture f;
  f.Add_File("p.lst", "ab\r\ncd");
  std::string line;
  int32_t position = 0;
  EXPECT_EQ(Line_Read(f.wx, "p.lst", line, &position), 0);
  EXPECT_EQ(position, 4);
  EXPECT_EQ(Line_Read(f.wx, "p.lst", line, &position), 0);
  EXPECT_EQ(line, "CD");
  EXPECT_EQ(position, 6);
  EXPECT_EQ(Line_Read(f.wx, "p.lst", line, &position), -1);
  EXPECT_EQ(line, "");
  position = 100;
  EXPECT_EQ(Line_Read(f.wx, "p.lst", line, &position), -1);
  position = -5;
  EXPECT_EQ(Line_Read(f.wx, "p.lst", line, &position), -1);
  position = 0;
  EXPECT_EQ(Line_Read(f.wx, "missing.lst", line, &position), -1);
}

TEST(LineRead, NulByteEndsTheText) { EXPECT_EQ(Lines(std::string("ab\0cd,e\nf", 9)), (Strings{"AB", "F"})); }

TEST(RawLineRead, KeepsCaseBlanksCommasAndEquals) {
  EXPECT_EQ(Lines("  \tLoadSave_Save(1) ; save\n", true), Strings{"LoadSave_Save(1) "});
  EXPECT_EQ(Lines("set(a, = b)\r\n\r\nx", true), (Strings{"set(a, = b)", "", "x"}));
  EXPECT_EQ(Lines("ENDPLUGIN \n", true), Strings{"ENDPLUGIN "});
  Strings lines = Lines(std::string(300, 'q'), true);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), 257u);
  EXPECT_EQ(lines[1].size(), 43u);
}

}  // namespace
