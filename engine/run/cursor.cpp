#include "engine/run/cursor.h"

#include "engine/engine.h"
#include "engine/run/view.h"
#include "platform/files/file_layer.h"
#include "platform/files/pak_file.h"
#include "platform/wendax.h"

PicturePtr Cursor_Load(Engine& engine, std::string_view picture) {
  Wendax& wx = engine.wx;
  std::string name(picture);
  std::string packed = name.substr(0, name.size() >= 3 ? name.size() - 3 : 0) + "pak";
  std::vector<uint8_t> data;
  if (File_Size(wx, packed) > 0 && Pak_Read(wx, packed, data) == 0) {
    name = packed;  // Pak_Read gives the name stored in the packed file
    Memory_File_Add(wx, name, std::move(data));
  } else {
    Memory_File_Load(wx, name);
  }
  PicturePtr loaded = Picture_Load(wx, name);
  Memory_File_Drop(wx, name);
  if (loaded) Picture_To_16(loaded.get());
  return loaded;
}

void Draw_Cursor(Engine& engine) {
  RunState& run = engine.run;
  WARP& warp = *engine.Warp();
  Picture* picture = run.cursor_default.get();
  for (size_t k = 0; k < engine.zones.size(); ++k) {
    const bool inside = Zone_Hit(engine, engine.zones[k]) == 2;
    const int32_t first = Test_Find_First(warp, int32_t(k));
    const TEST* at_k = k < warp.tests.size() ? &warp.tests[k] : nullptr;
    if ((first >= 0 && warp.tests[size_t(first)].kind != kTestClick) || !inside) continue;
    if (at_k && (at_k->hidden & 1)) continue;
    if (run.cursor_zone_id != int32_t(k)) {
      run.cursor_zone.reset();
      run.cursor_zone_id = int32_t(k);
      if (at_k && !at_k->cursor.empty()) run.cursor_zone = Cursor_Load(engine, at_k->cursor);
    }
    picture = run.cursor_zone ? run.cursor_zone.get() : run.cursor_active.get();
    break;
  }
  if (!picture) return;
  if (engine.Warp_Is_Still())
    Picture_Draw_Transparent_Centred(engine.wx, picture, engine.wx.input.cursor.x, engine.wx.input.cursor.y);
  else
    Picture_Draw_Transparent_Centred(engine.wx, picture, kScreenWidth / 2, kScreenHeight / 2);
}
