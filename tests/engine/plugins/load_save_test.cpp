// Saved games: slot files laid out byte by byte, the context record's size
// and what a restore brings back, the slot plug-ins on real files, a face
// painted with a slot, and a save killed half-way.
#include "engine/plugins/load_save.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "engine/plugins/plugin_block.h"
#include "engine/plugins/save_context.h"
#include "engine/run/run_services.h"
#include "packing/byte_order.h"
#include "platform/sound/sound_output.h"
#include "tests/engine/engine_test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Part(Bytes& out, const std::string& text) {
  Push_Le32(out, uint32_t(text.size()));
  out.insert(out.end(), text.begin(), text.end());
}

// A slot file as the layout gives it: the texts, the 139 x 103 picture's
// header with its masks and pixels, and the context.
Bytes Slot_File(const Bytes& context) {
  Bytes out;
  Part(out, std::string("script.lst", 11));
  Part(out, std::string("Hall", 5));
  Part(out, std::string("Friday 11 12 2026\0"
                        "9 h 05\0",
                        25));
  for (uint32_t v : {40u, 139u, 103u}) Push_Le32(out, v);
  Push_Le16(out, 1);
  Push_Le16(out, 16);
  for (uint32_t v : {3u, 28840u, 0u, 0u, 3u, 0u, 0xF800u, 0x07E0u, 0x001Fu}) Push_Le32(out, v);
  for (uint32_t i = 0; i < 28840; ++i) out.push_back(uint8_t(i * 7));
  Push_Le32(out, uint32_t(context.size()));
  out.insert(out.end(), context.begin(), context.end());
  return out;
}

struct SaveGame {
  RunServices services;
  HeadlessEngine h{{"A", "B", "USED", "FREE", "SAME", "DONE", "NOT"}, &services};
  TempFolder folder;

  SaveGame() {
    WARP room;
    room.name = "ROOM.TGA";
    room.tests.resize(3);
    room.tests[1].cursor = "HAND.PCX";
    WARP menu;
    menu.name = "MENU.TGA";
    menu.tests.resize(1);
    h.engine.script->warps = {room, menu};
    h.engine.start_folder = folder.Path();
    h.engine.chain.Current_Script = "script.lst";
    h.Add_File("HUM.WAV", Wav_Bytes(std::vector<int16_t>(4410, 1000), 44100, 1));
  }
  void Run(const std::string& statement) { Plugin_Run_Block(h.engine, {statement}); }
};

TEST(SlotFile, TheLayoutReadsBackToTheSameBytes) {
  const Bytes context(Context_Size(nullptr), 9);
  const Bytes file = Slot_File(context);
  SaveSlot slot;
  ASSERT_TRUE(Slot_Parse(file, true, slot));
  EXPECT_EQ(SaveSlot::Text(slot.script), "script.lst");
  EXPECT_EQ(SaveSlot::Text(slot.label), "Hall");
  EXPECT_EQ(slot.Date_Lines(), (std::vector<std::string>{"Friday 11 12 2026", "9 h 05"}));
  EXPECT_EQ(slot.picture.width, 139);
  EXPECT_EQ(slot.picture.bits.size(), 28840u);
  EXPECT_EQ(slot.context, context);
  EXPECT_EQ(Slot_Bytes(slot), file);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0x0B, 0, 0, 0}));

  // A picture header of another size makes the slot empty (cut files are
  // the slot fuzz target's).
  Bytes odd = file;
  odd[4 + 11 + 4 + 5 + 4 + 25] = 12;
  EXPECT_FALSE(Slot_Parse(odd, false, slot));
  EXPECT_FALSE(slot.Holds_Game());
}

TEST(SaveContext, SizeFollowsWarpsTestsAndVariables) {
  SaveGame g;
  // 8175 bytes and 257 for each of the 4 tests and 4 for each of the 7 variables.
  EXPECT_EQ(Context_Size(g.h.engine.script.get()), 8175u + 4 * 257 + 7 * 4);
  EXPECT_EQ(Context_Capture(g.h.engine).size(), Context_Size(g.h.engine.script.get()));
}

