// Memory allocation with its fatal error, and a block pool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct Wendax;

// Caption and text of the fatal allocation error.
inline constexpr std::string_view kFatalCaption = "Tarkel Wendax";
inline constexpr std::string_view kFatalPrefix = "Crash adress:";
// The process ends with this status after a fatal error: a failure is never
// reported as success.
inline constexpr int kFatalExitStatus = 1;

// "Crash adress:" followed by the value as 8 upper-case hexadecimal digits.
std::string Fatal_Text(uint32_t value);
// Shows the fatal text under "Tarkel Wendax" and ends the process.
[[noreturn]] void Fatal_Error(Wendax& wx, uint32_t value);

// A request for 0 bytes and an allocation failure are fatal; never null.
void* Mem_Alloc(Wendax& wx, size_t size);
void* Mem_Calloc(Wendax& wx, size_t size);
// Grows or shrinks a block; a failure (or a size of 0) is fatal as well,
// so the old block is never lost behind a null result.
void* Mem_Realloc(Wendax& wx, void* block, size_t size);
void Mem_Free(void* block);

// Fixed-size blocks from one allocation. Blocks are handed out zero-filled
// from the last one down and are only given back all at once.
class Pool {
 public:
  Pool(Wendax& wx, size_t block_size, size_t block_count);
  ~Pool();
  Pool(const Pool&) = delete;
  Pool& operator=(const Pool&) = delete;

  // A zero-filled block, or null when none is left.
  void* Take();
  size_t Available() const { return available_; }

 private:
  size_t block_size_;
  unsigned char* storage_;
  std::vector<unsigned char*> blocks_;
  size_t available_;
};
