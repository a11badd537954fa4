// A program built against liborv_vr.so from the class's documented
// declaration alone, written here exactly as it is documented, without the
// installed header: it links only when the library exports those very
// signatures.
#include <cstdio>
#include <vector>

class ORV_VR {
 public:
  ORV_VR();
  ~ORV_VR();
  ORV_VR& operator=(const ORV_VR&);
  int Init_Resolution(float left, float top, float width, float height, int dest_width, float spare);
  void Draw(unsigned short* dest, float yaw, float tilt, float roll, float fov);
  unsigned short* Buffer();

 private:
  void* state;
};

int main() {
  const int width = 32, height = 24;
  ORV_VR vr;
  ORV_VR other;
  other = vr;
  if (vr.Init_Resolution(0, 0, width, height, width, 1) != 1 || !other.Buffer()) return 1;
  for (int i = 0; i < 24 * 65536; ++i) other.Buffer()[i] = 0x0F0F;
  std::vector<unsigned short> frame(width * height, 0);
  vr.Draw(frame.data(), -1.5707964f, 1.5707964f, 0.0f, 1.5707964f);
  int shown = 0;
  for (unsigned short p : frame) shown += p == 0x0F0F;
  std::printf("declared interface: %d of %d pixels drawn\n", shown, width * height);
  return shown == width * height ? 0 : 2;
}