TEST(SaveContext, RestoreBringsBackStateAndOnlyEndlessSounds) {
  SaveGame g;
  Engine& e = g.h.engine;
  e.view.pitch = 300;
  e.view.yaw = 5000;
  e.state.Warp_Index = 1;
  e.state.Print_Text = "HELLO";
  e.state.Lock_Slots[0] = "MENU.TGA";
  g.h.Set("B", -77);
  e.sound.slots[2] = SoundSlot{"HUM.WAV", 3, 200, 0, 0, 0};   // endless
  e.sound.slots[4] = SoundSlot{"TICK.WAV", 5, 200, 2, 0, 0};  // two loops left
  const Bytes record = Context_Capture(e);
  e.sound.slots = {};
  e.view = VIEW{};
  e.state = ENGINE_STATE{};
  g.h.Set("B", 0);
  e.script->warps[0].tests[1].cursor.clear();

  EXPECT_FALSE(Context_Restore(e, std::span(record).first(record.size() - 1)));
  EXPECT_EQ(e.state.Warp_Index, 0);
  ASSERT_TRUE(Context_Restore(e, record));
  EXPECT_EQ(e.view.pitch, 300);
  EXPECT_EQ(e.view.yaw, 5000);
  EXPECT_EQ(e.state.Warp_Index, 1);
  EXPECT_EQ(e.state.Print_Text, "HELLO");
  EXPECT_EQ(e.state.Lock_Slots[0], "MENU.TGA");
  EXPECT_EQ(e.script->warps[0].tests[1].cursor, "HAND.PCX");
  EXPECT_EQ(g.h.Var("B"), -77);
  EXPECT_TRUE(e.state.Restart_Request);
  EXPECT_TRUE(e.run.keep_print_text);
  int playing = 0;
  for (const SoundSlot& slot : e.sound.slots)
    if (slot.channel) {
      ++playing;
      EXPECT_EQ(slot.file, "HUM.WAV");
      EXPECT_EQ(slot.volume, 200);
      EXPECT_TRUE(Sound_Playing(g.h.wx, slot.channel));
    }
  EXPECT_EQ(playing, 1);
  // Captured again, the record is the same but for the finite sound.
  Bytes again = Context_Capture(e);
  EXPECT_EQ(again.size(), record.size());
}

TEST(LoadSave, SaveListLoadAndEnter) {
  SaveGame g;
  g.Run("LoadSave_Set_Context_Label(\"My game\")");
  g.h.Set("A", 5);
  g.Run("LoadSave_Capture_Context()");
  g.Run("LoadSave_Init_Slots(3)");
  g.Run("LoadSave_Save(2)");
  g.Run("LoadSave_Test_Slot(2,USED,FREE)");  // the list went with the save
  EXPECT_EQ(g.h.Var("USED"), 0);
  EXPECT_EQ(g.h.Var("FREE"), 1);
  const Bytes file = [&] {
    std::string b = g.folder.Read("Saved_2.bin").value_or("");
    return Bytes(b.begin(), b.end());
  }();
  ASSERT_GT(file.size(), 4u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0x0B, 0, 0, 0}));
  g.Run("LoadSave_Init_Slots(3)");
  for (auto [slot, used] : {std::pair{1, 0}, {2, 1}, {3, 0}, {4, 0}, {0, 0}}) {
    g.Run("LoadSave_Test_Slot(" + std::to_string(slot) + ",USED,FREE)");
    EXPECT_EQ(g.h.Var("USED"), used) << slot;
  }
  g.Run("LoadSave_Test_Slot_Label(2,\"MY GAME\",SAME)");
  EXPECT_EQ(g.h.Var("SAME"), 1);

  g.h.Set("A", 0);
  g.Run("LoadSave_Load(1)");  // no game: nothing
  EXPECT_EQ(g.h.engine.chain.Next_Script, "");
  g.Run("LoadSave_Load(2)");
  EXPECT_EQ(g.h.engine.chain.Next_Script, "script.lst");
  g.Run("LoadSave_Test_Slot(2,USED,FREE)");
  EXPECT_EQ(g.h.Var("USED"), 0);  // the list is gone, the load pending
  g.Run("LoadSave_Enter_Script(DONE,NOT)");
  EXPECT_EQ(g.h.Var("DONE"), 1);
  EXPECT_EQ(g.h.Var("NOT"), 0);
  EXPECT_EQ(g.h.Var("A"), 5);
  g.Run("LoadSave_Context_Restored(DONE,SAME)");
  EXPECT_EQ(g.h.Var("SAME"), 1);
  EXPECT_EQ(g.h.Var("DONE"), 0);
  g.Run("LoadSave_Enter_Script(DONE,NOT)");  // nothing pending
  EXPECT_EQ(g.h.Var("NOT"), 1);

  g.Run("LoadSave_Delete(2)");
  EXPECT_FALSE(g.folder.Exists("Saved_2.bin"));
}

