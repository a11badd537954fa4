#include "engine/plugins/engine_plugins.h"

#include <cmath>
#include <span>
#include <string>

#include "engine/archive/data_archive.h"
#include "engine/engine.h"
#include "engine/plugins/anim_bloc.h"
#include "engine/plugins/block_statements.h"
#include "engine/run/engine_run.h"
#include "platform/display/display.h"
#include "platform/input/frame_clock.h"
#include "scene/scene_table.h"

namespace {

constexpr int32_t kExpiryTest = 99;
constexpr const char* kFramePicture = "Cadre";
constexpr const char* kBarPicture = "CadreB";

const char* Arg(int argc, char** argv, int i) { return i < argc && argv[i] ? argv[i] : ""; }
int32_t Number(int argc, char** argv, int i) { return Arg_Number(Arg(argc, argv, i)); }
uint32_t Now(Engine& engine) { return uint32_t(Wendax_Tick_Ms(engine.wx)); }

// Where pictures of the plug-ins go this frame: the screen on a compressed
// panorama, the still picture on other warps.
ArchiveTarget Picture_Target(Engine& engine) {
  if (engine.run.scene.picture_kind == kSceneKindVr) {
    std::span<uint16_t> screen = Wendax_Frame_Buffer(engine.wx);
    if (screen.size() < size_t(kScreenWidth) * kScreenHeight) return {nullptr, 0, 0};
    return {screen.data(), kScreenWidth, kScreenHeight};
  }
  uint16_t* still = engine.run.scene.still ? Scene_Still_Pixels(engine.run.scene) : nullptr;
  return {still, still ? kScreenWidth : 0, still ? kScreenHeight : 0};
}

ArchiveRect Rect(const int32_t (&r)[4]) { return {r[0], r[1], r[2], r[3]}; }

void Countdown_Frame(Engine& engine, ArchiveTarget target) {
  CountdownState& c = engine.plugins.countdown;
  if (c.flags == 0) return;
  if (!(c.flags & kCountdownPaused)) {
    const uint32_t now = Now(engine);
    c.remaining = int32_t(uint32_t(c.remaining) + (c.last_tick - now));
    c.last_tick = now;
  }
  if (!(c.flags & kCountdownShown)) return;
  DataArchive* archive = engine.archive.get();
  const bool draw = c.frame != 0 && archive && target.pixels;
  if (draw) archive->Archive_Draw_Part(kFramePicture, Rect(kCountdownFrame), nullptr, target);
  // A countdown of no time has run out at once (the share would divide by
  // zero).
  const double percent =
      c.total > 0 ? 100.0 - (double(c.total) - double(c.remaining)) * (100.0 / double(c.total)) : -1.0;
  if (percent < 0) {
    Pending_Test_Request(engine, kExpiryTest);
    c.flags = 0;
    return;
  }
  if (!draw) return;
  ArchiveRect dest = Rect(kCountdownBar);
  dest.right = int32_t(std::trunc((kCountdownBar[2] - kCountdownBar[0]) * percent * 0.01 + kCountdownBar[0]));
  ArchiveRect source{0, 0, kCountdownBar[2] - kCountdownBar[0], kCountdownBar[3] - kCountdownBar[1]};
  source.right = int32_t(std::trunc(source.right * percent * 0.01));
  archive->Archive_Draw_Part(kBarPicture, dest, &source, target);
}

}  // namespace

int64_t Cible_Position(int64_t elapsed, int64_t period_ms) {
  if (period_ms <= 0) return 0;
  // The period taken off while time is left: (0, period] for elapsed > 0.
  return elapsed > 0 ? (elapsed - 1) % period_ms + 1 : elapsed + period_ms;
}

bool Cible_Hit(const int32_t* windows, size_t count, int64_t pos) {
  for (size_t i = 0; i < count; i += 2) {
    const int64_t start = windows[i];
    if (start == 0) break;
    const int64_t end = i + 1 < count ? windows[i + 1] : 0;
    if (start * 1000 < pos && pos < end * 1000) return true;
  }
  return false;
}

