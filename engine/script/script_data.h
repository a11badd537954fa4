// The loaded script (warps, tests, variables), the current warp's zones, and
// the engine-wide state that the interpreter and the main loop share.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Limits that scripts can observe.
inline constexpr size_t kLockSlotCount = 13;  // Escape, F1..F10, Enter, right button
inline constexpr int kLockSlotRightButton = 12;
inline constexpr size_t kLockNameMax = 256;    // characters of a lock slot's warp name
inline constexpr size_t kCursorNameMax = 259;  // characters of a test's cursor picture name
inline constexpr size_t kPrintTextMax = 256;   // characters of the printed text

// Test ids and kinds.
inline constexpr int32_t kEntryTestId = -1;
enum TestKind : int32_t { kTestClick = 0, kTestEnter = 1, kTestLeave = 2 };

// Warp kinds: 0 panorama, anything else a still picture.
enum WarpKind : int32_t { kWarpPanorama = 0, kWarpStill = 1 };

struct SCRIPT_VAR {
  std::optional<std::string> name;  // absent for a [BOOL] line without a name
  int32_t value = 0;                // any integer; 0 is false
};

struct TEST {
  int32_t id = 0;  // -1: the warp's entry test; else a zone number or a number for queued runs
  int32_t kind = 0;
  std::vector<std::string> commands;  // normalised command texts, in file order
  std::string cursor;                 // picture shown over the zone; empty = default active cursor
  int32_t hidden = 0;                 // bit 0: the zone shows no zone cursor
};

struct WARP {
  std::optional<std::string> name;       // also the picture file name
  std::optional<std::string> zone_file;  // absent: no zones
  int32_t kind = kWarpPanorama;
  std::vector<TEST> tests;
};

struct SCRIPT_DATA {
  std::vector<WARP> warps;
  std::vector<SCRIPT_VAR> vars;
};

// A hot zone of the current warp: yaw 1, yaw 2, pitch 1, pitch 2 in radians
// (panorama) or x 1, x 2, y 1, y 2 in pixels (still picture).
struct ZONE {
  int32_t state = 1;  // 2 inside, 1 outside, as found by the last hit test
  float bounds[4] = {0, 0, 0, 0};
};

struct ENGINE_STATE {
  int32_t Warp_Index = 0;
  int32_t Pending_Test = -1;  // id of a test to run at the end of the frame; -1 none
  int32_t Gosub_Return = -1;  // command index of the pending GOSUB; -1 none
  std::array<std::string, kLockSlotCount> Lock_Slots;
  int32_t Lock_Return = -1;  // warp to return to after a lock-key jump; -1 none
  bool Restart_Request = false;
  std::string Print_Text;  // drawn centred every frame; empty = none
  std::string Print_Font;
};

// The view, in angle units of 8192 per turn.
struct VIEW {
  int32_t pitch = 0;   // 0 = horizon
  int32_t yaw = 0;     // not reduced; its low 13 bits are used
  float zoom = 90.0f;  // horizontal field of view in degrees
  int32_t pitch_limit = 1536;
  int32_t yaw_min = -1;  // both -1: no yaw limit
  int32_t yaw_max = -1;
  int32_t pitch_speed = 0;  // 1/16 angle unit per millisecond
  int32_t yaw_speed = 0;
};

// The first variable named `name` (case ignored), or null.
const SCRIPT_VAR* Var_Find(const SCRIPT_DATA* script, std::string_view name);
// Value of the first variable named `name` (case ignored), 0 when none.
int32_t Get_Var(const SCRIPT_DATA* script, std::string_view name);
// Stores into the first such variable; no variable is ever created.
void Set_Var(SCRIPT_DATA* script, std::string_view name, int32_t value);
// The kind a warp's name gives: a still picture when its last character is
// A or D (either case), else a panorama.
int32_t Warp_Kind_From_Name(std::string_view name);
// Index of the first warp named `name` (case ignored), skipping `skip`
// (pass -1 to skip none); -1 when none.
int32_t Warp_Find(const SCRIPT_DATA* script, std::string_view name, int32_t skip = -1);
// Position of the first / last test of the warp with that id; -1 when none.
int32_t Test_Find_First(const WARP& warp, int32_t id);
int32_t Test_Find_Last(const WARP& warp, int32_t id);
