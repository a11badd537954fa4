#include "platform/wendax.h"

#include <cstdio>

namespace {

void Fatal_To_Stderr(std::string_view text, std::string_view caption) {
  std::fprintf(stderr, "%.*s: %.*s\n", int(caption.size()), caption.data(), int(text.size()), text.data());
  std::fflush(stderr);
}

}  // namespace

Wendax::Wendax() : fatal_message(Fatal_To_Stderr) {}
Wendax::~Wendax() = default;
