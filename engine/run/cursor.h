// Cursors: loading a cursor picture by the packed-name rule, and frame
// step 5, which picks the zone cursor, the default active cursor or the
// default cursor and draws it.
#pragma once

#include <string_view>

#include "pictures/picture.h"

struct Engine;

// The picture, converted to 16 bits: from its packed form (the name less
// its last three characters, then "pak") when that file is not empty,
// registered as a memory file under the name stored in it; else the file
// itself, read whole as a memory file. Null when neither gives a picture.
PicturePtr Cursor_Load(Engine& engine, std::string_view picture);

// Frame step 5.
void Draw_Cursor(Engine& engine);
