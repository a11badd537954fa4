// The data archive: index, offsets, lookup, drawing with clipping, partial
// drawing, the cache and its flush, and damaged indexes and entries.
#include "engine/archive/data_archive.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "tests/support/temp_folder.h"
#include "tools/archive_writer.h"

namespace {

constexpr int kW = 640, kH = 480;
constexpr uint16_t kBack = 0x1234;
constexpr size_t kGuard = 64;  // pixels after the target that must stay untouched

// Pixel i of a picture: its name's first letter, its file and i, never 0
// nor kBack for files 1 and 2.
uint16_t Value(const std::string& name, int32_t file, size_t i) {
  return uint16_t(((name[0] - 'a' + 1) & 0xF) << 12 | (file & 3) << 10 | (i & 0x3FF));
}

// A picture at (left, top) of w x h pixels, rows of left + w pixels, every
// pixel distinct and none 0 or kBack, except the key pixel when `key` is set.
ArchivePicture Picture(std::string name, int32_t type, int32_t w, int32_t h, int32_t file = 1,
                       int32_t left = 0, int32_t top = 0) {
  ArchivePicture p{std::move(name), left, top, left + w, top + h, type, file, {}};
  p.pixels.resize(size_t(p.right) * size_t(p.bottom));
  for (size_t i = 0; i < p.pixels.size(); ++i) p.pixels[i] = Value(p.name, file, i);
  return p;
}

struct Frame {
  std::vector<uint16_t> pixels = std::vector<uint16_t>(size_t(kW) * kH + kGuard, kBack);
  ArchiveTarget Target() { return {pixels.data(), kW, kH}; }
};

// The frame a draw of picture p at (x, y) must give, by the pixel rule:
// pixel (c, r) lands at (left + x + c, top + y + r) when inside the frame
// and not the key of a transparent type.
Frame Expected(const ArchivePicture& p, int x, int y) {
  Frame f;
  const int w = p.right - p.left, h = p.bottom - p.top;
  const uint16_t key = p.pixels[size_t(p.bottom) * p.right - 1];
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) {
      const int fx = p.left + x + c, fy = p.top + y + r;
      const uint16_t v = p.pixels[size_t(r) * p.right + c];
      if (fx >= 0 && fx < kW && fy >= 0 && fy < kH && (p.type == 1 || v != key))
        f.pixels[size_t(fy) * kW + fx] = v;
    }
  return f;
}

struct Archive {
  TempFolder folder;
  std::unique_ptr<DataArchive> archive;
  int loaded = -1;

  explicit Archive(const std::vector<ArchivePicture>& pictures, int32_t files = 1) {
    std::string error;
    EXPECT_TRUE(Archive_Write_Folder(folder.Path(), pictures, files, error)) << error;
    Load();
  }
  void Load() {
    archive = std::make_unique<DataArchive>(folder.Path());
    loaded = archive->Archive_Load_Index();
  }
  const ArchiveEntry& Entry(std::string_view name) {
    int64_t i = archive->Find(name);
    EXPECT_GE(i, 0) << name;
    return archive->Entries()[size_t(i < 0 ? 0 : i)];
  }
};

std::vector<uint8_t> Index_Of(const std::vector<ArchivePicture>& pictures, int32_t files) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(Archive_Index_Bytes(pictures, files, bytes, error));
  return bytes;
}

TEST(DataArchive, OffsetsRestartPerDataFileAndEachEntryReadsItsOwnFile) {
  // Sizes 100, 200, 300, 400 bytes in files 1, 1, 2, 2.
  Archive a({Picture("a.tga", 1, 50, 1, 1), Picture("b.tga", 1, 100, 1, 1), Picture("c.tga", 1, 150, 1, 2),
             Picture("d.tga", 1, 200, 1, 2)},
            2);
  ASSERT_EQ(a.loaded, 0);
  ASSERT_EQ(a.archive->Data_File_Count(), 2);
  EXPECT_GE(a.archive->Archive_First_File(), 0);
  const struct {
    const char* name;
    int64_t offset;
    uint32_t size;
    int32_t file;
  } cases[] = {{"a", 0, 100, 1}, {"b", 100, 200, 1}, {"c", 0, 300, 2}, {"d", 300, 400, 2}};
  Frame frame;
  int row = 0;
  for (const auto& c : cases) {
    const ArchiveEntry& e = a.Entry(c.name);
    EXPECT_EQ(e.offset, c.offset) << c.name;
    EXPECT_EQ(e.size, c.size) << c.name;
    EXPECT_EQ(e.file_index, c.file) << c.name;
    a.archive->Archive_Draw(c.name, 0, row, frame.Target());
    for (uint32_t x = 0; x < c.size / 2; ++x)
      ASSERT_EQ(frame.pixels[size_t(row) * kW + x], Value(c.name, c.file, x)) << c.name << " x " << x;
    ++row;
  }
  EXPECT_EQ(a.archive->Cached_Bytes(), 1000);
}

