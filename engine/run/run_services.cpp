#include "engine/run/run_services.h"

#include "engine/engine.h"
#include "engine/media/movie_overlays.h"
#include "engine/media/movie_play.h"
#include "engine/media/sound_commands.h"
#include "engine/media/sound_random.h"
#include "engine/plugins/engine_plugins.h"
#include "engine/plugins/frame_hooks.h"
#include "engine/plugins/load_save.h"
#include "engine/plugins/multi_disc.h"
#include "engine/plugins/plugin_block.h"
#include "engine/plugins/plugin_tables.h"
#include "engine/plugins/print_screen.h"
#include "engine/plugins/shell_execute.h"
#include "engine/run/cursor.h"
#include "engine/run/view_animation.h"
#include "pictures/mtrd/mtrd_video.h"

void RunServices::Interpolate_Angle(Engine& engine, int pitch, int yaw, int speed) {
  ::Interpolate_Angle(engine, pitch, yaw, speed);
}
void RunServices::Interpolate_Zoom(Engine& engine, int degrees, int speed) {
  ::Interpolate_Zoom(engine, degrees, speed);
}
void RunServices::Interpolate_Angle_Zoom(Engine& engine, int pitch, int yaw, int degrees, int speed) {
  ::Interpolate_Angle_Zoom(engine, pitch, yaw, degrees, speed);
}
void RunServices::Fade(Engine& engine, int from, int to, int speed) { ::Fade(engine, from, to, speed); }
void RunServices::Transfade(Engine& engine, int speed) { ::Transfade(engine, speed); }

void RunServices::Play_Video(Engine& engine, const std::string& file) { Video_Play(engine.wx, file); }
void RunServices::Play_Music(Engine& engine, const std::string& file, int volume) {
  Command_Play_Music(engine, file, volume);
}
void RunServices::Stop_Music(Engine& engine) { Command_Stop_Music(engine); }
void RunServices::Play_Sound(Engine& engine, const std::string& file, int volume, int loops) {
  Command_Play_Sound(engine, file, volume, loops);
}
void RunServices::Stop_Sound(Engine& engine, const std::string& file) { Command_Stop_Sound(engine, file); }
void RunServices::Play_Sound_3D(Engine& engine, const std::string& file, int volume, int angle, int loops) {
  Command_Play_Sound_3D(engine, file, volume, angle, loops);
}
void RunServices::Stop_Sound_3D(Engine& engine, const std::string& file) {
  Command_Stop_Sound_3D(engine, file);
}
void RunServices::Add_Random_Sound(Engine& engine, const std::string& file, int volume, int frequency) {
  Command_Add_Random_Sound(engine, file, volume, frequency);
}

void RunServices::Plugin_Run_Block(Engine& engine, const std::vector<std::string>& statements) {
  ::Plugin_Run_Block(engine, statements);
}

void RunServices::Set_Default_Cursor(Engine& engine, bool active, const std::string& picture) {
  (active ? engine.run.cursor_active : engine.run.cursor_default) = Cursor_Load(engine, picture);
}

void RunServices::Random_Sounds_Frame(Engine& engine) { ::Random_Sounds_Frame(engine); }
void RunServices::Frame_Hooks(Engine& engine) { ::Frame_Hooks(engine); }
void RunServices::Sound_Service(Engine& engine) { ::Sound_Service(engine); }
void RunServices::Sound_Run_Start(Engine& engine) { ::Sound_Run_Start(engine); }
void RunServices::Sound_Warp_Entry(Engine& engine) { ::Sound_Warp_Entry(engine); }
void RunServices::Sound_Run_End(Engine& engine) { ::Sound_Run_End(engine); }

