#include "platform/files/memory.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/files/text.h"
#include "platform/wendax.h"

std::string Fatal_Text(uint32_t value) { return std::string(kFatalPrefix) + Int_To_Hex8(value); }

void Fatal_Error(Wendax& wx, uint32_t value) {
  std::string text = Fatal_Text(value);
  if (wx.fatal_message) wx.fatal_message(text, kFatalCaption);
  std::_Exit(kFatalExitStatus);
}

void* Mem_Alloc(Wendax& wx, size_t size) {
  void* block = size ? std::malloc(size) : nullptr;
  if (!block) Fatal_Error(wx, 0);
  return block;
}

void* Mem_Calloc(Wendax& wx, size_t size) {
  void* block = Mem_Alloc(wx, size);
  std::memset(block, 0, size);
  return block;
}

void* Mem_Realloc(Wendax& wx, void* block, size_t size) {
  void* grown = size ? std::realloc(block, size) : nullptr;
  if (!grown) Fatal_Error(wx, 0);
  return grown;
}

void Mem_Free(void* block) { std::free(block); }

namespace {
size_t Pool_Bytes(Wendax& wx, size_t block_size, size_t block_count) {
  if (block_count && block_size > SIZE_MAX / block_count) Fatal_Error(wx, 0);
  size_t bytes = block_size * block_count;
  return bytes ? bytes : 1;  // an empty pool still owns a block to free
}
}  // namespace

Pool::Pool(Wendax& wx, size_t block_size, size_t block_count)
    : block_size_(block_size),
      storage_(static_cast<unsigned char*>(Mem_Alloc(wx, Pool_Bytes(wx, block_size, block_count)))),
      available_(block_count) {
  blocks_.reserve(block_count);
  for (size_t i = 0; i < block_count; ++i) blocks_.push_back(storage_ + i * block_size);
}

Pool::~Pool() { Mem_Free(storage_); }

void* Pool::Take() {
  if (available_ == 0) return nullptr;
  unsigned char* block = blocks_[--available_];
  std::memset(block, 0, block_size_);
  return block;
}
