// WAVE files: chunk search, headers, whole samples, and files that lie.
#include <gtest/gtest.h>

#include "platform/files/file_layer.h"
#include "platform/sound/sound_output.h"
#include "platform/sound/wav_file.h"
#include "tests/platform/sound/sound_test_support.h"

namespace {

std::string Fmt(uint16_t channels = 1, uint32_t rate = 22050, uint16_t bits = 16) {
  return Chunk("fmt ", Fmt_Payload(1, channels, rate, bits));
}

std::string Data(std::string_view bytes) { return Chunk("data", bytes); }

class WavFile : public ::testing::Test {
 protected:
  void Add(std::string_view name, std::string_view bytes) {
    Memory_File_Add(wx, name, bytes.data(), bytes.size());
  }
  Wendax wx;
};

TEST_F(WavFile, ReadsHeaderAndDataOfAPlainFile) {
  std::string pcm = Pcm16({1, -2, 3, -4});
  Add("sounds/plain_tone_file.wav", Riff("WAVE", Fmt(2, 22050, 16) + Data(pcm)));

  std::optional<Wav_Info> info = Wav_Read_Info(wx, "sounds/plain_tone_file.wav");
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(std::string(info->form_type.begin(), info->form_type.end()), "WAVE");
  EXPECT_EQ(info->format_tag, 1);
  EXPECT_EQ(info->channels, 2);
  EXPECT_EQ(info->rate, 22050u);
  EXPECT_EQ(info->bytes_per_second, 88200u);
  EXPECT_EQ(info->block_align, 4);
  EXPECT_EQ(info->bits, 16);
  EXPECT_EQ(info->data_size, 8u);
  EXPECT_EQ(info->data_offset, 44);

  std::optional<Sample> sample = Wav_Load(wx, "sounds/plain_tone_file.wav");
  ASSERT_TRUE(sample.has_value());
  EXPECT_EQ(sample->name, "sounds/plain_to");  // the first 15 characters of the path
  EXPECT_EQ(sample->rate, 22050);
  EXPECT_EQ(sample->bits, 16);
  EXPECT_EQ(sample->stereo, 1);
  EXPECT_EQ(std::string(sample->data.begin(), sample->data.end()), pcm);
}

TEST_F(WavFile, FormatChunkAfterTheDataChunkIsFound) {
  std::string pcm = Pcm16({7, 8, 9});
  Add("late.wav", Riff("WAVE", Data(pcm) + Fmt(1, 11025, 16)));
  std::optional<Wav_Info> info = Wav_Read_Info(wx, "late.wav");
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->rate, 11025u);
  EXPECT_EQ(info->data_offset, 20);
  EXPECT_EQ(info->data_size, 6u);
  std::optional<Sample> sample = Wav_Load(wx, "late.wav");
  ASSERT_TRUE(sample.has_value());
  EXPECT_EQ(sample->stereo, 0);
  EXPECT_EQ(std::string(sample->data.begin(), sample->data.end()), pcm);
}

TEST_F(WavFile, OtherChunksAreSteppedOverWithoutPadBytes) {
  // An odd-sized chunk is followed directly by the next header.
  Add("list.wav",
      Riff("WAVE", Chunk("LIST", "abc") + Fmt(1, 8000, 8) + Chunk("junk", "12345") + Data("\x80\x90")));
  std::optional<Sample> sample = Wav_Load(wx, "list.wav");
  ASSERT_TRUE(sample.has_value());
  EXPECT_EQ(sample->rate, 8000);
  EXPECT_EQ(sample->bits, 8);
  EXPECT_EQ(std::string(sample->data.begin(), sample->data.end()), "\x80\x90");
}

TEST_F(WavFile, FormTypeMustBeWaveAndTagsIgnoreCase) {
  Add("avi.wav", Riff("AVI ", Fmt() + Data("ab")));
  EXPECT_FALSE(Wav_Read_Info(wx, "avi.wav").has_value());
  EXPECT_FALSE(Wav_Load(wx, "avi.wav").has_value());
  Add("lower.wav",
      "riff" + Le32(4 + 24 + 10) + "wave" + Chunk("FMT ", Fmt_Payload(1, 1, 8000, 8)) + Chunk("DATA", "ab"));
  EXPECT_TRUE(Wav_Load(wx, "lower.wav").has_value());
}

TEST_F(WavFile, FormatTagIsNotChecked) {
  Add("adpcm.wav", Riff("WAVE", Chunk("fmt ", Fmt_Payload(2, 1, 8000, 16)) + Data("abcd")));
  std::optional<Sample> sample = Wav_Load(wx, "adpcm.wav");
  ASSERT_TRUE(sample.has_value());
  EXPECT_EQ(sample->data.size(), 4u);
}

TEST_F(WavFile, MissingPartsGiveNothing) {
  Add("no_fmt.wav", Riff("WAVE", Data("ab")));
  Add("no_data.wav", Riff("WAVE", Fmt()));
  Add("empty.wav", "");
  Add("riff_only.wav", Riff("WAVE", ""));
  Add("not_riff.wav", Chunk("RIFX", "WAVE" + Fmt() + Data("ab")));
  Add("zero_chunk.wav", Riff("WAVE", Chunk("zero", "") + Fmt() + Data("ab")));
  for (const char* name : {"no_fmt.wav", "no_data.wav", "empty.wav", "riff_only.wav", "not_riff.wav",
                           "zero_chunk.wav", "missing.wav"}) {
    EXPECT_FALSE(Wav_Read_Info(wx, name).has_value()) << name;
    EXPECT_FALSE(Wav_Load(wx, name).has_value()) << name;
  }
}

