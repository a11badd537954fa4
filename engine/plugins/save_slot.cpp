#include "engine/plugins/save_slot.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "packing/byte_order.h"

namespace {

class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool U32(uint32_t& v) {
    if (bytes_.size() - at_ < 4) return false;
    v = Le_U32(bytes_.data() + at_);
    at_ += 4;
    return true;
  }
  bool Bytes(size_t n, std::vector<uint8_t>& out) {
    if (bytes_.size() - at_ < n) return false;
    out.assign(bytes_.begin() + std::ptrdiff_t(at_), bytes_.begin() + std::ptrdiff_t(at_ + n));
    at_ += n;
    return true;
  }
  bool Part(std::vector<uint8_t>& out) {
    uint32_t n;
    return U32(n) && Bytes(n, out);
  }
  bool Skip(size_t n) {
    if (bytes_.size() - at_ < n) return false;
    at_ += n;
    return true;
  }
  const uint8_t* Here() const { return bytes_.data() + at_; }
  size_t Left() const { return bytes_.size() - at_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

bool Picture_Parse(Cursor& c, SavePicture& picture) {
  if (c.Left() < kSavePictureHeaderSize) return false;
  const uint8_t* h = c.Here();
  if (Le_U32(h) != kSavePictureHeaderSize) return false;
  const int32_t width = Le_I32(h + 4), height = Le_I32(h + 8);
  const uint32_t image_size = Le_U32(h + 20), colours = Le_U32(h + 32);
  if (width <= 0 || height <= 0 || width > kSavePictureMaxSide || height > kSavePictureMaxSide) return false;
  c.Skip(kSavePictureHeaderSize);
  if (colours > c.Left() / 4 || !c.Skip(size_t(colours) * 4)) return false;
  std::vector<uint8_t> bits;
  if (!c.Bytes(image_size, bits)) return false;
  picture = SavePicture::Make(width, height);
  // A stated image size other than the rows' is read as stated and cut or
  // padded to the rows.
  std::copy_n(bits.begin(), std::min(bits.size(), picture.bits.size()), picture.bits.begin());
  return true;
}

void Push_Part(std::vector<uint8_t>& out, const std::vector<uint8_t>& part) {
  Push_Le32(out, uint32_t(part.size()));
  out.insert(out.end(), part.begin(), part.end());
}

}  // namespace

std::string SaveSlot::Text(const std::vector<uint8_t>& part) {
  return std::string(part.begin(), std::find(part.begin(), part.end(), 0));
}

std::vector<std::string> SaveSlot::Date_Lines() const {
  std::vector<std::string> lines;
  auto p = date.begin();
  for (int i = 0; i < 2 && p != date.end(); ++i) {
    auto end = std::find(p, date.end(), 0);
    lines.emplace_back(p, end);
    p = end == date.end() ? end : end + 1;
  }
  return lines;
}

bool Slot_Parse(std::span<const uint8_t> bytes, bool with_context, SaveSlot& slot) {
  Cursor c(bytes);
  SaveSlot read;
  read.path = slot.path;
  const bool ok = c.Part(read.script) && c.Part(read.label) && c.Part(read.date) &&
                  Picture_Parse(c, read.picture) && (!with_context || c.Part(read.context));
  if (!ok) read = SaveSlot{slot.path, {}, {}, {}, {}, {}};
  slot = std::move(read);
  return ok;
}

void Slot_Read(SaveSlot& slot, bool with_context) {
  std::ifstream in(slot.path, std::ios::binary);
  std::vector<uint8_t> bytes;
  if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  Slot_Parse(bytes, with_context, slot);
}

std::vector<uint8_t> Slot_Bytes(const SaveSlot& slot) {
  std::vector<uint8_t> out;
  Push_Part(out, slot.script);
  Push_Part(out, slot.label);
  Push_Part(out, slot.date);
  const std::vector<uint8_t> header = slot.picture.Header_Bytes();
  out.insert(out.end(), header.begin(), header.end());
  out.insert(out.end(), slot.picture.bits.begin(), slot.picture.bits.end());
  Push_Part(out, slot.context);
  return out;
}

std::vector<uint8_t> Slot_Text_Part(const std::string& text) {
  std::vector<uint8_t> part(text.begin(), text.end());
  part.push_back(0);
  return part;
}
