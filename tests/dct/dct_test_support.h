// Pictures, guarded destinations and reference streams for the dct tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dct_test {

// `count` elements set to `fill`, between two guard zones that nothing may
// write.
template <typename T>
class Guarded {
 public:
  Guarded(size_t count, T fill) : all_(count + 2 * kGuard, fill), count_(count) {
    for (size_t i = 0; i < kGuard; ++i) {
      all_[i] = Guard_Value(i);
      all_[kGuard + count + i] = Guard_Value(i);
    }
  }
  T* data() { return all_.data() + kGuard; }
  const T* data() const { return all_.data() + kGuard; }
  size_t size() const { return count_; }
  T& operator[](size_t i) { return data()[i]; }
  const T& operator[](size_t i) const { return data()[i]; }
  std::vector<T> Inside() const { return std::vector<T>(data(), data() + count_); }
  bool Guards_Intact() const {
    for (size_t i = 0; i < kGuard; ++i)
      if (all_[i] != Guard_Value(i) || all_[kGuard + count_ + i] != Guard_Value(i)) return false;
    return true;
  }

 private:
  static constexpr size_t kGuard = 8192;
  static T Guard_Value(size_t i) { return static_cast<T>(0xA5u + 37u * i); }
  std::vector<T> all_;
  size_t count_;
};

// Pictures of 4-byte pixels: blue, green, red, 0.
using Pixels32 = std::vector<unsigned char>;

// Soft colour waves that differ with `seed`: JPEG keeps them well.
Pixels32 Smooth_Picture(int width, int height, int seed);
Pixels32 Uniform_Picture(int width, int height, uint8_t b, uint8_t g, uint8_t r);

// Dct_Encode_Picture, which must succeed.
std::vector<unsigned char> Encode(const Pixels32& pixels, int width, int height, int quality);

// Largest and mean difference of the blue, green and red bytes.
struct Difference {
  int max = 0;
  double mean = 0;
};
Difference Compare_32(const unsigned char* decoded, const unsigned char* source, size_t pixels);

// Channels back from the 16-bit formats, each value's top bits in place
// (a 5-bit level v gives v << 3).
struct Bgr {
  int b, g, r;
};
Bgr From_565(uint16_t p);
Bgr From_555(uint16_t p);
uint16_t To_565(const unsigned char* bgr0);
uint16_t To_555(const unsigned char* bgr0);

// Streams our encoder never writes, made with libjpeg directly.
enum class StreamKind { kBaseline, kProgressive, kGrey, kArithmetic };
std::vector<unsigned char> Libjpeg_Encode(const Pixels32& pixels, int width, int height, StreamKind kind,
                                          int quality);

}  // namespace dct_test
