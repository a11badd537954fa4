// The data archive: small interface pictures looked up by name in
// one index file, "BDataHeader.vit", whose 16-bit 5-6-5 pixels lie in data
// files "BData1.arn" .. "BDataM.arn" of the start folder. Pixels are read on
// an entry's first draw and kept until Archive_Flush.
//
// Index file (little-endian, read field by field): entry count N, data-file
// count M (signed 32-bit each), then per entry 60 bytes: name (32 bytes,
// zero-terminated), left, top, right, bottom (signed 32-bit), data file
// index, data size in bytes, type (32-bit each). Offsets are not stored:
// walking the entries in file order, an entry's offset is the sum of the
// sizes of the entries before it since the data file index last changed
// (the sum restarts at 0 whenever an entry's index differs from the entry
// before it; the first is compared with index 0).
//
// Entry pixels: rows of `right` pixels read from the start of the data; the
// picture is right - left pixels wide and bottom - top rows high. Type 1 is
// opaque; every other type is transparent, its key colour being pixel
// bottom * right - 1 of the data.
//
// Choices of this implementation, where the format leaves room or where
// reading it literally would misbehave:
// - Files are found ignoring case (host/path_resolve.h). The folder gets a
//   '/' when it ends with none of '/', '\' and ':'; an empty folder is the
//   current one. The folder's length is not limited (the 259 characters of
//   the original were a buffer size).
// - Names: the bytes before the first zero, at most kArchiveNameMax (a 32nd
//   byte is dropped); the last four characters are cut, so "door.tga" is
//   "door", and a name of four characters or fewer becomes "".
// - The table is sorted by name, ASCII case ignored (bytes compared after
//   A-Z are lowered, as _stricmp), entries of equal names in file order; a
//   lookup is a bisection for the first of the equal names, so the first in
//   the index wins.
// - An entry reads data file k = 1..M as its index names it (reading every
//   entry from the first data file would draw the wrong pixels). An entry
//   whose index names no data file (0, above M, or a file that did not
//   open) draws nothing.
// - The pixels are read once, only whole: an entry whose data do not lie
//   inside its data file, whose rectangle is empty (width or height 0 or
//   less, right 0 or less) or whose rectangle makes a pixel read, or the
//   key colour of a transparent type, fall outside its data draws nothing.
//   Unreadable entries are remembered and retried only after the next
//   Archive_Open_Files.
// - Every type is clipped on all four edges of the target (clipping
//   transparent pictures on the right and bottom only, and opaque ones not
//   at all, would write past the frame).
// - Archive_Draw_Part: for type 1 the source rectangle is cut to the picture
//   (0, 0, width, height) and copied with its own size to the destination's
//   top-left corner; for other types the destination's size is cut to the
//   picture's. A null source is the destination moved to (0, 0).
// - Errors are errno values; an index that ends before its N entries or
//   its two counts gives ENODATA. A failing index read keeps the entries
//   read so far and opens no data files. The index file
//   is closed once read. Archive_Open_Files closes the files open before.
// - The data-file count M is kept as read; files are opened in order until
//   the first that fails, so a huge M costs no memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Longest entry name stored, in bytes (the field is 32 bytes).
inline constexpr size_t kArchiveNameMax = 31;
// Bytes of the index before the first entry, and of one entry.
inline constexpr size_t kArchiveIndexHead = 8;
inline constexpr size_t kArchiveEntrySize = 60;
inline constexpr size_t kArchiveNameField = 32;
// Characters cut from the end of every stored name (the extension).
inline constexpr size_t kArchiveNameCut = 4;
// The type of opaque pictures; Archive_Flush frees types 4, 3, 2, 1.
inline constexpr int32_t kArchiveOpaqueType = 1;

inline constexpr const char* kArchiveIndexName = "BDataHeader.vit";

struct ArchiveRect {
  int32_t left, top, right, bottom;
};

// A 16-bit 5-6-5 destination: rows of `width` pixels (the pitch), `height`
// rows. The engine passes its 640 x 480 frame buffer or still picture.
struct ArchiveTarget {
  uint16_t* pixels;
  int width;
  int height;
};

struct ArchiveEntry {
  std::string name;  // extension cut
  ArchiveRect rect{};
  uint32_t size = 0;   // data size in bytes
  int64_t offset = 0;  // in its data file
  int32_t file_index = 0;
  int32_t type = 0;
  // The cache: pixels once read.
  bool cached = false;
  bool unreadable = false;
  std::vector<uint16_t> pixels;  // size / 2 words
};

class DataArchive {
 public:
  explicit DataArchive(std::string folder);
  // Frees every entry and closes every data file.
  ~DataArchive();
  DataArchive(const DataArchive&) = delete;
  DataArchive& operator=(const DataArchive&) = delete;

  // Reads the index, then opens the data files: 0, or an errno value.
  int Archive_Load_Index();
  // Opens data files 1..M in order: 0, or the errno of the first failure
  // (the later files stay closed).
  int Archive_Open_Files();
  void Archive_Close_Files();
  // Reads exactly `size` bytes of data file `file_index` (1..M) at `offset`
  // (-1: the file's current position). False when the file is not open or
  // the read fails or ends early.
  bool Archive_Read(int file_index, void* buffer, size_t size, int64_t offset);
  // Draws the picture with its rectangle moved by (x, y).
  void Archive_Draw(std::string_view name, int x, int y, ArchiveTarget target);
  void Archive_Draw_Part(std::string_view name, const ArchiveRect& dest, const ArchiveRect* source,
                         ArchiveTarget target);
  // Adds to the cached total.
  void Archive_Count_Cached(int64_t bytes);
  // The descriptor of the first data file, -1 when it is not open.
  int Archive_First_File() const;
  // Frees the cached pixels of types 4, 3, 2, 1 in that order and takes
  // their sizes from the cached total; other types keep theirs.
  void Archive_Flush();

  // Inspection, for tools and tests.
  const std::string& Folder() const { return folder_; }
  const std::vector<ArchiveEntry>& Entries() const { return entries_; }  // sorted as the table
  int32_t Data_File_Count() const { return file_count_; }
  // The entry count N of the index, -1 until the index's counts are read.
  int64_t Declared_Entries() const { return declared_; }
  // How many data files are open: files 1 .. this one.
  int32_t Opened_File_Count() const { return int32_t(files_.size()); }
  int64_t Cached_Bytes() const { return cached_bytes_; }
  // The first entry of that name (ASCII case ignored), or -1.
  int64_t Find(std::string_view name) const;
  // The entry's pixels, read (and counted as cached) when not yet cached;
  // null when they cannot be read whole or its rectangle does not fit them.
  // Pixel (column c, row r) of the picture is word r * right + c.
  const std::vector<uint16_t>* Pixels(size_t entry);
  // The key colour of a transparent entry whose pixels are read.
  static uint16_t Key_Colour(const ArchiveEntry& entry);

 private:
  std::string Path_Of(std::string_view file) const;
  bool Load_Pixels(ArchiveEntry& entry);
  void Free_Pixels(ArchiveEntry& entry);

  std::string folder_;
  std::vector<ArchiveEntry> entries_;
  int32_t file_count_ = 0;
  int64_t declared_ = -1;
  std::vector<int> files_;  // descriptors of data files 1.. as opened; -1 when closed
  int64_t cached_bytes_ = 0;
};

// ASCII case ignored, as the table is sorted: <0, 0, >0.
int Archive_Name_Compare(std::string_view a, std::string_view b);
