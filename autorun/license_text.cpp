#include "autorun/license_text.h"

#include <cstdio>
#include <cstring>

std::optional<std::string> License_Text_Read(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::string text;
  char block[1024];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
    const void* zero = std::memchr(block, 0, got);
    text.append(block, zero ? static_cast<const char*>(zero) - block : got);
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return text;
}
