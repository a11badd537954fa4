#include "engine/plugins/plugin_tables.h"

#include <array>
#include <utility>

#include "engine/engine.h"
#include "engine/engine_services.h"

namespace {

constexpr std::array<std::string_view, kExtensionPluginCount + kEnginePluginCount> kNames = {
    "Print_Screen",
    "Shell_Execute",
    "MultiCD_Set_Next_Script",
    "MultiCD_Set_Transition_Script",
    "MultiCD_Use_Install_Path",
    "MultiCD_If_Next_Script",
    "LoadSave_Enter_Script",
    "LoadSave_Context_Restored",
    "LoadSave_Capture_Context",
    "LoadSave_Set_Context_Label",
    "LoadSave_Init_Slots",
    "LoadSave_Save",
    "LoadSave_Test_Slot",
    "LoadSave_Test_Slot_Label",
    "LoadSave_Draw_Slot",
    "LoadSave_Use_Temp_Dir",
    "LoadSave_Load",
    "LoadSave_Delete",
    "Media_PlayVideo",
    "ZQMovie_Set_Audio_Track",
    "PauseTimer",
    "KillTimer",
    "StartTimer",
    "StartCible",
    "StopCible",
    "TestCible",
    "CopyVar",
    "AfficheImage",
    "StopAffiche",
    "UpdateStage",
    "ChangeCurseur",
    "ExeDemo",
};

template <int N>
int Forward(void* context, int argc, char** argv) {
  Engine& engine = *static_cast<Engine*>(context);
  engine.services->Plugin_Function(engine, PluginId(N), argc, argv);
  return 0;
}

template <int First, int... I>
constexpr std::array<Plugin_Entry, sizeof...(I) + 1> Table(std::integer_sequence<int, I...>) {
  return {{{kNames[First + I].data(), Forward<First + I>}..., {nullptr, nullptr}}};
}

// The names are literals, so their data() are NUL-terminated C strings.
constexpr auto kExtension = Table<0>(std::make_integer_sequence<int, kExtensionPluginCount>{});
constexpr auto kEngine = Table<kExtensionPluginCount>(std::make_integer_sequence<int, kEnginePluginCount>{});

}  // namespace

std::string_view Plugin_Name(PluginId id) { return kNames[size_t(id)]; }

const Plugin_Entry* Extension_Plugin_Table() { return kExtension.data(); }
const Plugin_Entry* Engine_Plugin_Table() { return kEngine.data(); }
