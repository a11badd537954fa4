// kvrtool script, run as a program on crafted scripts.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"
#include "tests/tools/tool_run.h"
#include "tools/pak_writer.h"

namespace {

using namespace std::string_literals;

const std::string kNothing = "{\n  \"variables\": [],\n  \"warps\": []\n}\n";

std::string Pak_Of(int method, const std::string& text) {
  PakBuild build =
      Pak_Build(method, "IGNORED.TXT", reinterpret_cast<const uint8_t*>(text.data()), text.size());
  EXPECT_TRUE(build.ok()) << build.error;
  return std::string(build.bytes.begin(), build.bytes.end());
}

ToolRun Script_Of(const std::string& text) {
  TempFolder folder;
  folder.Write("t.lst", text);
  return Run_Kvrtool({"script", "t.lst"}, folder.Path());
}

TEST(KvrtoolScript, VariablesWarpsTestsAndPluginBlocks) {
  ToolRun run = Script_Of(
      "; crafted\n"
      "[BOOL] alpha\n"
      "[BOOL]\n"
      "[BOOL] Beta ; second\n"
      "[WARP] hall.vr hall.zon\n"
      "[TEST] -1 0\n"
      "setangle 0 4096\n"
      "SET , A , 1\n"
      "PLUGIN ignored rest\n"
      "  LoadSave_Save(1) ; save\n"
      "Print_Screen()\n"
      "endplugin\n"
      "END\n"
      "[TEST] 3 1\n"
      "GOTOWARP room.tga\n"
      "[WARP]=room.tga\n"
      "[TEST] 0 0\n"
      "NOT alpha\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "{\n"
            "  \"variables\": [\n"
            "    {\"name\": \"ALPHA\", \"value\": 0},\n"
            "    {\"name\": null, \"value\": 0},\n"
            "    {\"name\": \"BETA\", \"value\": 0}\n"
            "  ],\n"
            "  \"warps\": [\n"
            "    {\n"
            "      \"name\": \"HALL.VR\",\n"
            "      \"zone_file\": \"HALL.ZON\",\n"
            "      \"kind\": 0,\n"
            "      \"tests\": [\n"
            "        {\n"
            "          \"id\": -1,\n"
            "          \"kind\": 0,\n"
            "          \"commands\": [\n"
            "            \"SETANGLE,0,4096\",\n"
            "            \"SET,,A,,1\",\n"
            "            \"PLUGIN,LoadSave_Save(1) ;Print_Screen();\",\n"
            "            \"END\"\n"
            "          ]\n"
            "        },\n"
            "        {\n"
            "          \"id\": 3,\n"
            "          \"kind\": 1,\n"
            "          \"commands\": [\n"
            "            \"GOTOWARP,ROOM.TGA\"\n"
            "          ]\n"
            "        }\n"
            "      ]\n"
            "    },\n"
            "    {\n"
            "      \"name\": \"ROOM.TGA\",\n"
            "      \"zone_file\": null,\n"
            "      \"kind\": 1,\n"
            "      \"tests\": [\n"
            "        {\n"
            "          \"id\": 0,\n"
            "          \"kind\": 0,\n"
            "          \"commands\": [\n"
            "            \"NOT,ALPHA\"\n"
            "          ]\n"
            "        }\n"
            "      ]\n"
            "    }\n"
            "  ]\n"
            "}\n");
}

TEST(KvrtoolScript, EightBitTextBecomesValidJson) {
  ToolRun run = Script_Of("[WARP] caf\xe9.vr\n[TEST] 0 0\nPRINT \"quoted\"\\back\x01x\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "{\n"
            "  \"variables\": [],\n"
            "  \"warps\": [\n"
            "    {\n"
            "      \"name\": \"CAF\\u00e9.VR\",\n"
            "      \"zone_file\": null,\n"
            "      \"kind\": 0,\n"
            "      \"tests\": [\n"
            "        {\n"
            "          \"id\": 0,\n"
            "          \"kind\": 0,\n"
            "          \"commands\": [\n"
            "            \"PRINT,\\\"QUOTED\\\"\\\\BACK\\u0001X\"\n"
            "          ]\n"
            "        }\n"
            "      ]\n"
            "    }\n"
            "  ]\n"
            "}\n");
}

TEST(KvrtoolScript, LoadingStopsAtAnUnknownKeyword) {
  ToolRun run =
      Script_Of("[WARP] a.vr\n[TEST] -1 0\nSET X 1\nFROBNICATE\nSET Y 2\n[WARP] b.vr\n[TEST] 0 0\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("\"commands\": [\n            \"SET,X,1\"\n          ]"), std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("B.VR"), std::string::npos) << run.out;
}

TEST(KvrtoolScript, UnterminatedPluginBlockIsReported) {
  // "ENDPLUGIN " with a trailing blank does not close the block.
  std::string text = "[WARP] a.vr a.zon\n[TEST] -1 0\nPLUGIN\nfirst()\nENDPLUGIN \n";
  ToolRun run = Script_Of(text);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "Syntax error in PLUGIN intruction, ENDPLUGIN not found!\nOffset: " +
                         std::to_string(text.size()) + "\n");
  EXPECT_NE(run.out.find("\"commands\": [\n            \"PLUGIN,first();ENDPLUGIN ;\"\n          ]"),
            std::string::npos)
      << run.out;
}

TEST(KvrtoolScript, WarpWithoutANameIsNotKept) {
  ToolRun run = Script_Of("[WARP]\n[TEST] -1 0\nSET A 1\n[WARP] b.tga b.zon\n[TEST] 0 0\nEND\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("[WARP] without a picture name"), std::string::npos) << run.err;
  EXPECT_EQ(run.out,
            "{\n"
            "  \"variables\": [],\n"
            "  \"warps\": [\n"
            "    {\n"
            "      \"name\": \"B.TGA\",\n"
            "      \"zone_file\": \"B.ZON\",\n"
            "      \"kind\": 1,\n"
            "      \"tests\": [\n"
            "        {\n"
            "          \"id\": 0,\n"
            "          \"kind\": 0,\n"
            "          \"commands\": [\n"
            "            \"END\"\n"
            "          ]\n"
            "        }\n"
            "      ]\n"
            "    }\n"
            "  ]\n"
            "}\n");
}

TEST(KvrtoolScript, NothingLoadablePrintsEmptyLists) {
  for (const std::string& text : {""s, "; only a comment\n\nSET A 1\n"s, "SET A 1\nGOTOWARP X\n"s}) {
    ToolRun run = Script_Of(text);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, kNothing);
  }
  // Variables only, and a warp with no tests (its next line is not [TEST]).
  ToolRun run = Script_Of("[BOOL] a\n[WARP] w.vr\n\n\n[TEST] 0 0\nEND\n");
  EXPECT_EQ(run.out,
            "{\n"
            "  \"variables\": [\n"
            "    {\"name\": \"A\", \"value\": 0}\n"
            "  ],\n"
            "  \"warps\": [\n"
            "    {\n"
            "      \"name\": \"W.VR\",\n"
            "      \"zone_file\": null,\n"
            "      \"kind\": 0,\n"
            "      \"tests\": []\n"
            "    }\n"
            "  ]\n"
            "}\n");
}

TEST(KvrtoolScript, PackedFormIsReadFirst) {
  TempFolder folder;
  folder.Make_Folder("sub");
  folder.Write("sub/script.lst", "[BOOL] plain\n");
  for (int method : {0, 3, 5}) {
    folder.Write("sub/script.pak", Pak_Of(method, "[BOOL] packed\n[WARP] p.vr\n[TEST] -1 0\nEND\n"));
    // The folder and the names are found ignoring case, as the engine does.
    ToolRun run = Run_Kvrtool({"script", "SUB/Script.LST"}, folder.Path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("{\"name\": \"PACKED\", \"value\": 0}"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"name\": \"P.VR\""), std::string::npos) << run.out;
  }
  // A packed form that exists without the plain one.
  folder.Write("sub/other.pak", Pak_Of(1, "[BOOL] only_packed\n"));
  ToolRun run = Run_Kvrtool({"script", folder.Path("sub/other.lst")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"ONLY_PACKED\""), std::string::npos) << run.out;

  // An empty packed form does not count.
  folder.Write("sub/script.pak", "");
  run = Run_Kvrtool({"script", "sub/script.lst"}, folder.Path());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"PLAIN\""), std::string::npos) << run.out;
}

TEST(KvrtoolScript, MissingAndDamagedScriptsAreErrors) {
  TempFolder folder;
  ToolRun run = Run_Kvrtool({"script", "none.lst"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "kvrtool script: cannot read none.lst (nor its packed form none.pak)\n");

  run = Run_Kvrtool({"script", "nodir/none.lst"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "kvrtool script: cannot enter the folder nodir: No such file or directory\n");

  folder.Make_Folder("dir.lst");
  run = Run_Kvrtool({"script", "dir.lst"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "kvrtool script: cannot read dir.lst (nor its packed form dir.pak)\n");

  // A damaged packed form is the script: the plain file does not replace it.
  folder.Write("s.lst", "[BOOL] plain\n");
  std::string pak = Pak_Of(0, "[BOOL] packed\n");
  pak[24] = 9;
  folder.Write("s.pak", pak);
  run = Run_Kvrtool({"script", "s.lst"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "kvrtool script: packed form s.pak of s.lst: unknown packing method 9 (0 to 5 exist)\n");
}

}  // namespace
