// kvrtool zones, run as a program.
#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <string>

#include "tests/support/temp_folder.h"
#include "tests/tools/tool_run.h"
#include "tools/zone_writer.h"

namespace {

std::string Bytes_Of(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string U32(uint32_t value) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += char(value >> (8 * i));
  return out;
}

std::string F32(float value) { return U32(std::bit_cast<uint32_t>(value)); }

ToolRun Zones_Of(const std::string& bytes) {
  TempFolder folder;
  folder.Write("t.zon", bytes);
  return Run_Kvrtool({"zones", "t.zon"}, folder.Path());
}

TEST(KvrtoolZones, ExactJsonWithShortestFloats) {
  const float inf = std::numeric_limits<float>::infinity();
  ToolRun run = Zones_Of(Bytes_Of(Zone_File_Bytes({
      {0.5f, 1.25f, 6.2831855f, -0.0f},
      {0.1f, 640.0f, std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max()},
      {inf, -inf, std::numeric_limits<float>::quiet_NaN(), -3.0e-7f},
  })));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "{\n"
            "  \"zones\": [\n"
            "    [0.5, 1.25, 6.2831855, -0],\n"
            "    [0.1, 640, 1e-45, 3.4028235e+38],\n"
            "    [null, null, null, -3e-07]\n"
            "  ]\n"
            "}\n");
}

TEST(KvrtoolZones, FilesWithoutZones) {
  for (const std::string& bytes : {std::string(), U32(0)}) {
    ToolRun run = Zones_Of(bytes);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "{\n  \"zones\": []\n}\n");
  }
}

TEST(KvrtoolZones, PartlyReadFilesAreWarnedAbout) {
  std::string zone = F32(1) + F32(2) + F32(3) + F32(4);
  struct Case {
    std::string bytes;
    std::string json;
    std::string warning;
  };
  const std::vector<Case> cases = {
      {U32(3) + zone + zone + "abcde", "{\n  \"zones\": [\n    [1, 2, 3, 4],\n    [1, 2, 3, 4]\n  ]\n}\n",
       "kvrtool zones: warning: t.zon: declares 3 zones but holds only 2; the engine reads 2\n"},
      {U32(1), "{\n  \"zones\": []\n}\n",
       "kvrtool zones: warning: t.zon: declares 1 zones but holds only 0; the engine reads 0\n"},
      {U32(uint32_t(-2)) + zone, "{\n  \"zones\": []\n}\n",
       "kvrtool zones: warning: t.zon: the zone count is -2: no zones\n"},
      {std::string("\x01\x00", 2), "{\n  \"zones\": []\n}\n",
       "kvrtool zones: warning: t.zon: 2 bytes, too short for the zone count: no zones\n"},
      {U32(1) + zone + "xyz", "{\n  \"zones\": [\n    [1, 2, 3, 4]\n  ]\n}\n",
       "kvrtool zones: warning: t.zon: 3 bytes after the last of its 1 zones are not read\n"},
  };
  for (const Case& c : cases) {
    ToolRun run = Zones_Of(c.bytes);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.json);
    EXPECT_EQ(run.err, c.warning);
  }
}

TEST(KvrtoolZones, MissingFileIsAnError) {
  TempFolder folder;
  ToolRun run = Run_Kvrtool({"zones", "missing.zon"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "kvrtool zones: cannot read missing.zon\n");
  folder.Make_Folder("dir.zon");
  run = Run_Kvrtool({"zones", "dir.zon"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "kvrtool zones: cannot read dir.zon\n");
}

TEST(KvrtoolZones, WriteThenRead) {
  TempFolder folder;
  ToolRun run = Run_Kvrtool({"zones", "--write", "a.zon", "0.5,1.25,-1.5,2", "0,640,0,480"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(folder.Read("a.zon"),
            U32(2) + F32(0.5f) + F32(1.25f) + F32(-1.5f) + F32(2) + F32(0) + F32(640) + F32(0) + F32(480));
  run = Run_Kvrtool({"zones", "a.zon"}, folder.Path());
  EXPECT_EQ(run.out, "{\n  \"zones\": [\n    [0.5, 1.25, -1.5, 2],\n    [0, 640, 0, 480]\n  ]\n}\n");

  run = Run_Kvrtool({"zones", "--write=b.zon"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(folder.Read("b.zon"), U32(0));
}

TEST(KvrtoolZones, BadBoundsWriteNothing) {
  for (const char* bad : {"1,2,3", "1,2,3,4,5", "a,b,c,d", "1,2,3,inf", "1,,2,3"}) {
    TempFolder folder;
    folder.Write("keep.zon", "old");
    ToolRun run = Run_Kvrtool({"zones", "--write", "keep.zon", "1,2,3,4", bad}, folder.Path());
    EXPECT_EQ(run.status, 1) << bad;
    EXPECT_EQ(run.err.rfind("kvrtool zones: \"" + std::string(bad) +
                                "\" is not four finite numbers separated by commas\nUsage:",
                            0),
              0u)
        << run.err;
    EXPECT_EQ(folder.Read("keep.zon"), "old");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"keep.zon"});
  }
}

}  // namespace
