#include <gtest/gtest.h>

#include <string>

#include "host/path_resolve.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(PathResolve, MatchesEveryComponentIgnoringCase) {
  TempFolder tmp;
  tmp.Make_Folder("Data/Cursors");
  tmp.Write("Data/Cursors/Cursor1.pcx", "c");
  EXPECT_EQ(Path_Resolve(tmp.Path("Data/Cursors/Cursor1.pcx")), tmp.Path("Data/Cursors/Cursor1.pcx"));
  EXPECT_EQ(Path_Resolve(tmp.Path("DATA/CURSORS/CURSOR1.PCX")), tmp.Path("Data/Cursors/Cursor1.pcx"));
  EXPECT_EQ(Path_Resolve(tmp.Path("data/cursors/cursor1.pcx")), tmp.Path("Data/Cursors/Cursor1.pcx"));
  // '\' separates like '/', also mixed with it.
  EXPECT_EQ(Path_Resolve(tmp.Path("DATA\\CURSORS\\CURSOR1.PCX")), tmp.Path("Data/Cursors/Cursor1.pcx"));
  EXPECT_EQ(Path_Resolve(tmp.Path("data\\Cursors/cursor1.PCX")), tmp.Path("Data/Cursors/Cursor1.pcx"));
  // Folders alone, with a trailing separator, and "." / ".." components.
  EXPECT_EQ(Path_Resolve(tmp.Path("DATA")), tmp.Path("Data"));
  EXPECT_EQ(Path_Resolve(tmp.Path("DATA\\")), tmp.Path("Data/"));
  EXPECT_EQ(Path_Resolve(tmp.Path("DATA/./CURSORS/../Cursors/CURSOR1.PCX")),
            tmp.Path("Data/./Cursors/../Cursors/Cursor1.pcx"));
}

// Only A-Z/a-z fold: a name differing in another byte does not match.
TEST(PathResolve, FoldsOnlyAsciiLetters) {
  TempFolder tmp;
  tmp.Write("caf\xc3\xa9.txt", "x");
  tmp.Write("a[1].txt", "x");
  EXPECT_EQ(Path_Resolve(tmp.Path("CAF\xc3\xa9.TXT")), tmp.Path("caf\xc3\xa9.txt"));
  EXPECT_EQ(Path_Resolve(tmp.Path("CAF\xc3\x89.TXT")), tmp.Path("CAF\xc3\x89.TXT"));
  EXPECT_EQ(Path_Resolve(tmp.Path("A{1}.TXT")), tmp.Path("A{1}.TXT"));
  EXPECT_EQ(Path_Resolve(tmp.Path("A[1].TXT")), tmp.Path("a[1].txt"));
}

// The exact name wins; among other case variants the first in byte order,
// whatever order the folder lists them in.
TEST(PathResolve, ChoiceAmongSeveralMatches) {
  TempFolder tmp;
  tmp.Write("readme.txt", "lower");
  tmp.Write("README.TXT", "upper");
  tmp.Write("ReadMe.txt", "mixed");
  EXPECT_EQ(Path_Resolve(tmp.Path("readme.txt")), tmp.Path("readme.txt"));
  EXPECT_EQ(Path_Resolve(tmp.Path("ReadMe.txt")), tmp.Path("ReadMe.txt"));
  EXPECT_EQ(Path_Resolve(tmp.Path("README.TXT")), tmp.Path("README.TXT"));
  EXPECT_EQ(Path_Resolve(tmp.Path("readme.TXT")), tmp.Path("README.TXT"));  // 'R' < 'r'
  EXPECT_EQ(Path_Resolve(tmp.Path("Readme.Txt")), tmp.Path("README.TXT"));
}

// From the first component without a match the rest stays as written (with
// '/' separators), so opening fails and creating makes that name.
TEST(PathResolve, MissingComponentKeepsTheRest) {
  TempFolder tmp;
  tmp.Make_Folder("Saves");
  EXPECT_EQ(Path_Resolve(tmp.Path("SAVES/Saved_1.bin")), tmp.Path("Saves/Saved_1.bin"));
  EXPECT_EQ(Path_Resolve(tmp.Path("SAVES\\NEW\\Saved_1.bin")), tmp.Path("Saves/NEW/Saved_1.bin"));
  EXPECT_EQ(Path_Resolve(tmp.Path("NOPE\\Saves")), tmp.Path("NOPE/Saves"));
  // A name that is longer or shorter than an entry is not its match.
  tmp.Write("Saves/abc", "x");
  EXPECT_EQ(Path_Resolve(tmp.Path("saves/ABCD")), tmp.Path("Saves/ABCD"));
  EXPECT_EQ(Path_Resolve(tmp.Path("saves/AB")), tmp.Path("Saves/AB"));
  EXPECT_EQ(Path_Resolve(""), "");
}

TEST(PathResolve, RelativeNamesResolveFromTheCurrentFolder) {
  // "." is always there; relative components below it fold as well.
  EXPECT_EQ(Path_Resolve("./NO_SUCH_NAME_XYZ\\A"), "./NO_SUCH_NAME_XYZ/A");
  EXPECT_EQ(Path_Resolve("/"), "/");
  EXPECT_EQ(Path_Resolve("\\"), "/");
  EXPECT_EQ(Path_Resolve("/TMP"), "/tmp");
}

TEST(NameEqual, FoldsCaseAndSeparators) {
  EXPECT_TRUE(Name_Equal("data\\cursor1.pcx", "DATA/CURSOR1.PCX"));
  EXPECT_TRUE(Name_Equal("a/b", "a\\b"));
  EXPECT_TRUE(Name_Equal("", ""));
  EXPECT_FALSE(Name_Equal("a/b", "a:b"));
  EXPECT_FALSE(Name_Equal("ab", "abc"));
  EXPECT_FALSE(Name_Equal("\xe9", "\xc9"));
  EXPECT_FALSE(Name_Equal("@", "`"));
  const std::string n255(255, 'n'), n256(256, 'n');
  EXPECT_TRUE(Name_Equal(n255, std::string(255, 'N')));
  EXPECT_FALSE(Name_Equal(n256, n256));
}

}  // namespace
