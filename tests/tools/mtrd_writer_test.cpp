// MTRD videos written by the tools and read back by the player's decoder;
// the step codes of versions 1280 and 1284; kvrtool mtrd make and info.
#include "tools/mtrd_writer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "pictures/mtrd/mtrd_sound.h"
#include "pictures/mtrd/mtrd_video.h"
#include "platform/files/file_layer.h"
#include "platform/headless/null_audio.h"
#include "platform/wendax.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/tool_run.h"
#include "tools/png_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<int16_t> Sine(size_t count, double amplitude, double step) {
  std::vector<int16_t> s(count);
  for (size_t i = 0; i < count; ++i) s[i] = int16_t(std::lround(amplitude * std::sin(double(i) * step)));
  return s;
}

int Largest_Error(const std::vector<int16_t>& want, const uint8_t* pcm) {
  int worst = 0;
  for (size_t i = 0; i < want.size(); ++i)
    worst = std::max(worst, std::abs(int16_t(pcm[2 * i] | pcm[2 * i + 1] << 8) - want[i]));
  return worst;
}

TEST(MtrdCodes, StepCodesFollowTheSamples) {
  const std::vector<int16_t> wave = Sine(2000, 12000, 0.05);
  Bytes pcm(wave.size() * 2);
  const Bytes codes_1280 = Mtrd_Codes_1280(wave.data(), wave.size());
  Mtrd_Sound_Expand_1280(codes_1280.data(), codes_1280.size(), pcm.data());
  EXPECT_LE(Largest_Error(wave, pcm.data()), 128);  // steps of 256, rounded
  const Bytes codes_1284 = Mtrd_Codes_1284(wave.data(), wave.size(), false);
  Mtrd_Sound_Expand_1284(codes_1284.data(), pcm.size(), false, pcm.data());
  EXPECT_LE(Largest_Error(wave, pcm.data()), 200);
  // Stereo: the left half of the codes, then the right, on one running sum.
  std::vector<int16_t> stereo(2000);
  for (size_t i = 0; i < 1000; ++i)
    stereo[2 * i] = int16_t(i * 10), stereo[2 * i + 1] = int16_t(-int(i) * 10);
  const Bytes codes = Mtrd_Codes_1284(stereo.data(), stereo.size(), true);
  Mtrd_Sound_Expand_1284(codes.data(), pcm.size(), true, pcm.data());
  EXPECT_LE(Largest_Error(stereo, pcm.data()), 200);
}

Bytes Frame(int width, int height, int seed) {
  Bytes f(size_t(width) * size_t(height) * 2);
  for (size_t i = 0; i < f.size(); ++i) f[i] = uint8_t((i / 7 + size_t(seed) * 13) % 251);
  return f;
}

// Every version, with sound, back through the player's decoder: the frames
// exactly, the counter 1 .. F then 0, the sound exact where it is PCM.
TEST(MtrdWriter, EveryVersionReadsBack) {
  for (int32_t version = 1280; version <= 1284; ++version) {
    for (int frames : {1, 4}) {
      MtrdVideoContent c;
      c.version = version;
      c.width = 24;
      c.height = 10;
      c.frames_per_second = 10;
      c.pack_method = version % 2 ? 7 : 6;
      for (int k = 0; k < frames; ++k) c.frames.push_back(Frame(24, 10, k));
      c.sample_rate = 8000;
      const std::vector<int16_t> wave = Sine(8000, 9000, 0.02);
      for (int16_t s : wave) c.pcm.push_back(uint8_t(s)), c.pcm.push_back(uint8_t(uint16_t(s) >> 8));
      Bytes bytes;
      std::string error;
      ASSERT_TRUE(Mtrd_Video_Bytes(c, bytes, error)) << error;
      Wendax wx;
      Memory_File_Add(wx, "v.mtd", bytes.data(), bytes.size());
      std::unique_ptr<Video> v = Video_Open(wx, "v.mtd");
      ASSERT_TRUE(v) << version;
      EXPECT_EQ(v->info.sound_bytes_per_frame, 1600) << version;
      for (int k = 0; k < frames; ++k) {
        EXPECT_EQ(Video_Next_Frame(*v), k + 1) << version;
        EXPECT_EQ(Bytes(v->Pixels(), v->Pixels() + c.frames[0].size()), c.frames[size_t(k)])
            << version << " " << k;
        const std::vector<int16_t> block(wave.begin() + 800 * k, wave.begin() + 800 * (k + 1));
        const int error_allowed = version == 1280 ? 128 : version == 1284 ? 200 : 0;
        EXPECT_LE(Largest_Error(block, v->Pcm()), error_allowed) << version << " " << k;
      }
      EXPECT_EQ(Video_Next_Frame(*v), 0) << version;
    }
  }
}

