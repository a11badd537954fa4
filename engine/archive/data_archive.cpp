// The archive object: its folder, data files, reads, pixel cache and flush.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "engine/archive/data_archive.h"
#include "host/path_resolve.h"
#include "packing/byte_order.h"

namespace {

unsigned char Lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

std::string Folder_With_Separator(std::string folder) {
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\' && folder.back() != ':') folder += '/';
  return folder;
}

}  // namespace

int Archive_Name_Compare(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int d = int(Lower(static_cast<unsigned char>(a[i]))) - int(Lower(static_cast<unsigned char>(b[i])));
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

DataArchive::DataArchive(std::string folder) : folder_(Folder_With_Separator(std::move(folder))) {}

DataArchive::~DataArchive() { Archive_Close_Files(); }

std::string DataArchive::Path_Of(std::string_view file) const {
  return Path_Resolve(folder_ + std::string(file));
}

int DataArchive::Archive_Open_Files() {
  Archive_Close_Files();
  for (ArchiveEntry& entry : entries_) entry.unreadable = false;
  for (int64_t k = 1; k <= file_count_; ++k) {
    const int fd = ::open(Path_Of("BData" + std::to_string(k) + ".arn").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    files_.push_back(fd);
  }
  return 0;
}

void DataArchive::Archive_Close_Files() {
  for (int fd : files_)
    if (fd >= 0) ::close(fd);
  files_.clear();
}

bool DataArchive::Archive_Read(int file_index, void* buffer, size_t size, int64_t offset) {
  if (file_index < 1 || size_t(file_index) > files_.size() || files_[size_t(file_index) - 1] < 0)
    return false;
  const int fd = files_[size_t(file_index) - 1];
  if (offset != -1 && (offset < 0 || ::lseek(fd, off_t(offset), SEEK_SET) < 0)) return false;
  auto* at = static_cast<uint8_t*>(buffer);
  while (size > 0) {
    const ssize_t got = ::read(fd, at, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    at += got;
    size -= size_t(got);
  }
  return true;
}

void DataArchive::Archive_Count_Cached(int64_t bytes) { cached_bytes_ += bytes; }

int DataArchive::Archive_First_File() const { return files_.empty() ? -1 : files_[0]; }

void DataArchive::Free_Pixels(ArchiveEntry& entry) {
  if (!entry.cached) return;
  cached_bytes_ -= entry.size;
  entry.cached = false;
  std::vector<uint16_t>().swap(entry.pixels);
}

void DataArchive::Archive_Flush() {
  for (int32_t type : {4, 3, 2, 1})
    for (ArchiveEntry& entry : entries_)
      if (entry.type == type) Free_Pixels(entry);
}

int64_t DataArchive::Find(std::string_view name) const {
  auto it = std::lower_bound(
      entries_.begin(), entries_.end(), name,
      [](const ArchiveEntry& e, std::string_view n) { return Archive_Name_Compare(e.name, n) < 0; });
  if (it == entries_.end() || Archive_Name_Compare(it->name, name) != 0) return -1;
  return it - entries_.begin();
}

namespace {

// True when every pixel the picture reads, and the key colour of a
// transparent type, lies inside `words` pixels of data.
bool Rect_Fits(const ArchiveEntry& entry, int64_t words) {
  const ArchiveRect& r = entry.rect;
  const int64_t width = int64_t(r.right) - r.left;
  const int64_t height = int64_t(r.bottom) - r.top;
  if (width <= 0 || height <= 0 || r.right <= 0) return false;
  if ((height - 1) * r.right + (width - 1) >= words) return false;
  if (entry.type == kArchiveOpaqueType) return true;
  const int64_t key = int64_t(r.bottom) * r.right - 1;
  return key >= 0 && key < words;
}

}  // namespace

bool DataArchive::Load_Pixels(ArchiveEntry& entry) {
  if (entry.cached) return true;
  if (entry.unreadable) return false;
  entry.unreadable = true;  // until it is read whole
  if (!Rect_Fits(entry, int64_t(entry.size / 2))) return false;
  if (entry.file_index < 1 || size_t(entry.file_index) > files_.size()) return false;
  struct stat info {};
  if (::fstat(files_[size_t(entry.file_index) - 1], &info) != 0 || entry.offset < 0 ||
      entry.offset + int64_t(entry.size) > int64_t(info.st_size))
    return false;
  std::vector<uint8_t> bytes(entry.size);
  if (!Archive_Read(entry.file_index, bytes.data(), bytes.size(), entry.offset)) return false;
  entry.pixels.resize(bytes.size() / 2);
  for (size_t i = 0; i < entry.pixels.size(); ++i) entry.pixels[i] = Le_U16(&bytes[2 * i]);
  entry.cached = true;
  entry.unreadable = false;
  Archive_Count_Cached(entry.size);
  return true;
}

const std::vector<uint16_t>* DataArchive::Pixels(size_t entry) {
  if (entry >= entries_.size() || !Load_Pixels(entries_[entry])) return nullptr;
  return &entries_[entry].pixels;
}

uint16_t DataArchive::Key_Colour(const ArchiveEntry& entry) {
  const int64_t key = int64_t(entry.rect.bottom) * entry.rect.right - 1;
  return key >= 0 && key < int64_t(entry.pixels.size()) ? entry.pixels[size_t(key)] : 0;
}
