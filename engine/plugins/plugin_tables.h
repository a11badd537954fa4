// The two plug-in tables that PLUGIN statements call by name: the extension
// table (printing, programs, multi-disc, saved games, videos) and the
// engine table (countdown, target game, overlay picture, stage update,
// cursor, variables), each in its fixed order and ended by a null name.
//
// Each entry hands its call to EngineServices::Plugin_Function with its
// id, so the subsystems that own the functions take them over there.
#pragma once

#include <string_view>

#include "engine/plugins/plugin_call.h"

enum class PluginId {
  // The extension table.
  kPrint_Screen,
  kShell_Execute,
  kMultiCD_Set_Next_Script,
  kMultiCD_Set_Transition_Script,
  kMultiCD_Use_Install_Path,
  kMultiCD_If_Next_Script,
  kLoadSave_Enter_Script,
  kLoadSave_Context_Restored,
  kLoadSave_Capture_Context,
  kLoadSave_Set_Context_Label,
  kLoadSave_Init_Slots,
  kLoadSave_Save,
  kLoadSave_Test_Slot,
  kLoadSave_Test_Slot_Label,
  kLoadSave_Draw_Slot,
  kLoadSave_Use_Temp_Dir,
  kLoadSave_Load,
  kLoadSave_Delete,
  kMedia_PlayVideo,
  kZQMovie_Set_Audio_Track,
  // The engine table.
  kPauseTimer,
  kKillTimer,
  kStartTimer,
  kStartCible,
  kStopCible,
  kTestCible,
  kCopyVar,
  kAfficheImage,
  kStopAffiche,
  kUpdateStage,
  kChangeCurseur,
  kExeDemo,
};

inline constexpr int kExtensionPluginCount = 20;
inline constexpr int kEnginePluginCount = 12;

// The name of a plug-in as its table holds it.
std::string_view Plugin_Name(PluginId id);

// The tables, as Plugin_Call takes them; the context of a call is the
// Engine the statement runs in.
const Plugin_Entry* Extension_Plugin_Table();
const Plugin_Entry* Engine_Plugin_Table();