// The slot file of the layout loads into its script, and saving the game
// again writes the same script, label and context.
TEST(LoadSave, TheLayoutsFileLoadsAndSavesAgain) {
  SaveGame g;
  Bytes context(Context_Size(g.h.engine.script.get()), 0);
  context[0] = 44;  // the pitch
  const Bytes file = Slot_File(context);
  g.folder.Write("Saved_1.bin", std::string(file.begin(), file.end()));
  g.Run("LoadSave_Init_Slots(1)");
  g.Run("LoadSave_Load(1)");
  g.Run("LoadSave_Enter_Script(DONE)");
  EXPECT_EQ(g.h.Var("DONE"), 1);
  EXPECT_EQ(g.h.engine.view.pitch, 44);
  g.Run("LoadSave_Save(2)");
  const std::string again = g.folder.Read("Saved_2.bin").value_or("");
  SaveSlot before, after;
  ASSERT_TRUE(Slot_Parse(file, true, before));
  ASSERT_TRUE(Slot_Parse(Bytes(again.begin(), again.end()), true, after));
  EXPECT_EQ(after.script, before.script);
  EXPECT_EQ(after.label, before.label);
  EXPECT_EQ(after.context, before.context);
}

TEST(LoadSave, AContextOfAnotherScriptIsRefused) {
  SaveGame g;
  g.folder.Write("Saved_1.bin", [] {
    const Bytes b = Slot_File(Bytes(100, 0));
    return std::string(b.begin(), b.end());
  }());
  g.Run("LoadSave_Init_Slots(1)");
  g.Run("LoadSave_Load(1)");
  g.Run("LoadSave_Enter_Script(DONE,NOT)");
  EXPECT_EQ(g.h.Var("DONE"), 0);
  EXPECT_EQ(g.h.Var("NOT"), 1);
  EXPECT_FALSE(g.h.engine.state.Restart_Request);
}

TEST(LoadSave, FoldersOfTheSlots) {
  TempFolder temp;
  setenv("TMPDIR", temp.Path().c_str(), 1);
  SaveGame g;
  g.Run("LoadSave_Use_Temp_Dir(1)");
  EXPECT_EQ(LoadSave_Slot_Path(g.h.engine, 3), temp.Path() + "Saved_3.bin");
  unsetenv("TMPDIR");
  // A start folder that cannot be written: the per-user folder of the game.
  SaveGame disc;
  disc.h.engine.start_folder = "/proc/Game Disc/";
  setenv("XDG_DATA_HOME", temp.Path().c_str(), 1);
  EXPECT_EQ(LoadSave_Slot_Path(disc.h.engine, 1), temp.Path() + "kvr/saves/Game Disc/Saved_1.bin");
  disc.Run("LoadSave_Capture_Context()");
  disc.Run("LoadSave_Save(1)");
  EXPECT_TRUE(temp.Exists("kvr/saves/Game Disc/Saved_1.bin"));
  unsetenv("XDG_DATA_HOME");
}

