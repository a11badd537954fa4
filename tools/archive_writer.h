// Writing data archives: the index "BDataHeader.vit" and the data
// files "BData1.arn" .. "BDataM.arn" of a folder, from pictures of 16-bit
// RGB565 pixels.
//
// The index lists the pictures grouped by data file index, in the order the
// groups first appear and within a group in the order given, so the
// engine's offsets (which restart whenever the index changes) match the
// data files, where each picture's pixels follow the one before it of the
// same file. Pixels are written as given, so a test can make pictures that
// do not fit their rectangle; a picture naming no file 1..M gets an index
// entry and no data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ArchivePicture {
  std::string name;  // as stored, extension included ("door.tga" loads as "door"); at most 31 bytes
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t type = 1;  // 1 opaque, any other transparent (key: pixel bottom * right - 1)
  int32_t file_index = 1;
  std::vector<uint16_t> pixels;  // rows of `right` pixels; the size field is 2 x their count
};

// The index bytes for the pictures and a data-file count. False with a
// message when a name is longer than 31 bytes or holds a zero byte, or the
// pixels do not fit a 32-bit size.
bool Archive_Index_Bytes(const std::vector<ArchivePicture>& pictures, int32_t file_count,
                         std::vector<uint8_t>& out, std::string& error);
// Data file k's bytes: the pixels of its pictures, little-endian.
std::vector<uint8_t> Archive_Data_Bytes(const std::vector<ArchivePicture>& pictures, int32_t k);
// The pictures as the index lists them (see above).
std::vector<ArchivePicture> Archive_Index_Order(const std::vector<ArchivePicture>& pictures);

// Writes the index and data files 1..file_count (0 or more; empty ones
// too) into the folder, made when missing, each replacing any file of that name by a complete
// one. False with a message on failure.
bool Archive_Write_Folder(const std::string& folder, const std::vector<ArchivePicture>& pictures,
                          int32_t file_count, std::string& error);
