// The engine's reading copy of KVR_FILE: the reading operations of the class
// in kvr_read/kvr_file.h, compiled from the same source (kvr_file.cpp with
// KVR_FILE_READING_ONLY) into the static library kvr_file_reader, which is
// not exported. It lives in its own namespace so that a program holding both
// this copy and libkvr_read.so has two distinct classes; a file includes
// either this header or kvr_file.h, never both. Every operation behaves
// exactly as documented in kvr_read/kvr_file.h.
#pragma once

#include <cstdio>

namespace kvr_file_reader {

class KVR_FILE {
 public:
  KVR_FILE();
  KVR_FILE(const KVR_FILE& other);
  ~KVR_FILE();
  KVR_FILE& operator=(const KVR_FILE& other);

  int Open(const char* path, const char* mode);
  void Close();
  void Get_Chunck(int* tag, int* size);
  void Read_Chunck(int* tag, int* size);
  void Get_Chunck_Data(void* buf, int len);
  void Read(void* buf, int len);
  void Next_Chunck();
  int Tell();
  void Seek(int pos);

 private:
  struct Stream;
  static Stream* Adopt(std::FILE* file);
  std::FILE* File() const;
  void Release();

  Stream* stream_;
};

}  // namespace kvr_file_reader

using kvr_file_reader::KVR_FILE;
