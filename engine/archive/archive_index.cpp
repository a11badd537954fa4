// Archive_Load_Index: the index file "BDataHeader.vit", its offsets and the
// sorted table.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "engine/archive/data_archive.h"
#include "packing/byte_order.h"

namespace {

// Reads up to `wanted` bytes (fewer at the end of the file): 0 or errno.
int Read_Up_To(int fd, uint64_t wanted, std::vector<uint8_t>& bytes) {
  constexpr uint64_t kChunk = 1 << 16;
  while (bytes.size() < wanted) {
    const size_t at = bytes.size();
    bytes.resize(at + size_t(std::min(kChunk, wanted - at)));
    const ssize_t got = ::read(fd, bytes.data() + at, bytes.size() - at);
    if (got < 0 && errno == EINTR) {
      bytes.resize(at);
      continue;
    }
    if (got <= 0) {
      bytes.resize(at);
      return got < 0 ? errno : 0;
    }
    bytes.resize(at + size_t(got));
  }
  return 0;
}

ArchiveEntry Entry_Of(const uint8_t* p) {
  ArchiveEntry entry;
  size_t length = 0;
  while (length < kArchiveNameMax && p[length] != 0) ++length;
  entry.name.assign(reinterpret_cast<const char*>(p), length);
  entry.name.resize(length > kArchiveNameCut ? length - kArchiveNameCut : 0);
  p += kArchiveNameField;
  entry.rect = {Le_I32(p), Le_I32(p + 4), Le_I32(p + 8), Le_I32(p + 12)};
  entry.file_index = Le_I32(p + 16);
  entry.size = Le_U32(p + 20);
  entry.type = Le_I32(p + 24);
  return entry;
}

}  // namespace

int DataArchive::Archive_Load_Index() {
  Archive_Close_Files();
  for (ArchiveEntry& entry : entries_) Free_Pixels(entry);
  entries_.clear();
  file_count_ = 0;
  declared_ = -1;

  const int fd = ::open(Path_Of(kArchiveIndexName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  std::vector<uint8_t> bytes;
  int error = Read_Up_To(fd, kArchiveIndexHead, bytes);
  int64_t count = 0;
  if (error == 0 && bytes.size() == kArchiveIndexHead) {
    count = Le_I32(bytes.data());
    declared_ = count;
    file_count_ = Le_I32(bytes.data() + 4);
    if (count > 0) error = Read_Up_To(fd, kArchiveIndexHead + uint64_t(count) * kArchiveEntrySize, bytes);
  }
  ::close(fd);

  const size_t whole = (bytes.size() - std::min(bytes.size(), kArchiveIndexHead)) / kArchiveEntrySize;
  entries_.reserve(whole);
  int32_t previous_index = 0;
  int64_t offset = 0;
  for (size_t i = 0; i < whole; ++i) {
    ArchiveEntry entry = Entry_Of(bytes.data() + kArchiveIndexHead + i * kArchiveEntrySize);
    if (entry.file_index != previous_index) offset = 0;
    previous_index = entry.file_index;
    entry.offset = offset;
    offset += entry.size;
    entries_.push_back(std::move(entry));
  }
  // As inserting each entry after the equal names before it.
  std::stable_sort(entries_.begin(), entries_.end(), [](const ArchiveEntry& a, const ArchiveEntry& b) {
    return Archive_Name_Compare(a.name, b.name) < 0;
  });

  if (error != 0) return error;
  if (bytes.size() < kArchiveIndexHead || int64_t(whole) < count) return ENODATA;
  return Archive_Open_Files();
}
