#include "tools/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "host/file_replace.h"

namespace {

constexpr size_t kReadChunk = 1 << 16;

std::string System_Error(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

// Opens a regular file for reading; -1 with a message otherwise.
int Open_For_Reading(const std::string& path, struct stat& st, std::string& error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = System_Error("cannot open", path);
    return -1;
  }
  if (::fstat(fd, &st) != 0) {
    error = System_Error("cannot read", path);
    ::close(fd);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    error = path + " is not a regular file";
    ::close(fd);
    return -1;
  }
  return fd;
}

// Appends up to `count` bytes read from fd, in chunks, so that a large count
// allocates only what the file really holds.
bool Read_Up_To(int fd, uint64_t count, const std::string& path, std::vector<uint8_t>& bytes,
                std::string& error) {
  bytes.clear();
  while (bytes.size() < count) {
    size_t want = size_t(std::min<uint64_t>(kReadChunk, count - bytes.size()));
    size_t old = bytes.size();
    bytes.resize(old + want);
    ssize_t got = ::read(fd, bytes.data() + old, want);
    if (got < 0 && errno == EINTR) {
      bytes.resize(old);
      continue;
    }
    if (got < 0) {
      error = System_Error("cannot read", path);
      return false;
    }
    bytes.resize(old + size_t(got));
    if (got == 0) break;
  }
  return true;
}

}  // namespace

bool Read_Whole_File(const std::string& path, uint64_t max_size, std::vector<uint8_t>& bytes,
                     std::string& error) {
  struct stat st;
  int fd = Open_For_Reading(path, st, error);
  if (fd < 0) return false;
  bool ok = true;
  if (uint64_t(st.st_size) > max_size) {
    error = path + " has " + std::to_string(st.st_size) + " bytes, more than the " +
            std::to_string(max_size) + " allowed";
    ok = false;
  } else {
    // One byte more than allowed shows a file that grew while being read.
    uint64_t limit = max_size == UINT64_MAX ? max_size : max_size + 1;
    ok = Read_Up_To(fd, limit, path, bytes, error);
    if (ok && bytes.size() > max_size) {
      error = path + " grew beyond " + std::to_string(max_size) + " bytes while being read";
      ok = false;
    }
  }
  ::close(fd);
  if (!ok) bytes.clear();
  return ok;
}

bool Read_File_Start(const std::string& path, uint64_t count, std::vector<uint8_t>& bytes,
                     std::string& error) {
  struct stat st;
  int fd = Open_For_Reading(path, st, error);
  if (fd < 0) return false;
  bool ok = Read_Up_To(fd, count, path, bytes, error);
  ::close(fd);
  if (!ok) bytes.clear();
  return ok;
}

bool Write_File_Atomic(const std::string& path, std::span<const uint8_t> bytes, std::string& error) {
  return File_Replace(path, bytes, kReplaceModeShared, error);
}
