// A program built against libkvr_read.so from the library's documented
// declaration alone, written here exactly as it is documented (plain
// `char *`, `void *` and `unsigned char *`), without the installed headers:
// it links only when the library exports those very signatures. Every
// function and member is called once on a small file it writes itself.
#include <dct/dct_encode.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

class KVR_FILE {
 public:
  KVR_FILE();
  ~KVR_FILE();
  KVR_FILE& operator=(const KVR_FILE&);
  int Open(char* path, char* mode);
  int Open_Tmp();
  void Close();
  void Get_Chunck(int* tag, int* size);
  void Read_Chunck(int* tag, int* size);
  void Write_Chunck(int tag, int size);
  void Get_Chunck_Data(void* buf, int len);
  void Read(void* buf, int len);
  void Write(void* data, int len);
  void Next_Chunck();
  int Tell();
  void Seek(int pos);

 private:
  FILE* handle;
};

struct RGB {
  unsigned char b, g, r, unused;
};

struct KVR_ANIM {
  char name[32];
  KVR_FILE file;
  int frame_count;
  int current_frame;
  int first_frame_position;
  int next_frame_position;
};

int Kvr_Get_Vr_Type(char* path);
int Kvr_Load_Static_Vr(char* path, unsigned char* dest);
int Kvr_Load_Static_Pic(char* path, unsigned char* dest);
int Kvr_Get_Number_Animation(char* path);
void Kvr_Get_Animation(char* path, char** names);
int Kvr_Open_Animation(char* path, char* name, KVR_ANIM* anim);
int Kvr_Play_Animation(KVR_ANIM* anim, unsigned char* dest, int kind);
void Kvr_Close_Animation(KVR_ANIM* anim);
void Kvr_Remap(RGB* faces[6], unsigned char* strip);

namespace {

const int kChunkFile = 0x12FA84AB;
const int kChunkStaticPic = static_cast<int>(0xA0B1C400u);
const int kChunkAnimation = static_cast<int>(0xA0B1C201u);
const int kChunkFrame = static_cast<int>(0xA0B1C211u);
const int kWidth = 640, kHeight = 480;

int failures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "failed: %s\n", what);
    ++failures;
  }
}

void Write_Int(KVR_FILE& file, int value) {
  unsigned char bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(static_cast<unsigned>(value) >> (8 * i));
  file.Write(bytes, 4);
}

// A still picture and one animation "wave" of one empty frame.
bool Write_File(char* path, std::vector<unsigned char>& data) {
  char mode[] = "wb";
  KVR_FILE file;
  if (!file.Open(path, mode)) return false;
  const int n = static_cast<int>(data.size());
  const int record = 8 + 8 + n;
  const int animation = 8 + 36 + 8;
  file.Write_Chunck(kChunkFile, record + animation);
  file.Write_Chunck(kChunkStaticPic, 8 + n);
  Write_Int(file, 100);
  Write_Int(file, n);
  file.Write(data.data(), n);
  file.Write_Chunck(kChunkAnimation, 36 + 8);
  char name[32] = "wave";
  file.Write(name, 32);
  Write_Int(file, 1);
  file.Write_Chunck(kChunkFrame, 0);
  file.Close();
  return true;
}

// Every reading member once; the walk must reach the animation chunk.
void Walk(char* path) {
  char mode[] = "rb";
  KVR_FILE file, shared, tmp;
  int tag = 0, size = 0;
  unsigned char bytes[8] = {};
  Check(file.Open(path, mode) == 1, "Open");
  file.Read_Chunck(&tag, &size);
  file.Get_Chunck_Data(bytes, 4);
  file.Next_Chunck();
  shared = file;
  const int at = shared.Tell();
  shared.Get_Chunck(&tag, &size);
  Check(tag == kChunkAnimation && size == 44, "the chunk walk");
  file.Read(bytes, 8);
  file.Seek(at);
  Check(file.Tell() == at, "Seek and Tell");
  file.Close();
  Check(tmp.Open_Tmp() == 1, "Open_Tmp");
  tmp.Close();
}

}  // namespace

int main(int argc, char** argv) {
  std::string path_text = std::string(argc > 1 ? argv[1] : ".") + "/declared.kvr";
  std::vector<char> path(path_text.begin(), path_text.end());
  path.push_back(0);
  std::vector<unsigned char> source(kWidth * kHeight * 4, 0x40);
  std::vector<unsigned char> data;
  if (Dct_Encode_Picture(source.data(), kWidth, kHeight, 100, data) != 1) return 1;
  if (!Write_File(path.data(), data)) return 2;

  Walk(path.data());
  Check(Kvr_Get_Vr_Type(path.data()) == 2, "Kvr_Get_Vr_Type");
  std::vector<unsigned char> picture(source.size());
  Check(Kvr_Load_Static_Pic(path.data(), picture.data()) == 1, "Kvr_Load_Static_Pic");
  std::vector<unsigned char> panorama(256 * 6144 * 4);
  Check(Kvr_Load_Static_Vr(path.data(), panorama.data()) == 0, "Kvr_Load_Static_Vr finds no panorama");
  Check(Kvr_Get_Number_Animation(path.data()) == 1, "Kvr_Get_Number_Animation");
  char stored[32] = {};
  char* names[1] = {stored};
  Kvr_Get_Animation(path.data(), names);
  Check(std::strcmp(stored, "wave") == 0, "Kvr_Get_Animation");
  KVR_ANIM anim;
  char wave[] = "wave";
  Check(Kvr_Open_Animation(path.data(), wave, &anim) == 1 && anim.frame_count == 1, "Kvr_Open_Animation");
  Kvr_Play_Animation(&anim, picture.data(), 2);
  Check(anim.current_frame == 1, "Kvr_Play_Animation");
  Kvr_Close_Animation(&anim);
  std::vector<RGB> face_pixels(6 * 512 * 512);
  RGB* faces[6];
  for (int f = 0; f < 6; ++f) faces[f] = face_pixels.data() + f * 512 * 512;
  panorama[0] = 7;
  Kvr_Remap(faces, panorama.data());
  Check(face_pixels[2 * 512 * 512].b == 7, "Kvr_Remap puts tile 0 at the top left of faces[2]");
  std::remove(path.data());
  std::printf("declared interface: %d failures\n", failures);
  return failures == 0 ? 0 : 3;
}
