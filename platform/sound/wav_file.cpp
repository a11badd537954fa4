#include "platform/sound/wav_file.h"

#include <algorithm>

#include "packing/byte_order.h"
#include "platform/files/file_layer.h"
#include "platform/files/text.h"

namespace {

// A file of the file layer, open for reading until the object goes.
class ReadFile {
 public:
  ReadFile(Wendax& wx, std::string_view path)
      : wx_(wx), size_(File_Size(wx, path)), handle_(File_Open(wx, path, kFileModeRead)) {}
  ~ReadFile() {
    if (handle_ >= 0) File_Close(wx_, handle_);
  }
  ReadFile(const ReadFile&) = delete;
  ReadFile& operator=(const ReadFile&) = delete;

  bool Is_Open() const { return handle_ >= 0; }
  int64_t Size() const { return size_; }

  // Reads exactly `length` bytes at the offset, all of them inside the file.
  bool Read_At(int64_t offset, uint8_t* buffer, int64_t length) {
    if (handle_ < 0 || offset < 0 || length < 0 || offset > size_ || length > size_ - offset) return false;
    File_Seek(wx_, handle_, int32_t(offset), kSeekStart);
    if (File_Last_Result(wx_) != 0) return false;
    return File_Read(wx_, handle_, buffer, int(length)) == length;
  }

 private:
  Wendax& wx_;
  int64_t size_;
  int handle_;
};

bool Tag_Equal(const uint8_t* tag, std::string_view id) {
  if (id.size() != 4) return false;
  for (size_t i = 0; i < 4; ++i)
    if (Text_Fold(char(tag[i])) != Text_Fold(id[i])) return false;
  return true;
}

bool Find_Chunk(ReadFile& file, std::string_view id, int64_t* start, int64_t* end) {
  if (*end > file.Size()) return false;
  int64_t position = *start;
  while (position >= 0 && position < *end) {
    uint8_t header[8];
    if (!file.Read_At(position, header, 8)) return false;  // also a start at or past the file's end
    uint32_t size = Le_U32(header + 4);
    if (Tag_Equal(header, id)) {
      *start = position;
      *end = position + int64_t(size) + 8;
      return true;
    }
    if (size == 0) return false;
    position += int64_t(size) + 8;
  }
  return false;
}

// The header and data offset of a WAVE file, data size cut to the file.
std::optional<Wav_Info> Read_Header(ReadFile& file) {
  int64_t riff_start = 0;
  int64_t riff_end = file.Size();
  if (!Find_Chunk(file, "RIFF", &riff_start, &riff_end)) return std::nullopt;
  Wav_Info info;
  uint8_t form[4];
  if (!file.Read_At(8, form, 4)) return std::nullopt;
  std::copy(form, form + 4, info.form_type.begin());

  int64_t fmt_start = 12;
  int64_t fmt_end = riff_end;
  uint8_t fmt[kWavFormatBytes];
  if (!Find_Chunk(file, "fmt ", &fmt_start, &fmt_end)) return std::nullopt;
  if (fmt_end - fmt_start - 8 < int64_t(kWavFormatBytes)) return std::nullopt;
  if (!file.Read_At(fmt_start + 8, fmt, kWavFormatBytes)) return std::nullopt;
  info.format_tag = Le_U16(fmt);
  info.channels = Le_U16(fmt + 2);
  info.rate = Le_U32(fmt + 4);
  info.bytes_per_second = Le_U32(fmt + 8);
  info.block_align = Le_U16(fmt + 12);
  info.bits = Le_U16(fmt + 14);

  int64_t data_start = 12;
  int64_t data_end = riff_end;
  if (!Find_Chunk(file, "data", &data_start, &data_end)) return std::nullopt;
  info.data_offset = data_start + 8;
  int64_t present = std::max<int64_t>(file.Size() - info.data_offset, 0);
  info.data_size = uint32_t(std::min<int64_t>(data_end - info.data_offset, present));

  if (!Tag_Equal(form, "WAVE")) return std::nullopt;
  return info;
}

int Clamp_To_Int(uint32_t value) { return int(std::min<uint32_t>(value, INT32_MAX)); }

}  // namespace

bool Wav_Find_Chunk(Wendax& wx, std::string_view path, std::string_view id, int64_t* start, int64_t* end) {
  ReadFile file(wx, path);
  return file.Is_Open() && Find_Chunk(file, id, start, end);
}

std::optional<Wav_Info> Wav_Read_Info(Wendax& wx, std::string_view path) {
  ReadFile file(wx, path);
  if (!file.Is_Open()) return std::nullopt;
  return Read_Header(file);
}

std::optional<Sample> Wav_Load(Wendax& wx, std::string_view path) {
  ReadFile file(wx, path);
  if (!file.Is_Open()) return std::nullopt;
  std::optional<Wav_Info> info = Read_Header(file);
  if (!info) return std::nullopt;
  Sample sample;
  sample.name.assign(path.substr(0, kSampleNameFromPath));
  sample.rate = Clamp_To_Int(info->rate);
  sample.bits = info->bits;
  sample.stereo = info->channels != 1 ? 1 : 0;
  sample.data.resize(info->data_size);
  if (!file.Read_At(info->data_offset, sample.data.data(), int64_t(sample.data.size()))) return std::nullopt;
  return sample;
}
