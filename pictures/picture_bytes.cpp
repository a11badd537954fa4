#include "pictures/picture_bytes.h"

#include <algorithm>

#include "platform/files/file_layer.h"

std::optional<std::vector<uint8_t>> Picture_File_Bytes(Wendax& wx, std::string_view path) {
  int handle = File_Open(wx, path, kFileModeRead);
  if (handle < 0) return std::nullopt;
  File_Seek(wx, handle, 0, kSeekEnd);
  int32_t size = File_Tell(wx, handle);
  bool ok = File_Last_Result(wx) == 0 && size >= 0 && size_t(size) <= kPictureFileBytesMax;
  std::vector<uint8_t> bytes;
  if (ok) {
    File_Seek(wx, handle, 0, kSeekStart);
    bytes.resize(size_t(size));
    size_t done = 0;
    while (ok && done < bytes.size()) {
      int want = int(std::min<size_t>(bytes.size() - done, size_t{1} << 24));
      int got = File_Read(wx, handle, bytes.data() + done, want);
      if (got <= 0) ok = false;
      done += size_t(std::max(got, 0));
    }
  }
  File_Close(wx, handle);
  if (!ok) return std::nullopt;
  return bytes;
}
