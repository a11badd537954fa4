// Decodes the fuzz input as a stream of packing method KVR_FUZZ_METHOD into
// an output of exactly the announced size (see fuzz_unpack_input.h), so that
// AddressSanitizer sees any read or write outside the input, the history or
// the output. Traps when the result claims more than it may.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_unpack_input.h"
#include "packing/packing.h"

#ifndef KVR_FUZZ_METHOD
#error "define KVR_FUZZ_METHOD (1..7)"
#endif

namespace {

constexpr int kMethod = KVR_FUZZ_METHOD;
static_assert(kMethod >= 1 && kMethod <= kPackMethodMax);

// Methods 1 and 4 copy nothing, so they take no history.
constexpr bool kTakesHistory = kMethod != 1 && kMethod != 4;

constexpr size_t kHistoryMax = 65536;
constexpr size_t kOutputMax = 65535;

// The largest history and previous output, computed once: a history of h
// bytes is the last h bytes of the largest one, a previous output of n bytes
// the first n.
struct Patterns {
  std::vector<uint8_t> history, previous;
  Patterns() : history(kHistoryMax), previous(kOutputMax) {
    for (size_t i = 0; i < kHistoryMax; ++i) history[i] = FuzzHistoryByte(i, kHistoryMax);
    for (size_t i = 0; i < kOutputMax; ++i) previous[i] = FuzzPreviousByte(i);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kFuzzHeaderSize) return 0;
  const size_t out_size = size_t{data[0]} | size_t{data[1]} << 8;
  const size_t history = kTakesHistory ? FuzzHistorySize(data[2]) : 0;
  // libFuzzer's own copy of the input ends exactly at data + size.
  const uint8_t* in = data + kFuzzHeaderSize;
  const size_t in_size = size - kFuzzHeaderSize;

  // History and output in one exactly sized heap block.
  static const Patterns patterns;
  std::vector<uint8_t> buffer(history + out_size);
  std::copy(patterns.history.end() - ptrdiff_t(history), patterns.history.end(), buffer.begin());
  uint8_t* out = buffer.data() + history;
  std::copy_n(patterns.previous.begin(), out_size, out);

  const UnpackResult r = Unpack(kMethod, in, in_size, out, out_size, history);

  if (r.read > in_size || r.written > out_size) __builtin_trap();
  if (r.status == UnpackStatus::kBadMethod) __builtin_trap();
  if (r.ok() != (r.written == out_size) && !(kMethod == 1 && out_size == 0)) __builtin_trap();
  // Readers refuse sizes above this bound before allocating: a stream that
  // decodes fully must stay within it.
  if (r.ok() && out_size > Unpack_Max_Output(kMethod, in_size)) __builtin_trap();
  return 0;
}