TEST(DataArchive, NamesIgnoreCaseAndLoseTheirExtension) {
  Archive a({Picture("door.tga", 1, 2, 1), Picture("Zed.bmp", 1, 2, 1), Picture("abc", 1, 2, 1),
             Picture("DOOR.PCX", 2, 3, 1), Picture("_x.tga", 1, 2, 1),
             Picture("0123456789012345678901234567890", 1, 2, 1)});
  ASSERT_EQ(a.loaded, 0);
  for (const char* name : {"DOOR", "door", "Door"}) {
    int64_t i = a.archive->Find(name);
    ASSERT_GE(i, 0) << name;
    EXPECT_EQ(a.archive->Entries()[size_t(i)].name, "door") << "the first in the index wins";
    EXPECT_EQ(a.archive->Entries()[size_t(i)].type, 1);
  }
  EXPECT_EQ(a.archive->Find("door.tga"), -1);
  EXPECT_EQ(a.archive->Find("doo"), -1);
  EXPECT_GE(a.archive->Find("zED"), 0);
  EXPECT_GE(a.archive->Find(""), 0);  // "abc" is cut to nothing
  EXPECT_GE(a.archive->Find("012345678901234567890123456"), 0);
  std::vector<std::string> names;
  for (const ArchiveEntry& e : a.archive->Entries()) names.push_back(e.name);
  // '_' sorts after the digits and before the letters lowered, as _stricmp.
  EXPECT_EQ(names,
            (std::vector<std::string>{"", "012345678901234567890123456", "_x", "door", "DOOR", "Zed"}));
}

TEST(DataArchive, FilesAreFoundIgnoringCase) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(Archive_Write_Folder(folder.Path("Game/"), {Picture("a.tga", 1, 2, 1)}, 1, error));
  std::filesystem::rename(folder.Path("Game/BDataHeader.vit"), folder.Path("Game/bdataheader.VIT"));
  std::filesystem::rename(folder.Path("Game/BData1.arn"), folder.Path("Game/bdata1.ARN"));
  DataArchive archive(folder.Path("game"));  // no separator, other case
  EXPECT_EQ(archive.Folder(), folder.Path("game/"));
  ASSERT_EQ(archive.Archive_Load_Index(), 0);
  Frame frame;
  archive.Archive_Draw("A", 0, 0, frame.Target());
  EXPECT_EQ(frame.pixels[1], 0x1401);

  DataArchive missing(folder.Path("none"));
  EXPECT_EQ(missing.Archive_Load_Index(), ENOENT);
  EXPECT_TRUE(missing.Entries().empty());
}

