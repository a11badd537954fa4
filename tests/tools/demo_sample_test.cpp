// The demo's sample game: its script loads cleanly, every name it uses
// exists, and its zone files fit its tests. Also what kvrtool prints for it.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/script/script_loader.h"
#include "engine/script/zone_file.h"
#include "platform/files/text.h"
#include "platform/wendax.h"
#include "tests/tools/tool_run.h"

namespace {

const std::string kSample = std::string(KVR_SOURCE_DIR) + "/demo/sample/";

std::string Field(const std::string& command, int n) {
  std::string field;
  Field_Get(command, field, n);
  return field;
}

class DemoSample : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.debug = [this](std::string_view line) { debug.emplace_back(line); };
    Script_Load(engine, kSample + "script.lst");
    ASSERT_NE(engine.script, nullptr);
  }
  const std::vector<WARP>& Warps() const { return engine.script->warps; }

  Wendax wx;
  Engine engine{wx};
  std::vector<std::string> debug;
};

TEST_F(DemoSample, LoadsEverythingWithoutMessages) {
  EXPECT_TRUE(debug.empty()) << debug.front();
  std::vector<std::string> vars;
  for (const SCRIPT_VAR& var : engine.script->vars) vars.push_back(var.name.value_or("(none)"));
  EXPECT_EQ(vars, (std::vector<std::string>{"STARTED", "HAS_KEY", "LAMP_ON", "READ_LETTER"}));
  std::vector<std::string> names;
  std::vector<int32_t> kinds;
  for (const WARP& warp : Warps()) {
    names.push_back(warp.name.value_or(""));
    kinds.push_back(warp.kind);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"MENU.TGA", "HALL.VR", "STUDY.VR", "LETTER.TGA"}));
  EXPECT_EQ(kinds, (std::vector<int32_t>{kWarpStill, kWarpPanorama, kWarpPanorama, kWarpStill}));
  // The last test of every warp is its entry test, so loading reached the end.
  for (const WARP& warp : Warps()) {
    ASSERT_FALSE(warp.tests.empty()) << *warp.name;
    EXPECT_EQ(warp.tests.back().id, kEntryTestId) << *warp.name;
    EXPECT_FALSE(warp.tests.back().commands.empty()) << *warp.name;
  }
  EXPECT_EQ(Warps().back().tests.back().commands.back(), "PRINT,CLICK_TO_PUT_IT_DOWN,MINIFON2.MTR");
}

TEST_F(DemoSample, EveryNameItUsesExists) {
  std::set<std::string> uses;
  for (const WARP& warp : Warps()) {
    for (const TEST& test : warp.tests) {
      std::set<std::string> labels;
      for (const std::string& command : test.commands)
        if (Field(command, 0) == "LABEL") labels.insert(Field(command, 1));
      for (const std::string& command : test.commands) {
        std::string keyword = Field(command, 0);
        uses.insert(keyword);
        if (keyword == "GOTOWARP") {
          EXPECT_GE(Warp_Find(engine.script.get(), Field(command, 1)), 0) << command;
        }
        if (keyword == "LOCKKEY") {
          EXPECT_EQ(Field(command, 1), "0") << command;  // Escape
          EXPECT_GE(Warp_Find(engine.script.get(), Field(command, 2)), 0) << command;
        }
        if (keyword == "HIDECURSOR") {
          int32_t target = Warp_Find(engine.script.get(), Field(command, 1));
          ASSERT_GE(target, 0) << command;
          EXPECT_LT(Text_To_Int(Field(command, 2)), int32_t(Warps()[size_t(target)].tests.size())) << command;
        }
        if (keyword == "GOSUB") {
          EXPECT_EQ(labels.count(Field(command, 1)), 1u) << command;
        }
        if (keyword == "SET" || keyword == "NOT" || keyword == "IFAND") {
          EXPECT_NE(Var_Find(engine.script.get(), Field(command, 1)), nullptr) << command;
        }
      }
    }
  }
  for (const char* keyword : {"SETANGLE", "ANGLEXMAX", "IFAND", "SET", "GOTOWARP", "GOSUB", "LABEL", "RETURN",
                              "PLUGIN", "LOCKKEY", "END"})
    EXPECT_EQ(uses.count(keyword), 1u) << keyword;
}

// Each warp's zone file exists; zone n is served by the click test at
// position n (the cursor rule), and the bounds are in range.
TEST_F(DemoSample, ZoneFilesFitTheTests) {
  for (const WARP& warp : Warps()) {
    SCOPED_TRACE(*warp.name);
    ASSERT_TRUE(warp.zone_file.has_value());
    ZoneFileResult zones = Zone_File_Read(wx, kSample + *warp.zone_file);
    ASSERT_FALSE(zones.zones.empty());
    EXPECT_FALSE(zones.cut);
    EXPECT_EQ(size_t(zones.declared), zones.zones.size());
    ASSERT_EQ(warp.tests.size(), zones.zones.size() + 1);
    for (size_t i = 0; i < zones.zones.size(); ++i) {
      EXPECT_EQ(warp.tests[i].id, int32_t(i));
      EXPECT_EQ(warp.tests[i].kind, kTestClick);
      const float* b = zones.zones[i].bounds;
      const float x_max = warp.kind == kWarpStill ? 640.0f : 2 * float(M_PI);
      const float y_max = warp.kind == kWarpStill ? 480.0f : float(M_PI);
      for (int k = 0; k < 4; ++k) {
        EXPECT_GE(b[k], 0.0f) << "zone " << i;
        EXPECT_LE(b[k], k < 2 ? x_max : y_max) << "zone " << i;
      }
    }
  }
}

TEST(DemoSampleTool, ScriptAndZonesPrint) {
  ToolRun run = Run_Kvrtool({"script", "demo/sample/script.lst"}, KVR_SOURCE_DIR);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.rfind("{\n"
                          "  \"variables\": [\n"
                          "    {\"name\": \"STARTED\", \"value\": 0},\n"
                          "    {\"name\": \"HAS_KEY\", \"value\": 0},\n"
                          "    {\"name\": \"LAMP_ON\", \"value\": 0},\n"
                          "    {\"name\": \"READ_LETTER\", \"value\": 0}\n"
                          "  ],\n"
                          "  \"warps\": [\n"
                          "    {\n"
                          "      \"name\": \"MENU.TGA\",\n"
                          "      \"zone_file\": \"MENU.ZON\",\n"
                          "      \"kind\": 1,\n",
                          0),
            0u)
      << run.out;
  EXPECT_NE(
      run.out.find("\"PLUGIN,LoadSave_Capture_Context();LoadSave_Set_Context_Label(\\\"The house\\\");\""),
      std::string::npos)
      << run.out;

  run = Run_Kvrtool({"zones", "demo/sample/MENU.ZON"}, KVR_SOURCE_DIR);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "{\n"
            "  \"zones\": [\n"
            "    [220, 420, 180, 230],\n"
            "    [220, 420, 250, 300],\n"
            "    [220, 420, 320, 370]\n"
            "  ]\n"
            "}\n");
}

}  // namespace
