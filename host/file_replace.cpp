#include "host/file_replace.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string System_Error(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

std::string Folder_Of(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string Name_Of(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t Mode_For(const std::string& path, unsigned new_mode) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mode_t(new_mode) & ~mask;
}

// The rename is made durable by syncing the folder; a folder that cannot be
// opened or synced (some file systems refuse) does not undo the replacement.
void Sync_Folder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool Write_All(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put == 0) errno = EIO;
    if (put <= 0) return false;
    done += size_t(put);
  }
  return true;
}

bool File_Replace(const std::string& path, std::span<const uint8_t> bytes, unsigned new_mode,
                  std::string& error) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    error = "cannot write " + path + ": it is a folder";
    return false;
  }
  const std::string folder = Folder_Of(path);
  std::string temporary = folder + "/." + Name_Of(path) + "-XXXXXX";
  int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    error = System_Error("cannot create a temporary file for", path);
    return false;
  }
  bool ok = Write_All(fd, bytes) && ::fchmod(fd, Mode_For(path, new_mode)) == 0 && ::fsync(fd) == 0;
  if (!ok) error = System_Error("cannot write", path);
  if (::close(fd) != 0 && ok) {
    error = System_Error("cannot write", path);
    ok = false;
  }
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
    error = System_Error("cannot replace", path);
    ok = false;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  Sync_Folder(folder);
  return true;
}

bool File_Replace(const std::string& path, std::string_view text, unsigned new_mode, std::string& error) {
  return File_Replace(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), new_mode,
                      error);
}
