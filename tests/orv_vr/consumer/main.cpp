// Draws one view with the installed library: the tile store filled with one
// value must show that value across the whole viewport.
#include <orv_vr/orv_vr.h>

#include <cstdio>
#include <vector>

int main() {
  const int width = 64, height = 48;
  ORV_VR vr;
  if (vr.Init_Resolution(0, 0, width, height, width, 1) != 1 || !vr.Buffer()) return 1;
  for (int i = 0; i < 24 * 65536; ++i) vr.Buffer()[i] = 0x1234;
  std::vector<unsigned short> frame(width * height, 0);
  vr.Draw(frame.data(), -1.5707964f, 1.5707964f, 0.0f, 1.5707964f);
  int shown = 0;
  for (unsigned short p : frame) shown += p == 0x1234;
  std::printf("%d of %d pixels drawn\n", shown, width * height);
  return shown == width * height ? 0 : 2;
}