int StartTimer(Engine& engine, int argc, char** argv) {
  CountdownState& c = engine.plugins.countdown;
  c.total = c.remaining = int32_t(uint32_t(Number(argc, argv, 1)) * 1000u);
  c.last_tick = Now(engine);
  c.flags = kCountdownRunning | kCountdownShown;
  c.frame = Number(argc, argv, 2);
  return 0;
}

int PauseTimer(Engine& engine, int argc, char** argv) {
  CountdownState& c = engine.plugins.countdown;
  if (c.flags == 0) return 0;
  if (Number(argc, argv, 1) != 0) {
    c.flags |= kCountdownPaused;
  } else {
    c.flags &= ~kCountdownPaused;
    c.last_tick = Now(engine);  // the paused time does not count
  }
  if (Number(argc, argv, 2) == 0)
    c.flags |= kCountdownShown;
  else
    c.flags &= ~kCountdownShown;
  return 0;
}

int KillTimer(Engine& engine, int, char**) {
  engine.plugins.countdown.flags = 0;
  return 0;
}

int StartCible(Engine& engine, int argc, char** argv) {
  CibleState& cible = engine.plugins.cible;
  cible.on = true;
  cible.start_tick = Now(engine);
  Anim_Bloc_Start(engine, Arg(argc, argv, 1), "y", "15", std::string("15"));
  cible.period = Number(argc, argv, 2);
  cible.windows.fill(0);
  for (size_t i = 0; i < kCibleWindowNumbers && int(i) + 3 < argc; ++i)
    cible.windows[i] = Number(argc, argv, int(i) + 3);
  return 0;
}

int StopCible(Engine& engine, int, char**) {
  engine.plugins.cible.on = false;
  return 0;
}

// A period that is not positive has no position in it: always a miss.
int TestCible(Engine& engine, int argc, char** argv) {
  const CibleState& cible = engine.plugins.cible;
  if (!cible.on) return 0;
  const int64_t elapsed = int64_t(Now(engine) - cible.start_tick);
  const int64_t period = int64_t(cible.period) * 1000;
  const bool hit =
      period > 0 && Cible_Hit(cible.windows.data(), cible.windows.size(), Cible_Position(elapsed, period));
  Set_Var(engine.script.get(), Arg(argc, argv, 1), hit ? 1 : 0);
  Set_Var(engine.script.get(), Arg(argc, argv, 2), hit ? 0 : 1);
  return 0;
}

int CopyVar(Engine& engine, int argc, char** argv) {
  Set_Var(engine.script.get(), Arg(argc, argv, 2), Get_Var(engine.script.get(), Arg(argc, argv, 1)));
  return 0;
}

int AfficheImage(Engine& engine, int argc, char** argv) {
  OverlayPictureState& overlay = engine.plugins.overlay;
  overlay.name = std::string(Arg(argc, argv, 1)).substr(0, kOverlayNameMax);
  overlay.x = Number(argc, argv, 2);
  overlay.y = Number(argc, argv, 3);
  overlay.on = true;
  return 0;
}

int StopAffiche(Engine& engine, int, char**) {
  engine.plugins.overlay.on = false;
  if (engine.archive) engine.archive->Archive_Flush();
  return 0;
}

int UpdateStage(Engine& engine, int, char**) {
  Stage_Update(engine);
  return 0;
}

int ChangeCurseur(Engine& engine, int argc, char** argv) {
  Pending_Test_Request(engine, Number(argc, argv, 1));
  return 0;
}

int ExeDemo(Engine& engine, int argc, char** argv) {
  Set_Var(engine.script.get(), Arg(argc, argv, 1), 1);
  return 0;
}

void Overlay_Countdown_Frame(Engine& engine) {
  const ArchiveTarget target = Picture_Target(engine);
  const OverlayPictureState& overlay = engine.plugins.overlay;
  if (overlay.on && engine.archive && target.pixels)
    engine.archive->Archive_Draw(overlay.name, overlay.x, overlay.y, target);
  Countdown_Frame(engine, target);
}
