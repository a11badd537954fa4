// Slot files of saved games, read and written field by field. Each part
// follows the one before: the script name, the label and the date, each a
// 32-bit length and that many bytes (the texts with their zeros; the date
// part is the date, a zero, the time, a zero and one more zero); the
// thumbnail (its 40-byte header, the masks, the pixels); the context's
// length and bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/plugins/save_picture.h"

struct SaveSlot {
  std::string path;
  std::vector<uint8_t> script;  // the script's name and its zero; empty: no game
  std::vector<uint8_t> label;   // the label and its zero, or nothing
  std::vector<uint8_t> date;
  SavePicture picture;
  std::vector<uint8_t> context;

  bool Holds_Game() const { return !script.empty(); }
  // The texts of a part before their zeros.
  static std::string Text(const std::vector<uint8_t>& part);
  // The texts of the date part: the date, then the time.
  std::vector<std::string> Date_Lines() const;
};

// Pictures larger than this are refused as unreadable (the thumbnail is
// 139 x 103).
inline constexpr int32_t kSavePictureMaxSide = 4096;

// Reads the slot's parts from the bytes; the context only when asked.
// False for a file that ends inside a part or whose picture header is not
// 40 bytes or describes no readable picture: the slot then holds no game.
bool Slot_Parse(std::span<const uint8_t> bytes, bool with_context, SaveSlot& slot);
// Reads the file at slot.path; a file that cannot be read or parsed
// leaves a slot without a game.
void Slot_Read(SaveSlot& slot, bool with_context);
// The file's bytes.
std::vector<uint8_t> Slot_Bytes(const SaveSlot& slot);
// A part from a text: its bytes and a zero.
std::vector<uint8_t> Slot_Text_Part(const std::string& text);