TEST(MtrdWriter, RefusesWhatCannotBeStored) {
  MtrdVideoContent c;
  c.width = 2;
  c.height = 2;
  c.frames = {Bytes(8, 0)};
  std::string error;
  Bytes bytes;
  struct Case {
    const char* what;
    void (*change)(MtrdVideoContent&);
  };
  const Case cases[] = {
      {"version", [](MtrdVideoContent& v) { v.version = 1285; }},
      {"frame size", [](MtrdVideoContent& v) { v.frames.push_back(Bytes(6, 0)); }},
      {"no frames", [](MtrdVideoContent& v) { v.frames.clear(); }},
      {"rate", [](MtrdVideoContent& v) { v.frames_per_second = 0; }},
      {"method", [](MtrdVideoContent& v) { v.pack_method = 3; }},
      {"1280 stereo", [](MtrdVideoContent& v) { v.version = 1280, v.sample_rate = 8000, v.stereo = 1; }},
      {"less than a sample a frame",
       [](MtrdVideoContent& v) { v.sample_rate = 5, v.frames_per_second = 1000; }},
  };
  EXPECT_TRUE(Mtrd_Video_Bytes(c, bytes, error)) << error;
  for (const Case& k : cases) {
    MtrdVideoContent bad = c;
    k.change(bad);
    EXPECT_FALSE(Mtrd_Video_Bytes(bad, bytes, error)) << k.what;
    EXPECT_FALSE(error.empty()) << k.what;
  }
}

void Write_Png(const TempFolder& folder, const std::string& name, int width, int height, uint8_t red) {
  Bytes rgb(size_t(width) * size_t(height) * 3, 0);
  for (size_t i = 0; i < rgb.size(); i += 3) rgb[i] = red;
  Bytes png;
  std::string error;
  ASSERT_TRUE(Png_Encode_Rgb(width, height, rgb, png, error)) << error;
  folder.Write(name, std::string(png.begin(), png.end()));
}

TEST(KvrtoolMtrd, MakeAndInfo) {
  TempFolder folder;
  for (int k = 0; k < 3; ++k)
    Write_Png(folder, "frames/f" + std::to_string(k) + ".png", 32, 16, uint8_t(80 * k));
  const Bytes wav = Wav_Bytes(std::vector<int16_t>(2 * 11025, 500), 11025, 2);
  folder.Write("tone.wav", std::string(wav.begin(), wav.end()));
  ToolRun make = Run_Kvrtool({"mtrd", "make", folder.Path("frames"), "--audio", folder.Path("tone.wav"),
                              "--fps", "5", folder.Path("clip.mtd")});
  ASSERT_EQ(make.status, 0) << make.err;
  EXPECT_EQ(make.out, "wrote " + folder.Path("clip.mtd") +
                          ": MTRD video 1283, 32 x 16, 3 frames at 5 a second, sound 11025 Hz\n");
  ToolRun info = Run_Kvrtool({"mtrd", "info", folder.Path("clip.mtd")});
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out, folder.Path("clip.mtd") +
                          ": MTRD video, version 1283\nname: video\nsize: 32 x 16, depth 16, pack method 6\n"
                          "frames: 3 (3 decoded), 5 a second\n"
                          "sound: 11025 Hz, 16 bits, stereo, pack method 3, 8820 bytes a frame\n");

  Write_Png(folder, "frames/f3.png", 16, 16, 0);
  ToolRun mixed = Run_Kvrtool({"mtrd", "make", folder.Path("frames"), folder.Path("bad.mtd")});
  EXPECT_EQ(mixed.status, 1);
  EXPECT_NE(mixed.err.find("the first frame 32 x 16"), std::string::npos) << mixed.err;
  ToolRun no_video = Run_Kvrtool({"mtrd", "info", folder.Path("tone.wav")});
  EXPECT_EQ(no_video.status, 1);
  ToolRun bad_version = Run_Kvrtool({"mtrd", "make", folder.Path("frames"), "--version", "1279", "x.mtd"});
  EXPECT_EQ(bad_version.status, 1);
  EXPECT_NE(bad_version.err.find("--version takes 1280 to 1284"), std::string::npos) << bad_version.err;
}

}  // namespace
