// ByteRun1 run-length data of IFF pictures. A count byte n of 0..128 is
// followed by n + 1 literal bytes (128 included: 129 literals); n above 128
// by one byte repeated 257 - n times.
#pragma once

#include <cstddef>
#include <cstdint>

class FileWindow;

// Decodes from [offset, end) of the file into out[0..out_size); a run that
// crosses the end of the output is cut. Returns the bytes written: out_size
// unless the data ran out first.
size_t ByteRun1_Decode(FileWindow& file, int64_t offset, int64_t end, uint8_t* out, size_t out_size);

// The most bytes `in_size` bytes of ByteRun1 data can give (two bytes give at
// most 128).
uint64_t ByteRun1_Max_Output(uint64_t in_size);
