#include "pictures/file_window.h"

#include <algorithm>
#include <cstring>

#include "platform/files/file_layer.h"
#include "platform/wendax.h"

FileWindow::FileWindow(Wendax& wx, std::string_view path) : wx_(wx) {
  handle_ = File_Open(wx_, path, kFileModeRead);
  if (handle_ < 0) return;
  File_Seek(wx_, handle_, 0, kSeekEnd);
  size_ = File_Tell(wx_, handle_);
  if (File_Last_Result(wx_) != 0) size_ = 0;
}

FileWindow::~FileWindow() {
  if (handle_ >= 0) File_Close(wx_, handle_);
}

// Loads the window so that it starts at `offset`.
bool FileWindow::Fill(int64_t offset) {
  const size_t want = size_t(std::min<int64_t>(int64_t(kWindowBytes), size_ - offset));
  window_.resize(want);
  window_start_ = offset;
  File_Seek(wx_, handle_, int32_t(offset), kSeekStart);
  const int got = File_Read(wx_, handle_, window_.data(), int(want));
  window_.resize(got > 0 ? size_t(got) : 0);
  return !window_.empty();
}

size_t FileWindow::Read(int64_t offset, uint8_t* out, size_t count) {
  size_t copied = 0;
  while (copied < count && handle_ >= 0 && offset >= 0 && offset < size_) {
    const bool inside = offset >= window_start_ && offset < window_start_ + int64_t(window_.size());
    if (!inside && !Fill(offset)) break;
    const size_t at = size_t(offset - window_start_);
    const size_t n = std::min(count - copied, window_.size() - at);
    std::memcpy(out + copied, window_.data() + at, n);
    copied += n;
    offset += int64_t(n);
  }
  return copied;
}

int FileWindow::Byte_Slow(int64_t offset) {
  uint8_t b = 0;
  return Read(offset, &b, 1) == 1 ? b : -1;
}
