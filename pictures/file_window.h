// Random-access reading of a file through the file layer, with a small
// window of cached bytes, for the picture readers that walk a file byte by
// byte. Reads never go past the file's end; a file is opened for reading on
// construction and closed on destruction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

struct Wendax;

class FileWindow {
 public:
  FileWindow(Wendax& wx, std::string_view path);
  ~FileWindow();
  FileWindow(const FileWindow&) = delete;
  FileWindow& operator=(const FileWindow&) = delete;

  bool Is_Open() const { return handle_ >= 0; }
  int64_t Size() const { return size_; }
  // Copies up to `count` bytes from `offset`; returns how many were copied
  // (fewer at the end of the file, 0 outside it).
  size_t Read(int64_t offset, uint8_t* out, size_t count);
  // The byte at `offset`, or -1 outside the file.
  int Byte(int64_t offset) {
    const int64_t at = offset - window_start_;
    if (at >= 0 && at < int64_t(window_.size())) return window_[size_t(at)];
    return Byte_Slow(offset);
  }

 private:
  bool Fill(int64_t offset);
  int Byte_Slow(int64_t offset);

  static constexpr size_t kWindowBytes = 64 * 1024;
  Wendax& wx_;
  int handle_ = -1;
  int64_t size_ = 0;
  std::vector<uint8_t> window_;
  int64_t window_start_ = 0;  // file offset of window_[0]
};
