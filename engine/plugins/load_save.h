// Saved games, driven from the script by the LoadSave plug-ins: the game's
// state captured with a thumbnail and a label, slot files listed, drawn on
// a face of the menu's panorama, saved, loaded (the saved game's script
// runs next and restores the context in its entry test) and deleted.
//
// Slot n is the file "Saved_n.bin" of the save folder: the user's temporary
// folder once a script asked for it, else the game's start folder, or, when
// that folder cannot be written (a disc), the per-user folder
// $XDG_DATA_HOME/kvr/saves/<game> (~/.local/share when the variable is not
// set), <game> being the start folder's name. The folder is chosen at the
// first slot operation of the process and kept for all of them. Slot files
// are written to a temporary name and renamed over the old file.
//
// Slot and face numbers outside their ranges are refused: the call does
// nothing. Labels and dates are stored as Windows-1252 bytes.
#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "engine/plugins/save_slot.h"

struct Engine;

inline constexpr int kThumbWidth = 139;
inline constexpr int kThumbHeight = 103;
inline constexpr int kSlotFaceSize = 512;
// Slot numbers run from 1 to this.
inline constexpr int32_t kSaveSlotsMax = 9999;

class OutlineFont;

struct LoadSaveState {
  std::vector<uint8_t> context;       // the last capture
  std::vector<uint8_t> label;         // its text and zero, or nothing
  SavePicture thumbnail;              // 139 x 103, bottom-up
  std::vector<SaveSlot> slots;        // slot 1 first
  std::unique_ptr<SaveSlot> pending;  // loaded, waiting for its script
  int temp_folder = 0;
  std::string folder;                 // chosen at the first use, ending with '/'
  std::shared_ptr<OutlineFont> font;  // of the slot texts, opened at the first draw
};

int LoadSave_Enter_Script(Engine& engine, int argc, char** argv);
int LoadSave_Context_Restored(Engine& engine, int argc, char** argv);
int LoadSave_Capture_Context(Engine& engine, int argc, char** argv);
int LoadSave_Set_Context_Label(Engine& engine, int argc, char** argv);
int LoadSave_Init_Slots(Engine& engine, int argc, char** argv);
int LoadSave_Save(Engine& engine, int argc, char** argv);
int LoadSave_Test_Slot(Engine& engine, int argc, char** argv);
int LoadSave_Test_Slot_Label(Engine& engine, int argc, char** argv);
int LoadSave_Draw_Slot(Engine& engine, int argc, char** argv);
int LoadSave_Use_Temp_Dir(Engine& engine, int argc, char** argv);
int LoadSave_Load(Engine& engine, int argc, char** argv);
int LoadSave_Delete(Engine& engine, int argc, char** argv);

// Destroys the slot list and the pending load (at the end of the chain).
void LoadSave_Release(Engine& engine);

// The path of slot n in the save folder.
std::string LoadSave_Slot_Path(Engine& engine, int slot);

// The date and time texts of the user's locale in Windows-1252: the day's
// name, day, month and year ("dddd dd MM yyyy"), and the hour without a
// leading zero, " h ", the minutes ("H 'h' mm").
std::vector<uint8_t> LoadSave_Date_Part(std::time_t when);

// Paints the slot's thumbnail at (x, y) of a 512 x 512 face whose rows run
// top to bottom, its label below at y + 114 and the date and time at
// y + 128 and y + 142, in black Liberation Sans of 12 pixels.
void Slot_Paint(const SaveSlot& slot, int x, int y, uint16_t* face);
