#include "engine/plugins/load_save.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <locale>
#include <sstream>

#include "engine/engine.h"
#include "engine/plugins/block_statements.h"
#include "engine/plugins/save_context.h"
#include "host/file_replace.h"
#include "host/temp_folder.h"
#include "host/text_1252.h"
#include "pictures/outline_font.h"

namespace {

constexpr const char* kFontFamily = "Liberation Sans";
constexpr int kFontPixels = 12;
constexpr int kLabelRow = 114;
constexpr int kLineStep = 14;
constexpr int kTileSide = 256;
constexpr int kTileFaces = 6;

const char* Arg(int argc, char** argv, int i) { return i < argc && argv[i] ? argv[i] : ""; }

bool Writable_Folder(const std::string& folder) { return ::access(folder.c_str(), W_OK | X_OK) == 0; }

// Makes the folder and its parents; true when it is there afterwards.
bool Make_Folders(const std::string& folder) {
  for (size_t p = 1; p <= folder.size(); ++p)
    if (p == folder.size() || folder[p] == '/') ::mkdir(folder.substr(0, p).c_str(), 0755);
  struct stat st;
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The per-user folder of a game whose start folder cannot be written.
std::string User_Save_Folder(const std::string& start_folder) {
  std::string data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
    data = xdg;
  else if (const char* home = std::getenv("HOME"); home && home[0])
    data = std::string(home) + "/.local/share";
  else
    data = "/tmp";
  while (data.size() > 1 && data.back() == '/') data.pop_back();
  std::string game = start_folder;
  while (!game.empty() && game.back() == '/') game.pop_back();
  game = game.substr(game.find_last_of('/') + 1);
  if (game.empty() || game == "." || game == "..") game = "game";
  return data + "/kvr/saves/" + game + "/";
}

const std::string& Save_Folder(Engine& engine) {
  LoadSaveState& s = engine.saves;
  if (s.folder.empty()) {
    if (s.temp_folder != 0)
      s.folder = Temp_Folder();
    else if (Writable_Folder(engine.start_folder))
      s.folder = engine.start_folder;
    else
      s.folder = User_Save_Folder(engine.start_folder);
  }
  return s.folder;
}

// The slot's number as atoi reads it; 0 when it names no slot of the list.
size_t Listed_Slot(Engine& engine, const char* text) {
  const int32_t n = Arg_Number(text);
  return n >= 1 && size_t(n) <= engine.saves.slots.size() ? size_t(n) : 0;
}

bool Same_Ascii(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::u32string Chars(const std::string& text_1252) {
  std::u32string out;
  for (unsigned char b : text_1252) out += Char_1252(b);
  return out;
}

std::string Locale_Text(std::time_t when, const char* format) {
  std::tm tm{};
  localtime_r(&when, &tm);
  std::ostringstream out;
  try {
    out.imbue(std::locale(""));
  } catch (const std::exception&) {
    // An unknown locale in the environment: the classic one.
  }
  out << std::put_time(&tm, format);
  return out.str();
}

}  // namespace

std::string LoadSave_Slot_Path(Engine& engine, int slot) {
  return Save_Folder(engine) + "Saved_" + std::to_string(slot) + ".bin";
}

std::vector<uint8_t> LoadSave_Date_Part(std::time_t when) {
  std::tm tm{};
  localtime_r(&when, &tm);
  const std::string date = Utf8_To_1252(Locale_Text(when, "%A %d %m %Y"));
  char time[32];
  std::snprintf(time, sizeof time, "%d h %02d", tm.tm_hour, tm.tm_min);
  std::vector<uint8_t> part(date.begin(), date.end());
  part.push_back(0);
  part.insert(part.end(), time, time + std::strlen(time));
  part.push_back(0);
  part.push_back(0);
  return part;
}

void Slot_Paint(const SaveSlot& slot, int x, int y, uint16_t* face, const OutlineFont* font) {
  const SavePicture& p = slot.picture;
  // The thumbnail's top row is its last memory row.
  for (int32_t row = 0; row < p.height && !p.Empty(); ++row) {
    const int fy = y + row;
    if (fy < 0 || fy >= kSlotFaceSize) continue;
    for (int32_t col = 0; col < p.width; ++col) {
      const int fx = x + col;
      if (fx >= 0 && fx < kSlotFaceSize) face[fy * kSlotFaceSize + fx] = p.Get(col, p.height - 1 - row);
    }
  }
  if (!font) return;
  int line = y + kLabelRow;
  font->Draw(Chars(SaveSlot::Text(slot.label)), x, line, 0, face, kSlotFaceSize, kSlotFaceSize,
             kSlotFaceSize);
  for (const std::string& text : slot.Date_Lines()) {
    line += kLineStep;
    font->Draw(Chars(text), x, line, 0, face, kSlotFaceSize, kSlotFaceSize, kSlotFaceSize);
  }
}

int LoadSave_Capture_Context(Engine& engine, int, char**) {
  LoadSaveState& s = engine.saves;
  s.context = Context_Capture(engine);
  s.thumbnail = SavePicture::Make(kThumbWidth, kThumbHeight);
  const Picture* little = engine.run.little.get();
  if (!little || little->depth != 16) return 0;  // a blank thumbnail
  const int rows = std::min(little->height, kThumbHeight), cols = std::min(little->width, kThumbWidth);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      const size_t at = (size_t(r) * size_t(little->width) + size_t(c)) * 2;
      if (at + 1 < little->pixels.size())
        s.thumbnail.Set(c, kThumbHeight - 1 - r, uint16_t(little->pixels[at] | little->pixels[at + 1] << 8));
    }
  return 0;
}

int LoadSave_Set_Context_Label(Engine& engine, int argc, char** argv) {
  engine.saves.label = Slot_Text_Part(Arg(argc, argv, 1));
  return 0;
}

int LoadSave_Init_Slots(Engine& engine, int argc, char** argv) {
  LoadSaveState& s = engine.saves;
  s.slots.clear();
  const int32_t count = Arg_Number(Arg(argc, argv, 1));
  for (int32_t n = 1; n <= std::min<int32_t>(count, kSaveSlotsMax); ++n) {
    SaveSlot slot;
    slot.path = LoadSave_Slot_Path(engine, n);
    Slot_Read(slot, false);
    s.slots.push_back(std::move(slot));
  }
  return 0;
}

int LoadSave_Test_Slot(Engine& engine, int argc, char** argv) {
  const size_t n = Listed_Slot(engine, Arg(argc, argv, 1));
  const bool used = n != 0 && engine.saves.slots[n - 1].Holds_Game();
  Set_Var(engine.script.get(), Arg(argc, argv, 2), used ? 1 : 0);
  Set_Var(engine.script.get(), Arg(argc, argv, 3), used ? 0 : 1);
  return 0;
}

int LoadSave_Test_Slot_Label(Engine& engine, int argc, char** argv) {
  const size_t n = Listed_Slot(engine, Arg(argc, argv, 1));
  const bool same = n != 0 && Same_Ascii(SaveSlot::Text(engine.saves.slots[n - 1].label), Arg(argc, argv, 2));
  Set_Var(engine.script.get(), Arg(argc, argv, 3), same ? 1 : 0);
  return 0;
}

int LoadSave_Draw_Slot(Engine& engine, int argc, char** argv) {
  const size_t n = Listed_Slot(engine, Arg(argc, argv, 1));
  const int32_t face = Arg_Number(Arg(argc, argv, 2));
  if (n == 0 || face < 0 || face >= kTileFaces || !engine.saves.slots[n - 1].Holds_Game()) return 0;
  uint16_t* store = engine.run.vr ? engine.run.vr->Buffer() : nullptr;
  if (!store) return 0;
  // The face's four tiles in store order: top left, top right, bottom
  // right, bottom left.
  constexpr int kQuarter[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  std::vector<uint16_t> image(size_t(kSlotFaceSize) * kSlotFaceSize);
  auto tile_row = [&](int q, int r) {
    return store + (size_t(face) * 4 + size_t(q)) * kTileSide * kTileSide + size_t(r) * kTileSide;
  };
  auto face_row = [&](int q, int r) {
    return image.data() + size_t(kQuarter[q][1] * kTileSide + r) * kSlotFaceSize +
           size_t(kQuarter[q][0] * kTileSide);
  };
  for (int q = 0; q < 4; ++q)
    for (int r = 0; r < kTileSide; ++r) std::copy_n(tile_row(q, r), kTileSide, face_row(q, r));
  if (!engine.saves.font) engine.saves.font = OutlineFont::Open(kFontFamily, kFontPixels);
  Slot_Paint(engine.saves.slots[n - 1], Arg_Number(Arg(argc, argv, 3)), Arg_Number(Arg(argc, argv, 4)),
             image.data(), engine.saves.font.get());
  for (int q = 0; q < 4; ++q)
    for (int r = 0; r < kTileSide; ++r) std::copy_n(face_row(q, r), kTileSide, tile_row(q, r));
  return 0;
}

int LoadSave_Save(Engine& engine, int argc, char** argv) {
  LoadSaveState& s = engine.saves;
  const int32_t n = Arg_Number(Arg(argc, argv, 1));
  if (n < 1 || n > kSaveSlotsMax) return 0;
  SaveSlot slot;
  slot.path = LoadSave_Slot_Path(engine, n);
  slot.script = Slot_Text_Part(engine.chain.Current_Script);
  slot.label = s.label;
  slot.context = s.context;
  slot.picture = s.thumbnail.Empty() ? SavePicture::Make(kThumbWidth, kThumbHeight) : s.thumbnail;
  slot.date = LoadSave_Date_Part(std::time(nullptr));
  const std::string folder = Save_Folder(engine);
  std::string error;
  if (Make_Folders(folder)) File_Replace(slot.path, Slot_Bytes(slot), kReplaceModeShared, error);
  s.slots.clear();
  return 0;
}

int LoadSave_Load(Engine& engine, int argc, char** argv) {
  LoadSaveState& s = engine.saves;
  const size_t n = Listed_Slot(engine, Arg(argc, argv, 1));
  if (n == 0 || !s.slots[n - 1].Holds_Game()) return 0;
  const std::string script = SaveSlot::Text(s.slots[n - 1].script);
  if (script.size() > kScriptNameMax) return 0;
  engine.chain.Next_Script = script;
  s.pending = std::make_unique<SaveSlot>(std::move(s.slots[n - 1]));
  s.slots.clear();
  return 0;
}

int LoadSave_Enter_Script(Engine& engine, int argc, char** argv) {
  LoadSaveState& s = engine.saves;
  bool restored = false;
  if (s.pending) {
    SaveSlot slot;
    slot.path = s.pending->path;
    Slot_Read(slot, true);
    s.pending.reset();
    if (slot.Holds_Game()) {
      s.context = slot.context;
      s.label = slot.label;
      restored = Context_Restore(engine, slot.context);
    }
  }
  Set_Var(engine.script.get(), Arg(argc, argv, 1), restored ? 1 : 0);
  if (argc > 2) Set_Var(engine.script.get(), Arg(argc, argv, 2), restored ? 0 : 1);
  return 0;
}

int LoadSave_Context_Restored(Engine& engine, int argc, char** argv) {
  SCRIPT_DATA* script = engine.script.get();
  Set_Var(script, Arg(argc, argv, 2), Get_Var(script, Arg(argc, argv, 1)));
  Set_Var(script, Arg(argc, argv, 1), 0);
  return 0;
}

int LoadSave_Use_Temp_Dir(Engine& engine, int argc, char** argv) {
  LoadSaveState& s = engine.saves;
  s.temp_folder = Arg_Number(Arg(argc, argv, 1));
  // Slots made from now on use the folder the flag names.
  s.folder.clear();
  return 0;
}

int LoadSave_Delete(Engine& engine, int argc, char** argv) {
  const int32_t n = Arg_Number(Arg(argc, argv, 1));
  if (n >= 1 && n <= kSaveSlotsMax) std::remove(LoadSave_Slot_Path(engine, n).c_str());
  return 0;
}

void LoadSave_Release(Engine& engine) {
  engine.saves.slots.clear();
  engine.saves.pending.reset();
}
