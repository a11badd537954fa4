// Writes a small panorama file holding one still picture with the installed
// KVR_FILE and encoder, then reads it back with Kvr_Get_Vr_Type and
// Kvr_Load_Static_Pic: a uniform grey at quality 100 must come back exact.
#include <dct/dct_encode.h>
#include <kvr_read/kvr_read.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kQuality = 100;
constexpr unsigned char kGrey = 0x6C;

void Put_Le32(unsigned char* p, int value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(static_cast<unsigned>(value) >> (8 * i));
}

bool Write_File(const char* path, const std::vector<unsigned char>& data) {
  const int n = static_cast<int>(data.size());
  unsigned char record[KVR_PICTURE_RECORD_HEADER];
  Put_Le32(record, kQuality);
  Put_Le32(record + 4, n);
  KVR_FILE file;
  if (!file.Open(path, "wb")) return false;
  file.Write_Chunck(KVR_CHUNK_FILE, KVR_CHUNK_HEADER_SIZE + KVR_PICTURE_RECORD_HEADER + n);
  file.Write_Chunck(KVR_CHUNK_STATIC_PIC, KVR_PICTURE_RECORD_HEADER + n);
  file.Write(record, sizeof record);
  file.Write(data.data(), n);
  file.Close();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = std::string(argc > 1 ? argv[1] : ".") + "/still.kvr";
  std::vector<unsigned char> source(KVR_PIC_WIDTH * KVR_PIC_HEIGHT * 4, kGrey);
  for (size_t i = 3; i < source.size(); i += 4) source[i] = 0;
  std::vector<unsigned char> data;
  if (Dct_Encode_Picture(source.data(), KVR_PIC_WIDTH, KVR_PIC_HEIGHT, kQuality, data) != 1) return 1;
  if (!Write_File(path.c_str(), data)) return 2;
  const int type = Kvr_Get_Vr_Type(path.c_str());
  std::vector<unsigned char> picture(source.size(), 0xEE);
  const int loaded = Kvr_Load_Static_Pic(path.c_str(), picture.data());
  std::remove(path.c_str());
  std::printf("type %d, loaded %d, picture %s\n", type, loaded, picture == source ? "as written" : "differs");
  return type == KVR_TYPE_PIC && loaded == 1 && picture == source ? 0 : 3;
}