TEST_F(WavFile, TruncatedAndHostileFilesAreRefusedOrCut) {
  std::string good = Riff("WAVE", Fmt() + Data(Pcm16({1, 2, 3, 4})));
  // Cut anywhere, the RIFF size promises more than the file holds.
  for (size_t length : {size_t(3), size_t(11), size_t(20), size_t(30), size_t(43), good.size() - 1}) {
    Add("cut.wav", good.substr(0, length));
    EXPECT_FALSE(Wav_Load(wx, "cut.wav").has_value()) << length;
    Memory_File_Drop(wx, "cut.wav");
  }
  // A "fmt " chunk too short for its fields.
  Add("short_fmt.wav", Riff("WAVE", Chunk("fmt ", Fmt_Payload(1, 1, 8000, 8).substr(0, 14)) + Data("ab")));
  EXPECT_FALSE(Wav_Read_Info(wx, "short_fmt.wav").has_value());
  // A data chunk that claims more than the file holds is cut at the end.
  Add("long_data.wav", Riff("WAVE", Fmt() + Chunk_Sized("data", 0x7FFFFFF0, "abcdef")));
  std::optional<Wav_Info> info = Wav_Read_Info(wx, "long_data.wav");
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->data_size, 6u);
  std::optional<Sample> sample = Wav_Load(wx, "long_data.wav");
  ASSERT_TRUE(sample.has_value());
  EXPECT_EQ(std::string(sample->data.begin(), sample->data.end()), "abcdef");
  // A chunk size that steps past the end of the file, and one of 4 GB - 1.
  Add("huge_step.wav", Riff("WAVE", Chunk_Sized("junk", 0xFFFFFFFF, "") + Fmt() + Data("ab")));
  EXPECT_FALSE(Wav_Load(wx, "huge_step.wav").has_value());
  Add("past_end.wav", Riff("WAVE", Chunk_Sized("junk", 1000, "") + Fmt() + Data("ab")));
  EXPECT_FALSE(Wav_Load(wx, "past_end.wav").has_value());
  // A rate beyond any real one loads, and is refused when played.
  Add("fast.wav", Riff("WAVE", Fmt(1, 0xFFFFFFFF, 16) + Data("abcd")));
  sample = Wav_Load(wx, "fast.wav");
  ASSERT_TRUE(sample.has_value());
  EXPECT_EQ(sample->rate, INT32_MAX);
  SoundRig rig;
  EXPECT_EQ(Sound_Play(rig.wx, &*sample, 255, 0, 0), -1);
}

TEST_F(WavFile, EmptyDataLoadsButCannotBePlayed) {
  Add("silent.wav", Riff("WAVE", Fmt() + Chunk("data", "")));
  std::optional<Sample> sample = Wav_Load(wx, "silent.wav");
  ASSERT_TRUE(sample.has_value());
  EXPECT_TRUE(sample->data.empty());
  SoundRig rig;
  EXPECT_EQ(Sound_Play(rig.wx, &*sample, 255, 0, 0), -1);
}

TEST_F(WavFile, FindChunkReportsTheChunksExtent) {
  std::string bytes = Riff("WAVE", Chunk("LIST", "abc") + Fmt() + Data("abcd"));
  Add("find.wav", bytes);
  int64_t start = 12, end = int64_t(bytes.size());
  ASSERT_TRUE(Wav_Find_Chunk(wx, "find.wav", "FMT ", &start, &end));
  EXPECT_EQ(start, 23);  // after the 11 bytes of LIST
  EXPECT_EQ(end, 23 + 24);
  start = 12;
  end = int64_t(bytes.size());
  ASSERT_TRUE(Wav_Find_Chunk(wx, "find.wav", "data", &start, &end));
  EXPECT_EQ(start, 47);
  EXPECT_EQ(end, 47 + 12);
  start = 0;
  end = int64_t(bytes.size());
  ASSERT_TRUE(Wav_Find_Chunk(wx, "find.wav", "riff", &start, &end));
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, int64_t(bytes.size()));

  // Not found: outside the range, an end past the file, a start at its end.
  start = 12;
  end = 23;
  EXPECT_FALSE(Wav_Find_Chunk(wx, "find.wav", "fmt ", &start, &end));
  start = 12;
  end = int64_t(bytes.size()) + 1;
  EXPECT_FALSE(Wav_Find_Chunk(wx, "find.wav", "fmt ", &start, &end));
  start = int64_t(bytes.size());
  end = int64_t(bytes.size());
  EXPECT_FALSE(Wav_Find_Chunk(wx, "find.wav", "data", &start, &end));
  start = 12;
  end = int64_t(bytes.size());
  EXPECT_FALSE(Wav_Find_Chunk(wx, "find.wav", "cue ", &start, &end));
  EXPECT_FALSE(Wav_Find_Chunk(wx, "nothing.wav", "data", &start, &end));
}

TEST(WavDiskFile, LoadsFromDiskIgnoringTheCaseOfTheName) {
  TempFolder folder;
  std::string pcm = Pcm16({11, 22});
  folder.Write("Tone.WAV", Riff("WAVE", Fmt(1, 44100, 16) + Data(pcm)));
  Wendax wx;
  std::optional<Sample> sample = Wav_Load(wx, folder.Path("tone.wav"));
  ASSERT_TRUE(sample.has_value());
  EXPECT_EQ(std::string(sample->data.begin(), sample->data.end()), pcm);
  std::optional<Wav_Info> info = Wav_Read_Info(wx, folder.Path("TONE.wav"));
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->data_offset, 44);
}

}  // namespace
