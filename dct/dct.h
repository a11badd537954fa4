// libdct.so: unpacks the compressed panoramas, still pictures and animation
// blocks of panorama files. The compressed data are baseline JPEG streams
// (dct/README.md gives the format, the block arrangement and dct_param).
//
// Pixel formats written:
//   Rgb_15_16  16-bit RGB555: red bits 10-14, green 5-9, blue 0-4, bit 15 = 0
//   Rgb_16_16  16-bit RGB565: red bits 11-15, green 5-10, blue 0-4
//   Rgb_32     4 bytes a pixel: blue, green, red, 0
// Each channel keeps the top bits of the decoded 8-bit value.
//
// No function reports an error, and none writes outside its destination.
// A picture unpacker always writes every pixel of its picture: a stream that
// is not a baseline JPEG of exactly the picture's size gives black, and a
// stream that fails part-way keeps the rows decoded before the fault and
// blackens the rest. A block unpacker changes nothing unless the whole frame
// decodes (see Unpack_Bloc_Rgb_16).
//
// The `param` argument is the dct_param stored beside the data; the decoder
// does not need it (dct/README.md).
#pragma once

#define DCT_API __attribute__((visibility("default")))

// Animation blocks: squares of DCT_BLOCK_SIZE pixels, numbered row by row
// over the target (16 a row at width 256, 40 at width 640).
inline constexpr int DCT_BLOCK_SIZE = 16;
// Blocks a row in the packed picture of a frame.
inline constexpr int DCT_PACKED_COLUMNS = 16;

// The unpackers of animation frames. The object holds nothing; a fresh one
// serves each call.
class DCT_API DCT {
 public:
  DCT();
  ~DCT();

  // Replaces the listed blocks of the picture `dest`, whose width is 256
  // (256 x 6144 pixels) or 640 (640 x 480), with the `count` blocks packed
  // in `data`. Every other pixel keeps its value. depth 15 writes RGB555,
  // any other depth RGB565. Nothing is written for another width, a count
  // not in 1 .. blocks of the picture, data that are not a baseline JPEG of
  // the packed size for `count`, or a stream that fails to decode; a block
  // number outside the picture is skipped. Where a number repeats, the later
  // block wins.
  void Unpack_Bloc_Rgb_16(unsigned short* dest, int* blocks, int count, int width, unsigned char* data,
                          int size, int param, int depth);
  // The same on 4-byte pixels.
  void Unpack_Bloc_Rgb_32_2(unsigned char* dest, int* blocks, int count, int width, unsigned char* data,
                            int size, int param);
};

// Whole pictures: 256 x 6144 (the panorama strip) or 640 x 480, rows top to
// bottom, rows of 256 or 640 pixels.
DCT_API void Unpack_Picture_Rgb_15_16_256_6144(unsigned short* dest, unsigned char* data, int size,
                                               int param);
DCT_API void Unpack_Picture_Rgb_16_16_256_6144(unsigned short* dest, unsigned char* data, int size,
                                               int param);
DCT_API void Unpack_Picture_Rgb_15_16_640_480(unsigned short* dest, unsigned char* data, int size, int param);
DCT_API void Unpack_Picture_Rgb_16_16_640_480(unsigned short* dest, unsigned char* data, int size, int param);
DCT_API void Unpack_Picture_Rgb_32_256_6144(unsigned char* dest, unsigned char* data, int size, int param);
DCT_API void Unpack_Picture_Rgb_32_640_480(unsigned char* dest, unsigned char* data, int size, int param);
