// Kvr_Load_Static_Vr and Kvr_Load_Static_Pic: the static picture of a
// panorama file decoded to 4-byte pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "kvr_read/kvr_read.h"
#include "tests/kvr_read/panorama_bytes.h"

namespace kvr_test {
namespace {

// At quality 90 smooth pictures decode within this many levels a channel.
constexpr int kMaxJpegError = 8;
constexpr double kMeanJpegError = 1.5;
constexpr unsigned char kUntouched = 0x5A;

class StaticLoad : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    folder_.Write("pano.kvr", bytes);
    return folder_.Path("pano.kvr");
  }
  static bool All(const Pixels& p, unsigned char value) {
    return std::all_of(p.begin(), p.end(), [&](unsigned char b) { return b == value; });
  }
  static bool Fourth_Bytes_Zero(const Pixels& p) {
    for (size_t i = 3; i < p.size(); i += 4) {
      if (p[i] != 0) return false;
    }
    return true;
  }
  TempFolder folder_;
};

TEST_F(StaticLoad, APanoramaDecodesCloseToItsSource) {
  const Pixels source = Smooth_Picture(256, 6144);
  const std::string data = Encode_Picture(source, 256, 6144, 90);
  const std::string path =
      Write(Panorama_File(Chunk(0x77, "skip me") + Picture_Chunk(KVR_CHUNK_STATIC_VR, 90, data)));
  Pixels dest(kVrPixels * 4, kUntouched);
  const int before = Open_Descriptors();
  ASSERT_EQ(Kvr_Load_Static_Vr(path.c_str(), dest.data()), 1);
  EXPECT_EQ(Open_Descriptors(), before);
  const Difference d = Compare(dest, source);
  EXPECT_LE(d.max, kMaxJpegError);
  EXPECT_LE(d.mean, kMeanJpegError);
  EXPECT_TRUE(Fourth_Bytes_Zero(dest));
}

TEST_F(StaticLoad, AStillPictureDecodesCloseToItsSource) {
  const Pixels source = Smooth_Picture(640, 480);
  const std::string data = Encode_Picture(source, 640, 480, 90);
  const std::string path = Write(Panorama_File(Picture_Chunk(KVR_CHUNK_STATIC_PIC, 90, data)));
  Pixels dest(kPicPixels * 4, kUntouched);
  ASSERT_EQ(Kvr_Load_Static_Pic(path.c_str(), dest.data()), 1);
  const Difference d = Compare(dest, source);
  EXPECT_LE(d.max, kMaxJpegError);
  EXPECT_LE(d.mean, kMeanJpegError);
  EXPECT_TRUE(Fourth_Bytes_Zero(dest));
}

TEST_F(StaticLoad, EachLoaderTakesTheFirstChunkOfItsOwnTag) {
  const auto pic = [](uint8_t grey) {
    return Picture_Chunk(KVR_CHUNK_STATIC_PIC, 100,
                         Encode_Picture(Grey_Picture(640, 480, grey), 640, 480, 100));
  };
  const std::string vr =
      Picture_Chunk(KVR_CHUNK_STATIC_VR, 100, Encode_Picture(Grey_Picture(256, 6144, 30), 256, 6144, 100));
  const std::string path = Write(Panorama_File(vr + pic(120) + pic(200)));
  Pixels still(kPicPixels * 4, kUntouched);
  ASSERT_EQ(Kvr_Load_Static_Pic(path.c_str(), still.data()), 1);
  EXPECT_EQ(still, Grey_Picture(640, 480, 120));
  Pixels pano(kVrPixels * 4, kUntouched);
  ASSERT_EQ(Kvr_Load_Static_Vr(path.c_str(), pano.data()), 1);
  EXPECT_EQ(pano, Grey_Picture(256, 6144, 30));

  // A still picture alone is no panorama, and the other way round.
  const std::string pic_only = Write(Panorama_File(pic(120)));
  Pixels untouched(kVrPixels * 4, kUntouched);
  EXPECT_EQ(Kvr_Load_Static_Vr(pic_only.c_str(), untouched.data()), 0);
  EXPECT_TRUE(All(untouched, kUntouched));
  const std::string vr_only = Write(Panorama_File(vr));
  EXPECT_EQ(Kvr_Load_Static_Pic(vr_only.c_str(), untouched.data()), 0);
  EXPECT_TRUE(All(untouched, kUntouched));
}

