// An MTRD file held as a memory file and open through the file layer.
#pragma once

#include <cstdint>

#include "tests/pictures/picture_format_writers.h"
#include "pictures/mtrd/mtrd_format.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"

class MemoryMtrd {
 public:
  explicit MemoryMtrd(const ByteVector& bytes) : size(int32_t(bytes.size())) {
    Memory_File_Add(wx, "video.mtd", bytes.data(), bytes.size());
    handle = File_Open(wx, "video.mtd", kFileModeRead);
  }
  ~MemoryMtrd() { File_Close(wx, handle); }
  MemoryMtrd(const MemoryMtrd&) = delete;
  MemoryMtrd& operator=(const MemoryMtrd&) = delete;

  bool Open(MtrdFile* file) { return Mtrd_Open(wx, handle, size, 0, size, file); }

  Wendax wx;
  int32_t size;
  int handle = -1;
};
