// The input of the panorama-file fuzz targets as a file the loaders open by
// path: a memory file named through /proc/self/fd.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzSceneFile {
 public:
  FuzzSceneFile(const uint8_t* bytes, size_t size) : fd_(memfd_create("fuzz_scene", 0)) {
    if (fd_ >= 0 && write(fd_, bytes, size) != static_cast<ssize_t>(size)) {
      close(fd_);
      fd_ = -1;
    }
  }
  ~FuzzSceneFile() {
    if (fd_ >= 0) close(fd_);
  }
  FuzzSceneFile(const FuzzSceneFile&) = delete;
  FuzzSceneFile& operator=(const FuzzSceneFile&) = delete;
  bool Ok() const { return fd_ >= 0; }
  std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};
