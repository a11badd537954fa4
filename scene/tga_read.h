// The TGA reading behind Load_Tga_640_480, at any size: private to the
// scene library (its fuzz target reads small pictures with it).
#pragma once

#include <cstdio>
#include <vector>

// Reads an uncompressed true-colour TGA (type 2, 24 or 32 bits) of exactly
// width x height pixels from the start of f into 4-byte pixels (blue,
// green, red, fourth byte), rows top to bottom. The file's rows run
// bottom-up unless its descriptor says otherwise; a file that ends early
// leaves the rest black. False, with pixels untouched, when the header is
// short or not such a picture.
bool Tga_Read(std::FILE* f, int width, int height, std::vector<unsigned char>& pixels);
