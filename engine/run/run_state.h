// The state of one script run that the main loop, the view animations and
// the plug-ins share: the projection and its tile store, "warpfix", the
// thumbnail "little", the scene, the cursors and the zone bookkeeping of the
// frame, the fonts of the printed text. Lives in Engine; emptied at the end
// of every run.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "orv_vr/orv_vr.h"
#include "pictures/font.h"
#include "pictures/picture.h"
#include "scene/scene_picture.h"

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;
inline constexpr int32_t kFrameMsAfterLoad = 14;  // Frame_Ms of the first frame of a cycle
inline constexpr int kSoundTimerMs = 100;         // sound service while a warp loads

// Why a test runs, as the trace reports it.
enum class TestCause { kEntry, kClick, kEnter, kLeave, kPending, kLock, kReturn };

struct RunState {
  std::unique_ptr<ORV_VR> vr;
  PicturePtr warpfix;  // 640 x 480 x 16: the still picture of a still-picture warp
  PicturePtr little;   // the thumbnail, made before every lock-key jump
  std::vector<uint16_t> table_15_16;
  Scene scene;
  int no_sound = -1;  // Sound_Init's result at the start of the run

  PicturePtr cursor_default;  // where no zone cursor applies
  PicturePtr cursor_active;   // over a click zone without a cursor of its own
  PicturePtr cursor_zone;     // the cached zone cursor
  int32_t cursor_zone_id = -1;
  int32_t last_enter = -1;       // test position of the last enter test
  int32_t leave_candidate = -1;  // test position of the leave test to run
  int32_t pass = 0;              // test cycles since the warp was entered

  std::unique_ptr<FontTable> fonts;  // of the printed text
  TestCause entry_cause = TestCause::kEntry;
  bool keep_print_text = false;  // the next warp entry keeps the printed text

  uint64_t frames = 0;  // frames presented by the engine since it started
  bool quit = false;    // the run and the chain end at the next frame
};

// Names of the causes in the trace.
const char* Test_Cause_Name(TestCause cause);
