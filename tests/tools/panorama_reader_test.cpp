// The panorama file reader: written contents read back field by field, the
// chunks the engine passes over passed over, damaged files refused.
#include "tools/panorama_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvr_read/kvr_chunks.h"
#include "tests/support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Le(int64_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes Chunk(int tag, const Bytes& payload) {
  return Cat({Le(tag), Le(int64_t(payload.size()) + 8), payload});
}
Bytes File(std::initializer_list<Bytes> chunks) { return Chunk(KVR_CHUNK_FILE, Cat(chunks)); }
Bytes Record(int tag, int dct_param, const Bytes& data) {
  return Chunk(tag, Cat({Le(dct_param), Le(int64_t(data.size())), data}));
}
Bytes Vr() { return Record(KVR_CHUNK_STATIC_VR, 77, {1, 2, 3}); }  // bytes 8 .. 26 of a file
Bytes Anim(const std::string& name, int64_t frame_count, std::initializer_list<Bytes> chunks) {
  Bytes stored(KVR_ANIM_NAME_SIZE, 0);
  std::copy(name.begin(), name.end(), stored.begin());
  return Chunk(KVR_CHUNK_ANIMATION, Cat({stored, Le(frame_count), Cat(chunks)}));
}
Bytes Frame(const Bytes& fields) { return Chunk(KVR_CHUNK_FRAME, fields); }
Bytes Loop(int l) { return Chunk(KVR_CHUNK_LOOP, Le(l)); }
const Bytes kEmptyFrame = Frame({});
constexpr int kOther = 0x55667788;

PanoramaContent Vr_Content(std::vector<PanoramaAnimation> animations = {}) {
  return {PanoramaKind::kVr, 77, {1, 2, 3}, std::move(animations)};
}

TEST(PanoramaReader, WrittenContentsReadBackFieldByField) {
  const PanoramaContent contents[] = {
      Vr_Content(),
      {PanoramaKind::kPic, 5, {7}, {{"door", {{}, {{0, 1199}, 60, {9, 8, 7}}, {}}, 2}}},
      {PanoramaKind::kVr,
       -3,
       Bytes(1000, 0xA5),
       {{"a", {{{6143}, 1, {}}}, 0},
        {std::string(31, 'n'), {{}}, std::nullopt},
        {"b c", {{{5, 4}, 2, {1}}, {}}, 1}}},
  };
  for (const PanoramaContent& content : contents) {
    Bytes bytes;
    Bytes again;
    PanoramaContent read;
    std::string error;
    ASSERT_TRUE(Panorama_File_Bytes(content, bytes, error)) << error;
    ASSERT_TRUE(Panorama_Read(bytes, read, error)) << error;
    EXPECT_EQ(read, content) << content.animations.size() << " animations";
    ASSERT_TRUE(Panorama_File_Bytes(read, again, error)) << error;
    EXPECT_EQ(again, bytes);
  }
  TempFolder folder;
  Bytes bytes;
  std::string error;
  PanoramaContent read;
  ASSERT_TRUE(Panorama_File_Bytes(contents[1], bytes, error)) << error;
  folder.Write("a.kvr", std::string(bytes.begin(), bytes.end()));
  ASSERT_TRUE(Panorama_Read(folder.Path("a.kvr"), read, error)) << error;
  EXPECT_EQ(read, contents[1]);
  EXPECT_FALSE(Panorama_Read(folder.Path("none.kvr"), read, error));
  EXPECT_NE(error.find(folder.Path("none.kvr")), std::string::npos) << error;
}

TEST(PanoramaReader, ReadsWhatTheEngineReadsAndPassesOverTheRest) {
  Bytes outer_unused = Cat({File({Vr()}), Le(0), Bytes{9, 9, 9}});
  outer_unused[4] = 0;  // outer length 0; a 0 tag, then bytes no reader looks at
  const struct {
    const char* what;
    Bytes file;
    PanoramaContent content;
  } cases[] = {
      {"other chunks, a stray frame and a later static chunk",
       File({Chunk(kOther, {1, 2}), kEmptyFrame, Vr(), Record(KVR_CHUNK_STATIC_PIC, 5, {9}),
             Record(KVR_CHUNK_STATIC_VR, 6, {4})}),
       Vr_Content()},
      {"the first static chunk after an animation gives the kind",
       File({Anim("a", 1, {kEmptyFrame}), Record(KVR_CHUNK_STATIC_PIC, 5, {9}), Vr()}),
       {PanoramaKind::kPic, 5, {9}, {{"a", {{}}, std::nullopt}}}},
      {"outer length unused, bytes after a 0 tag", outer_unused, Vr_Content()},
      {"the loop chunk right after the last frame only",
       File({Vr(),
             Anim("a", 2,
                  {Chunk(kOther, {}), Frame(Cat({Le(1), Le(3), Le(60), Le(1), {8}})), Loop(7), kEmptyFrame,
                   Loop(1), Loop(0)}),
             Anim("b", 1, {Loop(0), kEmptyFrame, Chunk(kOther, {}), Loop(0)})}),
       Vr_Content({{"a", {{{3}, 60, {8}}, {}}, 1}, {"b", {{}}, std::nullopt}})},
      {"a 0 tag ends the animation's chunks",
       File({Vr(), Anim("a", 1, {kEmptyFrame, Le(0), Le(0), kEmptyFrame})}),
       Vr_Content({{"a", {{}}, std::nullopt}})},
      {"values kept as stored",
       File({Vr(), Anim(std::string(32, 'x'), 1, {Frame(Cat({Le(0), Le(7), Le(1), {5}})), Loop(5)}),
             Anim(std::string("ab\0cd", 5), 1, {Frame(Cat({Le(1), Le(9999), Le(0), Le(0)}))})}),
       Vr_Content({{std::string(32, 'x'), {{{}, 7, {5}}}, 5}, {"ab", {{{9999}, 0, {}}}, std::nullopt}})},
  };
  for (const auto& c : cases) {
    PanoramaContent read;
    std::string error;
    ASSERT_TRUE(Panorama_Read(c.file, read, error)) << c.what << ": " << error;
    EXPECT_EQ(read, c.content) << c.what;
  }
}

