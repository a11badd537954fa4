// Atomic file replacement: the bytes go to a temporary file in the target's
// folder, are written in full and synced, and the temporary file is renamed
// over the target. Readers see the old file or the new one, never a part;
// a crash leaves at most a stray temporary file (".NAME-XXXXXX"). On any
// failure the target is untouched and the temporary file removed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Permission bits of a file the replacement creates; an existing target
// keeps its own. The process's umask applies to both values.
inline constexpr unsigned kReplaceModeShared = 0666;
inline constexpr unsigned kReplaceModePrivate = 0600;

// Replaces (or creates) `path` with `bytes`. False with a message naming
// the path and the system's reason in `error`.
bool File_Replace(const std::string& path, std::span<const uint8_t> bytes, unsigned new_mode,
                  std::string& error);
bool File_Replace(const std::string& path, std::string_view text, unsigned new_mode, std::string& error);

// Writes all of `bytes` to the descriptor, retrying interrupted and short
// writes. False (errno set) when the descriptor takes no more.
bool Write_All(int fd, std::span<const uint8_t> bytes);
