// kvrtool movie make: PNG frames and a WAV file into a movie the engine's
// movie library plays back, pixel for pixel and sample for sample.
#include <gtest/gtest.h>

#include "platform/headless/null_audio.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/tool_run.h"
#include "tools/png_file.h"
#include "zqm/zqm.h"

namespace {

TEST(KvrtoolMovie, MakeGivesAMovieThatPlaysBack) {
  TempFolder folder;
  for (int k = 0; k < 2; ++k) {
    std::vector<uint8_t> rgb(20 * 10 * 3, uint8_t(k ? 0xF8 : 0x00)), png;
    std::string error;
    ASSERT_TRUE(Png_Encode_Rgb(20, 10, rgb, png, error)) << error;
    folder.Write("frames/" + std::to_string(k) + ".png", std::string(png.begin(), png.end()));
  }
  const std::vector<uint8_t> wav = Wav_Bytes(std::vector<int16_t>(8000, 1234), 16000, 1);
  folder.Write("in.wav", std::string(wav.begin(), wav.end()));
  const ToolRun run = Run_Kvrtool({"movie", "make", folder.Path("frames"), "--audio", folder.Path("in.wav"),
                                   "--fps", "4", folder.Path("m.zqm")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote " + folder.Path("m.zqm") +
                         ": ZQM movie, 20 x 10, 2 frames at 4 a second, sound 16000 Hz mono\n");

  int64_t now = 0;
  ZQMovie* movie = Zqm_New([&] { return now; });
  ZQM_OPEN_OPTIONS options;
  ASSERT_EQ(movie->Open_File(folder.Path("m.zqm").c_str(), options), 0);
  EXPECT_EQ(movie->Stream_Count(ZQM_STREAM_AUDIO), 1);
  movie->Enable_Stream(0, ZQM_STREAM_AUDIO);
  std::vector<uint16_t> pixels(20 * 10);
  EXPECT_TRUE(movie->Draw_Frame(0, 0, 0, 20, 10, 40, pixels.data(), ZQM_FORMAT_565));
  EXPECT_EQ(pixels[0], 0x0000);
  now = 250;
  EXPECT_TRUE(movie->Draw_Frame(0, 0, 0, 20, 10, 40, pixels.data(), ZQM_FORMAT_565));
  EXPECT_EQ(pixels[199], 0xFFDF);  // 0xF8 grey: 31, 62, 31
  ASSERT_GT(movie->Audio_Available(0), 2);
  int16_t sample = 0;
  movie->Audio_Fill(0, &sample, 2, nullptr, 0);
  EXPECT_EQ(sample, 1234);
  Zqm_Delete(movie);

  const ToolRun bad =
      Run_Kvrtool({"movie", "make", folder.Path("frames"), "--fps", "0", folder.Path("x.zqm")});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("--fps takes 1 to 1000"), std::string::npos);
}

}  // namespace