void RunServices::Plugin_Function(Engine& engine, PluginId id, int argc, char** argv) {
  switch (id) {
    case PluginId::kZQMovie_Set_Audio_Track: ZQMovie_Set_Audio_Track(engine, argc, argv); return;
    case PluginId::kMedia_PlayVideo: Media_PlayVideo(engine, argc, argv); return;
    case PluginId::kPrint_Screen: Print_Screen(engine, argc, argv); return;
    case PluginId::kMultiCD_Set_Next_Script: MultiCD_Set_Next_Script(engine, argc, argv); return;
    case PluginId::kMultiCD_Set_Transition_Script: MultiCD_Set_Transition_Script(engine, argc, argv); return;
    case PluginId::kMultiCD_If_Next_Script: MultiCD_If_Next_Script(engine, argc, argv); return;
    case PluginId::kMultiCD_Use_Install_Path: MultiCD_Use_Install_Path(engine, argc, argv); return;
    case PluginId::kShell_Execute: Shell_Execute(engine, argc, argv); return;
    case PluginId::kLoadSave_Enter_Script: LoadSave_Enter_Script(engine, argc, argv); return;
    case PluginId::kLoadSave_Context_Restored: LoadSave_Context_Restored(engine, argc, argv); return;
    case PluginId::kLoadSave_Capture_Context: LoadSave_Capture_Context(engine, argc, argv); return;
    case PluginId::kLoadSave_Set_Context_Label: LoadSave_Set_Context_Label(engine, argc, argv); return;
    case PluginId::kLoadSave_Init_Slots: LoadSave_Init_Slots(engine, argc, argv); return;
    case PluginId::kLoadSave_Save: LoadSave_Save(engine, argc, argv); return;
    case PluginId::kLoadSave_Test_Slot: LoadSave_Test_Slot(engine, argc, argv); return;
    case PluginId::kLoadSave_Test_Slot_Label: LoadSave_Test_Slot_Label(engine, argc, argv); return;
    case PluginId::kLoadSave_Draw_Slot: LoadSave_Draw_Slot(engine, argc, argv); return;
    case PluginId::kLoadSave_Use_Temp_Dir: LoadSave_Use_Temp_Dir(engine, argc, argv); return;
    case PluginId::kLoadSave_Load: LoadSave_Load(engine, argc, argv); return;
    case PluginId::kLoadSave_Delete: LoadSave_Delete(engine, argc, argv); return;
    case PluginId::kPauseTimer: PauseTimer(engine, argc, argv); return;
    case PluginId::kKillTimer: KillTimer(engine, argc, argv); return;
    case PluginId::kStartTimer: StartTimer(engine, argc, argv); return;
    case PluginId::kStartCible: StartCible(engine, argc, argv); return;
    case PluginId::kStopCible: StopCible(engine, argc, argv); return;
    case PluginId::kTestCible: TestCible(engine, argc, argv); return;
    case PluginId::kCopyVar: CopyVar(engine, argc, argv); return;
    case PluginId::kAfficheImage: AfficheImage(engine, argc, argv); return;
    case PluginId::kStopAffiche: StopAffiche(engine, argc, argv); return;
    case PluginId::kUpdateStage: UpdateStage(engine, argc, argv); return;
    case PluginId::kChangeCurseur: ChangeCurseur(engine, argc, argv); return;
    case PluginId::kExeDemo: ExeDemo(engine, argc, argv); return;
    default: break;
  }
  std::string line(Plugin_Name(id));
  line += "(";
  for (int i = 1; i < argc; ++i) line += std::string(i > 1 ? "," : "") + argv[i];
  line += "): not available yet";
  Debug_Print(engine, line);
}

int RunServices::Movie_Play(Engine& engine, const std::string& file, int loops) {
  return ::Movie_Play(engine, file, loops);
}

bool RunServices::Movie_Add_Overlay(Engine& engine, const std::string& file, int x, int y, int loops) {
  return ::Movie_Add_Overlay(engine, file, x, y, loops);
}
void RunServices::Movie_Draw_Overlays(Engine& engine) { ::Movie_Draw_Overlays(engine); }
void RunServices::Movie_Free_Overlays(Engine& engine) { ::Movie_Free_Overlays(engine); }
void RunServices::Overlay_Countdown_Frame(Engine& engine) { ::Overlay_Countdown_Frame(engine); }
