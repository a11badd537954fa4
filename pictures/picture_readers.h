// The picture file readers Picture_Load dispatches to. Each
// opens `path` through the file layer, reads the whole picture and returns
// it named after the path (an MTRD picture keeps the name stored in it);
// null when the file is missing, short, truncated or refused. No reader
// reads past the end of the file or writes past the picture.
//
// MDRAW, PCX, TGA and BMP refuse a file whose pixel data cannot fill the
// picture (a plain part too short, run-length data ending early); MDRAW
// "FC" data stays packed until unpacked, and missing bytes then read as 0.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "pictures/picture.h"

struct Wendax;

// MDRAW ("MDRAW " signature): pictures/mdraw_reader.cpp.
PicturePtr Mdraw_Read(Wendax& wx, std::string_view path);
// PCX (8-bit, RLE, 256-colour palette at the end): pictures/pcx_reader.cpp.
PicturePtr Pcx_Read(Wendax& wx, std::string_view path);
// TGA (types 1, 2, 9, 10; 8/16/24/32 bits): pictures/tga_reader.cpp.
PicturePtr Tga_Read(Wendax& wx, std::string_view path);
// BMP (8/16/24 bits, bottom-up): pictures/bmp_reader.cpp.
PicturePtr Bmp_Read(Wendax& wx, std::string_view path);

// The same four readers on bytes already in memory, the picture named after
// `name` as a path: what the *_Read functions do after reading the file.
PicturePtr Mdraw_Decode(std::span<const uint8_t> bytes, std::string_view name);
PicturePtr Pcx_Decode(std::span<const uint8_t> bytes, std::string_view name);
PicturePtr Tga_Decode(std::span<const uint8_t> bytes, std::string_view name);
PicturePtr Bmp_Decode(std::span<const uint8_t> bytes, std::string_view name);

// GIF 87a/89a, first image: pictures/gif_reader.cpp.
PicturePtr Gif_Read(Wendax& wx, std::string_view path);
// IFF PBM with ByteRun1: pictures/iff_reader.cpp.
PicturePtr Iff_Read(Wendax& wx, std::string_view path);
// MTRD picture file (opens the file and calls Mtrd_Read_Picture on it):
// pictures/mtrd/.
PicturePtr Mtrd_Read_Picture_File(Wendax& wx, std::string_view path);
