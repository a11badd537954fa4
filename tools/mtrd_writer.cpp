#include "tools/mtrd_writer.h"

#include <algorithm>
#include <cstdlib>

#include "packing/packing_encode.h"
#include "pictures/mtrd/mtrd_format.h"
#include "pictures/mtrd/mtrd_sound.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

void Chunk(Bytes& out, const char (&tag)[5], const Bytes& payload) {
  out.insert(out.end(), tag, tag + 4);
  Put32(out, uint32_t(payload.size() + 8));
  out.insert(out.end(), payload.begin(), payload.end());
}

void Int_Chunk(Bytes& out, const char (&tag)[5], int32_t value) {
  Bytes payload;
  Put32(payload, uint32_t(value));
  Chunk(out, tag, payload);
}

// The 16-bit samples of a little-endian byte block.
std::vector<int16_t> Samples_Of(const uint8_t* bytes, size_t size) {
  std::vector<int16_t> s(size / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = int16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return s;
}

// One block's stored bytes: PCM, or the codes of the coded versions.
Bytes Sound_Block(const MtrdVideoContent& c, const Bytes& pcm) {
  if (c.version == 1280) {
    const std::vector<int16_t> s = Samples_Of(pcm.data(), pcm.size());
    return Mtrd_Codes_1280(s.data(), s.size());
  }
  if (c.version == 1284 && c.bits == 16) {
    const std::vector<int16_t> s = Samples_Of(pcm.data(), pcm.size());
    return Mtrd_Codes_1284(s.data(), s.size(), c.stereo != 0);
  }
  return pcm;
}

bool Check(const MtrdVideoContent& c, std::string& error) {
  const size_t frame_bytes = size_t(std::max(c.width, 0)) * size_t(std::max(c.height, 0)) * 2;
  if (c.version < kMtrdVersionFirst || c.version > kMtrdVersionLast)
    error = "the version must be 1280 to 1284";
  else if (c.width < 1 || c.height < 1 || frame_bytes > kPictureBytesMax)
    error = "the frames must be 1 pixel at least and at most 256 MiB";
  else if (c.frames.empty())
    error = "a video needs one frame at least";
  else if (std::any_of(c.frames.begin(), c.frames.end(),
                       [&](const Bytes& f) { return f.size() != frame_bytes; }))
    error = "every frame must be width x height RGB565 words";
  else if (c.frames_per_second < 1 || c.frames_per_second > kMtrdFramesPerSecondMax)
    error = "the frame rate must be 1 to 1000";
  else if (c.pack_method != 6 && c.pack_method != 7)
    error = "frames are packed with method 6 or 7";
  else if (c.sample_rate < 0 || (c.sample_rate > 0 && ((c.bits != 8 && c.bits != 16) || (c.stereo & ~1))))
    error = "the sound must be 8 or 16 bits, mono or stereo";
  else if (c.sample_rate > 0 && c.version == 1280 && (c.bits != 16 || c.stereo != 0))
    error = "version 1280 stores 16-bit mono sound only";
  else
    return true;
  return false;
}

}  // namespace

std::vector<uint8_t> Mtrd_Codes_1280(const int16_t* samples, size_t count) {
  // Each code is a step of code x 256 from the sample before (from 0 for the
  // first), rounded to the nearest step.
  Bytes codes(count);
  int32_t previous = 0;
  for (size_t i = 0; i < count; ++i) {
    const int32_t code = std::clamp((int32_t(samples[i]) - previous + 128) >> 8, -128, 127);
    codes[i] = uint8_t(code);
    previous = int16_t(uint16_t(previous + code * 256));
  }
  return codes;
}

std::vector<uint8_t> Mtrd_Codes_1284(const int16_t* samples, size_t count, bool stereo) {
  Bytes codes(count);
  // The order of the sum: every left sample, then every right one.
  std::vector<size_t> order;
  const size_t frames = stereo ? count / 2 : count;
  for (size_t i = 0; i < frames; ++i) order.push_back(stereo ? 2 * i : i);
  if (stereo)
    for (size_t i = 0; i < frames; ++i) order.push_back(2 * i + 1);
  int32_t sum = 0;
  for (size_t n = 0; n < order.size(); ++n) {
    const int32_t target = samples[order[n]];
    int best = 128;
    for (int code = 0; code < 256; ++code) {
      const int32_t next = sum + kMtrdSoundCodes[size_t(code)];
      if (next < -32768 || next > 32767) continue;  // a wrap would be a click
      if (std::abs(next - target) < std::abs(sum + kMtrdSoundCodes[size_t(best)] - target)) best = code;
    }
    codes[n] = uint8_t(best);
    sum = int16_t(uint16_t(sum + kMtrdSoundCodes[size_t(best)]));
  }
  return codes;
}