// The face's tiles are its top-left, top-right, bottom-right and
// bottom-left quarters; the thumbnail's top row is drawn at y, the label
// below it.
TEST(LoadSave, DrawSlotOnAFace) {
  SaveGame g;
  Engine& e = g.h.engine;
  e.run.vr = std::make_unique<ORV_VR>();
  uint16_t* store = e.run.vr->Buffer();
  ASSERT_NE(store, nullptr);
  for (int t = 0; t < 24; ++t) std::fill_n(store + size_t(t) * 65536, 65536, uint16_t(0xFFFF - t));
  SaveSlot slot;
  slot.script = Slot_Text_Part("script.lst");
  slot.label = Slot_Text_Part("Hall");
  slot.date = Slot_Text_Part("Friday");
  slot.picture = SavePicture::Make(kThumbWidth, kThumbHeight);
  for (int x = 0; x < kThumbWidth; ++x) slot.picture.Set(x, kThumbHeight - 1, 0x1234);  // the top row
  e.saves.slots = {slot};
  g.Run("LoadSave_Draw_Slot(1,1,200,250)");
  auto tile = [&](int t, int x, int y) { return store[size_t(t) * 65536 + size_t(y) * 256 + size_t(x)]; };
  EXPECT_EQ(tile(4, 200, 250), 0x1234);  // face 1 starts at tile 4
  EXPECT_EQ(tile(5, 0, 250), 0x1234);    // x 256: the top-right quarter
  EXPECT_EQ(tile(4, 200, 251), 0);       // the thumbnail's second row is black
  EXPECT_EQ(tile(7, 200, 0), 0);         // y 256, x 200: bottom left
  EXPECT_EQ(tile(6, 0, 0), 0);           // y 256, x 256: bottom right
  EXPECT_EQ(tile(4, 199, 250), 0xFFFF - 4);
  EXPECT_EQ(tile(6, 100, 100), 0xFFFF - 6);
  // The label in rows 364 .. 377 of the face (tile 7 rows 108 ..), darker
  // than the face; nothing between the picture and the label.
  int dark = 0, between = 0;
  for (int y = 108; y < 122; ++y)
    for (int x = 200; x < 256; ++x) dark += tile(7, x, y) != 0xFFFF - 7;
  for (int y = 97; y < 108; ++y)
    for (int x = 200; x < 256; ++x) between += tile(7, x, y) != 0xFFFF - 7;
  EXPECT_GT(dark, 20);
  EXPECT_EQ(between, 0);
  for (const char* bad : {"LoadSave_Draw_Slot(1,6,0,0)", "LoadSave_Draw_Slot(2,1,0,0)"}) {
    g.Run(bad);  // refused: nothing drawn
  }
  EXPECT_EQ(tile(23, 0, 0), 0xFFFF - 23);
}

// A save killed at any moment leaves the slot file it replaces whole.
TEST(LoadSave, AKilledSaveLeavesTheOldFile) {
  TempFolder folder;
  const Bytes old_file = Slot_File(Bytes(10, 1));
  folder.Write("Saved_1.bin", std::string(old_file.begin(), old_file.end()));
  for (int round = 0; round < 3; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SaveGame g;
      g.h.engine.start_folder = folder.Path();
      g.Run("LoadSave_Capture_Context()");
      for (;;) g.Run("LoadSave_Save(1)");
    }
    usleep(useconds_t(30000 + 20000 * round));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string now = folder.Read("Saved_1.bin").value_or("");
    SaveSlot slot;
    EXPECT_TRUE(Slot_Parse(Bytes(now.begin(), now.end()), true, slot)) << round;
  }
}

}  // namespace