TEST(PanoramaReader, RefusesDamagedFilesSayingWhatAndWhere) {
  const auto door = [](std::initializer_list<Bytes> chunks, int64_t frames = 1) {
    return File({Vr(), Anim("door", frames, chunks)});
  };
  const struct {
    Bytes file;
    std::string message;
  } cases[] = {
      {{}, "not a panorama file"},
      {Chunk(0x46464952, Bytes(40, 0)), "not a panorama file"},
      {File({Anim("a", 1, {kEmptyFrame})}), "the file has no static picture chunk"},
      {File({Chunk(KVR_CHUNK_STATIC_PIC, Le(77))}),
       "the KVR_CHUNK_STATIC_PIC chunk at byte 8 holds 4 bytes, less than the 8 of dct_param and N"},
      {File({Chunk(KVR_CHUNK_STATIC_VR, Cat({Le(77), Le(-5)}))}),
       "the static picture (the KVR_CHUNK_STATIC_VR chunk at byte 8): the byte count -5 is negative"},
      {File({Chunk(KVR_CHUNK_STATIC_VR, Cat({Le(77), Le(0x7FFFFFFF), {1, 2}}))}),
       "the byte count 2147483647 is more than the 2 bytes its chunk has room for"},
      {File({Vr(), Le(kOther), Le(3)}),
       "the 0x55667788 chunk at byte 27 has the stored length 3, less than its own 8"},
      {File({Vr(), Le(kOther), Le(0x7FFFFFFF)}),
       "at byte 27 holds 2147483639 bytes, but the file ends after 0"},
      {File({Vr(), Bytes{0x11, 0x22, 0x33}}),
       "the chunk header at byte 27 is cut: the file ends after 3 of its 8"},
      {File({Vr(), Chunk(KVR_CHUNK_ANIMATION, Bytes(20, 'a'))}),
       "animation 0 (the KVR_CHUNK_ANIMATION chunk at byte 27) holds 20 bytes, less than the 36"},
      {door({kEmptyFrame, kEmptyFrame}, 3),
       "animation \"door\": the frame count 3 does not match the 2 frame"},
      {door({kEmptyFrame, kEmptyFrame}, -1), "the frame count -1 does not match the 2 frame chunks"},
      {door({kEmptyFrame, Frame(Bytes(5, 0))}),
       "frame 1 of animation \"door\": its chunk holds 5 bytes, less than the 12"},
      {door({Frame(Cat({Le(-5), Le(60), Le(0)}))}),
       "frame 0 of animation \"door\": the block count -5 is negative"},
      {door({Frame(Cat({Le(2), Le(1), Le(60), Le(0)}))}),
       "the block count 2 is more than the 1 block numbers"},
      {door({Frame(Cat({Le(1), Le(3), Le(60), Le(5), {1, 2}}))}),
       "the byte count 5 is more than the 2 bytes"},
      {door({Le(KVR_CHUNK_FRAME), Le(100)}),
       "animation \"door\": the KVR_CHUNK_FRAME chunk at byte 71 holds 92 bytes, but the animation ends "
       "after 0"},
      {door({kEmptyFrame, {0x11, 0x22}}),
       "the chunk header at byte 79 is cut: the animation ends after 2 of its 8"},
      {door({kEmptyFrame, Chunk(KVR_CHUNK_LOOP, {1, 0})}),
       "the KVR_CHUNK_LOOP chunk at byte 79 holds 2 bytes"},
  };
  for (const auto& c : cases) {
    PanoramaContent content = Vr_Content();
    std::string error;
    EXPECT_FALSE(Panorama_Read(c.file, content, error)) << c.message;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_EQ(content, Vr_Content()) << c.message;
  }
}

TEST(PanoramaReader, AFileCutAnywhereIsRefusedUnlessCutBetweenTopLevelChunks) {
  const PanoramaContent whole =
      Vr_Content({{"a", {{{3, 4}, 60, {1, 2, 3}}, {}}, 1}, {"b", {{}}, std::nullopt}});
  Bytes bytes;
  std::string error;
  ASSERT_TRUE(Panorama_File_Bytes(whole, bytes, error)) << error;
  const size_t first_end = 27 + 8 + 36 + 8 + 12 + 8 + 3 + 8 + 8 + 4;  // after the animation "a"
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    PanoramaContent read;
    const bool accepted = Panorama_Read(Bytes(bytes.begin(), bytes.begin() + long(cut)), read, error);
    if (cut == 27 || cut == first_end) {
      ASSERT_TRUE(accepted) << cut << ": " << error;
      EXPECT_EQ(read.animations.size(), cut == 27 ? 0u : 1u);
    } else {
      EXPECT_FALSE(accepted) << cut;
      EXPECT_FALSE(error.empty()) << cut;
    }
  }
}

}  // namespace
