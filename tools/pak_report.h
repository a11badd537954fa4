// Texts about packed files for tools: what a header says, and why a packed
// file cannot be read.
#pragma once

#include <string>

#include "platform/files/pak_file.h"

// "stored", "run-length", ... ("unknown" outside 0..5).
const char* Pak_Method_Name(int method);

// The header as four lines, each ended by '\n':
//   name: SCRIPT.LST
//   method: 3 (long-window LZ)
//   packed size: 1234
//   unpacked size: 5678
// Bytes of the name outside printable ASCII, and '\', are written as \xNN.
std::string Pak_Info_Text(const PakHeader& header);

// The reason a decode failed, with how far it got, e.g. "packed data
// malformed: the input ran out after reading 10 of 10 packed bytes, 37 of 100
// bytes unpacked".
std::string Pak_Failure_Text(const PakResult& result);