bool Mtrd_Video_Bytes(const MtrdVideoContent& c, std::vector<uint8_t>& out, std::string& error) {
  out.clear();
  if (!Check(c, error)) return false;
  const int32_t frame_count = int32_t(c.frames.size());
  MtrdSound sound;
  sound.frames_per_second = c.frames_per_second;
  sound.sample_rate = c.sample_rate;
  sound.bits = c.bits;
  sound.stereo = c.stereo;
  sound.pack_method = 3;
  int64_t block = 0;
  if (c.sample_rate > 0) {
    // Version 1284 stores the block size itself: one frame's sound.
    sound.size = int32_t(((int64_t(c.sample_rate) << c.stereo) * c.bits / 8) / c.frames_per_second);
    block = Mtrd_Sound_Bytes_Per_Frame(c.version, sound);
    if (block < 1 || block > kMtrdSoundBytesMax) {
      error = "the sound gives no whole block a frame at this frame rate";
      return false;
    }
  }
  const Bytes blank(c.frames[0].size(), 0);
  const Bytes pict = Pack(c.pack_method, c.frames[0].data(), c.frames[0].size(), blank.data());

  Bytes body;
  Int_Chunk(body, "VERS", c.version);
  if (c.version <= 1281) {
    Bytes head(kMtrdHeadNameBytes, 0);
    const char name[] = "video";
    std::copy(name, name + 5, head.begin());
    for (int32_t v :
         {c.version, c.width, c.height, int32_t(16), c.pack_method, int32_t(pict.size()), frame_count})
      Put32(head, uint32_t(v));
    Chunk(body, "HEAD", head);
  } else {
    Bytes name(kMtrdNameBytes, 0);
    std::copy_n("video", 5, name.begin());
    Chunk(body, "NAME", name);
    Int_Chunk(body, "SIZX", c.width);
    Int_Chunk(body, "SIZY", c.height);
    Int_Chunk(body, "BITP", 16);
    Int_Chunk(body, "PACK", c.pack_method);
    Int_Chunk(body, "SIZE", int32_t(pict.size()));
    Int_Chunk(body, "NBFR", frame_count);
  }
  Chunk(body, "PALE", Bytes(768, 0));
  if (c.version <= 1282) {
    Bytes anih;
    for (int32_t v : {c.frames_per_second, c.sample_rate, c.bits, c.stereo, sound.pack_method})
      Put32(anih, uint32_t(v));
    Chunk(body, "ANIH", anih);
  } else {
    Int_Chunk(body, "FSEC", c.frames_per_second);
    Int_Chunk(body, "SFRE", c.sample_rate);
    if (c.sample_rate > 0) {
      if (c.version == 1284) Int_Chunk(body, "SSIZ", sound.size);
      Int_Chunk(body, "SBIT", c.bits);
      Int_Chunk(body, "STER", c.stereo);
      Int_Chunk(body, "SCRU", sound.pack_method);
    }
  }
  Chunk(body, "PICT", pict);
  const uint8_t silence = c.bits == 8 ? 0x80 : 0x00;
  for (int32_t k = 0; k < frame_count; ++k) {
    if (block > 0) {
      Bytes pcm(size_t(block), silence);
      const size_t from = size_t(k) * size_t(block);
      if (from < c.pcm.size())
        std::copy_n(c.pcm.begin() + std::ptrdiff_t(from), std::min(size_t(block), c.pcm.size() - from),
                    pcm.begin());
      const Bytes stored = Sound_Block(c, pcm);
      Chunk(body, "SAMP", Pack(3, stored.data(), stored.size()));
    }
    const Bytes& previous = c.frames[size_t(k)];
    const Bytes& next = c.frames[size_t(std::min(k + 1, frame_count - 1))];
    Chunk(body, "ANIM", Pack(c.pack_method, next.data(), next.size(), previous.data()));
  }
  if (body.size() + 8 > size_t(INT32_MAX)) {
    error = "the video would be larger than 2 GiB";
    return false;
  }
  Chunk(out, "MTRD", body);
  return true;
}