TEST(DataArchive, TransparentPicturesSkipTheirKeyColour) {
  ArchivePicture p = Picture("t.tga", 2, 4, 2);
  p.pixels = {0x0000, 0xF800, 0x0000, 0x07E0,
              0x001F, 0x0000, 0xFFFF, 0x0000};  // last pixel 0: black is the key
  Archive a({p});
  Frame frame;
  a.archive->Archive_Draw("t", 10, 20, frame.Target());
  const uint16_t want[2][4] = {{kBack, 0xF800, kBack, 0x07E0}, {0x001F, kBack, 0xFFFF, kBack}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(frame.pixels[size_t(20 + r) * kW + 10 + c], want[r][c]) << r << c;
}

TEST(DataArchive, EveryTypeIsClippedOnAllFourEdges) {
  const struct {
    int x, y;
  } positions[] = {{600, 10},
                   {600, 470},
                   {-10, -3},
                   {-63, 5},
                   {5, -15},
                   {639, 479},
                   {640, 0},
                   {0, 480},
                   {-64, 0},
                   {-1000000, 0},
                   {2000000000, 2000000000},
                   {-2000000000, -2000000000}};
  for (int32_t type : {1, 2, 7}) {
    for (int32_t left : {0, 3}) {
      ArchivePicture p = Picture("p.tga", type, 64, 16, 1, left, 2);
      p.pixels.back() = 0x0BAD;
      p.pixels[5] = 0x0BAD;  // a key pixel inside the picture
      Archive a({p});
      for (const auto& at : positions) {
        Frame frame;
        a.archive->Archive_Draw("p", at.x, at.y, frame.Target());
        EXPECT_TRUE(frame.pixels == Expected(p, at.x, at.y).pixels)
            << "type " << type << " left " << left << " at " << at.x << "," << at.y;
      }
    }
  }
}

TEST(DataArchive, DrawPartCopiesTheSourceOfOpaquePicturesAndTheDestinationSizeOfOthers) {
  ArchivePicture opaque = Picture("o.tga", 1, 8, 4);
  ArchivePicture keyed = Picture("k.tga", 3, 8, 4);
  keyed.pixels[1] = keyed.pixels.back();
  Archive a({opaque, keyed});
  // Pixel (c, r) of the picture expected at (x, y) of the frame, or kBack.
  struct Case {
    const char* name;
    ArchiveRect dest;
    std::optional<ArchiveRect> source;
    int dx, dy, sx, sy, w, h;  // the block expected: picture (sx, sy) at (dx, dy), w x h
  } cases[] = {
      {"o", {100, 50, 101, 51}, ArchiveRect{2, 1, 5, 3}, 100, 50, 2, 1, 3, 2},  // the source's size
      {"o", {10, 10, 14, 12}, std::nullopt, 10, 10, 0, 0, 4, 2},                // null: dest at (0, 0)
      {"o", {10, 10, 14, 12}, ArchiveRect{-2, -1, 3, 9}, 12, 11, 0, 0, 3, 4},   // cut to the picture
      {"o", {-1, -1, 0, 0}, ArchiveRect{0, 0, 8, 4}, 0, 0, 1, 1, 7, 3},         // cut to the frame
      {"o", {637, 478, 0, 0}, ArchiveRect{0, 0, 8, 4}, 637, 478, 0, 0, 3, 2},
      {"o", {0, 0, 0, 0}, ArchiveRect{5, 5, 9, 9}, 0, 0, 0, 0, 0, 0},           // nothing of the picture
      {"k", {100, 50, 103, 52}, ArchiveRect{4, 2, 8, 4}, 100, 50, 0, 0, 3, 2},  // source ignored
      {"k", {100, 50, 200, 200}, std::nullopt, 100, 50, 0, 0, 8, 4},            // cut to the picture
      {"k", {630, -2, 640, 2}, std::nullopt, 630, 0, 0, 2, 8, 2},
  };
  for (const Case& c : cases) {
    const ArchivePicture& p = c.name[0] == 'o' ? opaque : keyed;
    Frame frame, want;
    for (int r = 0; r < c.h; ++r)
      for (int col = 0; col < c.w; ++col) {
        const uint16_t v = p.pixels[size_t(c.sy + r) * p.right + c.sx + col];
        if (p.type == 1 || v != p.pixels.back()) want.pixels[size_t(c.dy + r) * kW + c.dx + col] = v;
      }
    a.archive->Archive_Draw_Part(c.name, c.dest, c.source ? &*c.source : nullptr, frame.Target());
    EXPECT_TRUE(frame.pixels == want.pixels) << c.name << " dest " << c.dest.left << "," << c.dest.top;
  }
}

TEST(DataArchive, FlushFreesTypesOneToFourAndCountsTheCache) {
  std::vector<ArchivePicture> pictures;
  for (int32_t type : {1, 2, 3, 4, 5, 0})
    pictures.push_back(Picture("t" + std::to_string(type) + ".tga", type, 2, 1));
  Archive a(pictures);
  EXPECT_EQ(a.archive->Cached_Bytes(), 0);
  Frame frame;
  for (const ArchivePicture& p : pictures) a.archive->Archive_Draw(p.name.substr(0, 2), 0, 0, frame.Target());
  a.archive->Archive_Draw("t1", 0, 0, frame.Target());  // read once
  EXPECT_EQ(a.archive->Cached_Bytes(), 6 * 4);
  a.archive->Archive_Count_Cached(7);
  EXPECT_EQ(a.archive->Cached_Bytes(), 6 * 4 + 7);
  a.archive->Archive_Flush();
  EXPECT_EQ(a.archive->Cached_Bytes(), 2 * 4 + 7);
  for (const ArchiveEntry& e : a.archive->Entries())
    EXPECT_EQ(e.cached, e.type == 0 || e.type == 5) << e.name;
  a.archive->Archive_Draw("t2", 0, 0, frame.Target());  // read again
  EXPECT_EQ(a.archive->Cached_Bytes(), 3 * 4 + 7);
}

TEST(DataArchive, EntriesThatCannotBeReadDrawNothing) {
  ArchivePicture good = Picture("g.tga", 2, 4, 2);
  const struct {
    const char* what;
    ArchivePicture picture;
  } cases[] = {
      {"file 0", Picture("x.tga", 1, 4, 2, 0)},
      {"file above M", Picture("x.tga", 1, 4, 2, 3)},
      {"file that did not open", Picture("x.tga", 1, 4, 2, 2)},
      {"key outside the data",
       [] {
         ArchivePicture p = Picture("x.tga", 2, 4, 2, 1, 0, 1);
         p.pixels.resize(8);  // the picture's rows, not the key's
         return p;
       }()},
      {"rows outside the data",
       [] {
         ArchivePicture p = Picture("x.tga", 1, 4, 2);
         p.pixels.resize(7);
         return p;
       }()},
      {"no width", Picture("x.tga", 1, 0, 2)},
      {"no height", Picture("x.tga", 1, 4, 0)},
      {"negative right",
       [] {
         ArchivePicture p = Picture("x.tga", 1, 4, 2);
         p.left = -8, p.right = -4;
         return p;
       }()},
      {"huge rectangle",
       [] {
         ArchivePicture p = Picture("x.tga", 2, 4, 2);
         p.right = 0x7FFFFFFF, p.bottom = 0x7FFFFFFF;
         return p;
       }()},
  };
  for (const auto& c : cases) {
    Archive a({good, c.picture}, 2);
    std::filesystem::remove(a.folder.Path("BData2.arn"));
    a.Load();
    EXPECT_EQ(a.loaded, ENOENT) << c.what;
    Frame frame;
    a.archive->Archive_Draw("x", 0, 0, frame.Target());
    a.archive->Archive_Draw_Part("x", {0, 0, 4, 2}, nullptr, frame.Target());
    EXPECT_TRUE(frame.pixels == Frame().pixels) << c.what;
    EXPECT_EQ(a.archive->Pixels(size_t(a.archive->Find("x"))), nullptr) << c.what;
    a.archive->Archive_Draw("g", 0, 0, frame.Target());
    EXPECT_EQ(frame.pixels[1], good.pixels[1]) << c.what;
    EXPECT_EQ(a.archive->Cached_Bytes(), 16) << c.what;
  }
  // A data file shorter than its entries: the whole entries draw, the cut one not.
  Archive a({good, Picture("x.tga", 1, 4, 2)});
  std::filesystem::resize_file(a.folder.Path("BData1.arn"), 16 + 15);
  a.Load();
  Frame frame;
  a.archive->Archive_Draw("x", 0, 0, frame.Target());
  EXPECT_TRUE(frame.pixels == Frame().pixels);
  a.archive->Archive_Draw("g", 0, 0, frame.Target());
  EXPECT_EQ(frame.pixels[1], good.pixels[1]);
}

TEST(DataArchive, ACutIndexKeepsTheEntriesReadSoFar) {
  const std::vector<ArchivePicture> pictures = {Picture("a.tga", 1, 2, 1), Picture("b.tga", 2, 2, 1),
                                                Picture("c.tga", 1, 2, 1)};
  Archive a(pictures);
  const std::vector<uint8_t> index = Index_Of(pictures, 1);
  ASSERT_EQ(index.size(), 8 + 3 * 60u);
  for (size_t length = 0; length <= index.size(); ++length) {
    a.folder.Write("BDataHeader.vit", std::string(index.begin(), index.begin() + ptrdiff_t(length)));
    a.Load();
    const size_t whole = length < 8 ? 0 : (length - 8) / 60;
    EXPECT_EQ(a.archive->Entries().size(), whole) << length;
    EXPECT_EQ(a.loaded, length == index.size() ? 0 : ENODATA) << length;
    Frame frame;
    for (const char* name : {"a", "b", "c"}) a.archive->Archive_Draw(name, 0, 0, frame.Target());
    a.archive->Archive_Flush();
  }
}

TEST(DataArchive, HostileCountsReadOnlyWhatIsThere) {
  const std::vector<ArchivePicture> pictures = {Picture("a.tga", 1, 2, 1), Picture("b.tga", 1, 2, 1)};
  Archive a(pictures);
  const struct {
    int32_t entries, files;
    size_t kept;
    int result;
  } cases[] = {
      {0x7FFFFFFF, 1, 2, ENODATA}, {-5, 1, 0, 0}, {2, 0x7FFFFFFF, 2, ENOENT}, {2, -1, 2, 0}, {1, 1, 1, 0}};
  for (const auto& c : cases) {
    std::vector<uint8_t> index = Index_Of(pictures, 1);
    for (int i = 0; i < 4; ++i) {
      index[size_t(i)] = uint8_t(uint32_t(c.entries) >> (8 * i));
      index[size_t(4 + i)] = uint8_t(uint32_t(c.files) >> (8 * i));
    }
    a.folder.Write("BDataHeader.vit", std::string(index.begin(), index.end()));
    a.Load();
    EXPECT_EQ(a.loaded, c.result) << c.entries << " " << c.files;
    EXPECT_EQ(a.archive->Entries().size(), c.kept) << c.entries << " " << c.files;
  }
  // A name filling its 32 bytes keeps 31 of them before the cut.
  std::vector<uint8_t> index = Index_Of(pictures, 1);
  std::fill(index.begin() + 8, index.begin() + 40, uint8_t('n'));
  a.folder.Write("BDataHeader.vit", std::string(index.begin(), index.end()));
  a.Load();
  EXPECT_EQ(a.loaded, 0);
  EXPECT_GE(a.archive->Find(std::string(27, 'n')), 0);
}

}  // namespace
