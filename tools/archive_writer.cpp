#include "tools/archive_writer.h"

#include <algorithm>
#include <filesystem>

#include "packing/byte_order.h"
#include "tools/file_io.h"

namespace {

constexpr size_t kNameMax = 31;
constexpr size_t kNameField = 32;

}  // namespace

std::vector<ArchivePicture> Archive_Index_Order(const std::vector<ArchivePicture>& pictures) {
  std::vector<int32_t> groups;
  for (const ArchivePicture& picture : pictures)
    if (std::find(groups.begin(), groups.end(), picture.file_index) == groups.end())
      groups.push_back(picture.file_index);
  std::vector<ArchivePicture> ordered;
  ordered.reserve(pictures.size());
  for (int32_t group : groups)
    for (const ArchivePicture& picture : pictures)
      if (picture.file_index == group) ordered.push_back(picture);
  return ordered;
}

bool Archive_Index_Bytes(const std::vector<ArchivePicture>& pictures, int32_t file_count,
                         std::vector<uint8_t>& out, std::string& error) {
  out.clear();
  Push_Le32(out, uint32_t(pictures.size()));
  Push_Le32(out, uint32_t(file_count));
  for (const ArchivePicture& picture : Archive_Index_Order(pictures)) {
    if (picture.name.size() > kNameMax || picture.name.find('\0') != std::string::npos) {
      error = "the name \"" + picture.name + "\" is longer than 31 bytes or holds a zero byte";
      return false;
    }
    if (picture.pixels.size() > 0x7FFFFFFF) {
      error = picture.name + ": too many pixels for a 32-bit size";
      return false;
    }
    const size_t at = out.size();
    out.resize(at + kNameField, 0);
    std::copy(picture.name.begin(), picture.name.end(), out.begin() + ptrdiff_t(at));
    for (int32_t field : {picture.left, picture.top, picture.right, picture.bottom, picture.file_index,
                          int32_t(picture.pixels.size() * 2), picture.type})
      Push_Le32(out, uint32_t(field));
  }
  return true;
}

std::vector<uint8_t> Archive_Data_Bytes(const std::vector<ArchivePicture>& pictures, int32_t k) {
  std::vector<uint8_t> out;
  for (const ArchivePicture& picture : Archive_Index_Order(pictures))
    if (picture.file_index == k)
      for (uint16_t pixel : picture.pixels) Push_Le16(out, pixel);
  return out;
}

bool Archive_Write_Folder(const std::string& folder, const std::vector<ArchivePicture>& pictures,
                          int32_t file_count, std::string& error) {
  std::string base = folder;
  if (!base.empty() && base.back() != '/') base += '/';
  std::vector<uint8_t> index;
  if (!Archive_Index_Bytes(pictures, file_count, index, error)) return false;
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) {
    error = "cannot make the folder " + folder + ": " + ec.message();
    return false;
  }
  for (int32_t k = 1; k <= file_count; ++k)
    if (!Write_File_Atomic(base + "BData" + std::to_string(k) + ".arn", Archive_Data_Bytes(pictures, k),
                           error))
      return false;
  return Write_File_Atomic(base + "BDataHeader.vit", index, error);
}