TEST_F(StaticLoad, FailuresLeaveTheDestinationUntouched) {
  const std::string data = Encode_Picture(Grey_Picture(640, 480, 99), 640, 480, 100);
  const std::string good = Picture_Chunk(KVR_CHUNK_STATIC_PIC, 100, data);
  const std::string record_header = Le32(100) + Le32(static_cast<uint32_t>(data.size()));
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"no such chunk", Panorama_File(Chunk(0x77, good) + Animation_Chunk("door", 1, ""))},
      {"chunk after a 0 tag", Panorama_File(Header(0, 8) + good)},
      {"wrong first tag", Chunk(0x12FA84AA, good)},
      {"the record alone", good},
      {"empty file", ""},
      {"negative N", Panorama_File(Chunk(KVR_CHUNK_STATIC_PIC, Le32(100) + Le32(0xFFFFFFFF) + data))},
      {"N larger than the chunk",
       Panorama_File(
           Chunk(KVR_CHUNK_STATIC_PIC, Le32(100) + Le32(static_cast<uint32_t>(data.size() + 1)) + data))},
      {"huge N", Panorama_File(Chunk(KVR_CHUNK_STATIC_PIC, Le32(100) + Le32(0x7FFFFFFF) + data))},
      {"chunk too short for its record", Panorama_File(Chunk(KVR_CHUNK_STATIC_PIC, Le32(100)))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = Write(c.bytes);
    const int before = Open_Descriptors();
    Pixels dest(kPicPixels * 4, kUntouched);
    EXPECT_EQ(Kvr_Load_Static_Pic(path.c_str(), dest.data()), 0);
    EXPECT_TRUE(All(dest, kUntouched));
    Pixels pano(kVrPixels * 4, kUntouched);
    EXPECT_EQ(Kvr_Load_Static_Vr(path.c_str(), pano.data()), 0);
    EXPECT_TRUE(All(pano, kUntouched));
    EXPECT_EQ(Open_Descriptors(), before);
  }
}

TEST_F(StaticLoad, MissingFileAndNullArgumentsGiveZero) {
  Pixels dest(kVrPixels * 4, kUntouched);
  EXPECT_EQ(Kvr_Load_Static_Vr(folder_.Path("missing").c_str(), dest.data()), 0);
  EXPECT_EQ(Kvr_Load_Static_Pic(folder_.Path("missing").c_str(), dest.data()), 0);
  EXPECT_EQ(Kvr_Load_Static_Vr(static_cast<char*>(nullptr), dest.data()), 0);
  EXPECT_EQ(Kvr_Load_Static_Pic(static_cast<char*>(nullptr), dest.data()), 0);
  EXPECT_TRUE(All(dest, kUntouched));
  const std::string data = Encode_Picture(Grey_Picture(640, 480, 99), 640, 480, 100);
  const std::string path = Write(Panorama_File(Picture_Chunk(KVR_CHUNK_STATIC_PIC, 100, data)));
  const int before = Open_Descriptors();
  EXPECT_EQ(Kvr_Load_Static_Pic(path.c_str(), nullptr), 0);
  EXPECT_EQ(Kvr_Load_Static_Vr(path.c_str(), nullptr), 0);
  EXPECT_EQ(Open_Descriptors(), before);
}

// A file cut inside its compressed data: what the file holds is decoded, the
// rows the cut took away come out black.
TEST_F(StaticLoad, ARecordCutByTheEndOfTheFileDecodesAsFarAsItGoes) {
  const Pixels source = Grey_Picture(640, 480, 160);
  const std::string data = Encode_Picture(source, 640, 480, 100);
  const std::string whole = Panorama_File(Picture_Chunk(KVR_CHUNK_STATIC_PIC, 100, data));
  const std::string path = Write(whole.substr(0, whole.size() - data.size() / 2));
  Pixels dest(kPicPixels * 4, kUntouched);
  ASSERT_EQ(Kvr_Load_Static_Pic(path.c_str(), dest.data()), 1);
  const Pixels first_row(dest.begin(), dest.begin() + 640 * 4);
  EXPECT_EQ(first_row, Grey_Picture(640, 1, 160));
  const Pixels last_row(dest.end() - 640 * 4, dest.end());
  EXPECT_TRUE(All(last_row, 0));
}

// A chunk and a record claiming 2 GiB in a small file: only what the file
// holds is read (and allocated), and it decodes whole.
TEST_F(StaticLoad, LengthsBeyondTheEndOfTheFileReadOnlyWhatIsThere) {
  const std::string data = Encode_Picture(Grey_Picture(640, 480, 70), 640, 480, 100);
  const std::string path =
      Write(Panorama_File(Header(KVR_CHUNK_STATIC_PIC, 0x7FFFFFFF) + Le32(100) + Le32(0x7FFFFF00) + data));
  Pixels dest(kPicPixels * 4, kUntouched);
  ASSERT_EQ(Kvr_Load_Static_Pic(path.c_str(), dest.data()), 1);
  EXPECT_EQ(dest, Grey_Picture(640, 480, 70));
}

}  // namespace
}  // namespace kvr_test
