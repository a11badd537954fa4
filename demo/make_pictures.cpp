// Makes the pictures of the sample game from its zone files: the menu and
// the letter as 640 x 480 TGA stills, the two default cursors as PCX, the
// launcher's splash bitmap, and
// the hall and the study as six cube faces each (PNG), which kvrtool vr
// build turns into panorama files. Every zone is painted where the engine's
// hit test finds it, so what the player sees is what the player can click.
//
//   demo_pictures SAMPLE_DIR DISC_DIR FACES_DIR
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/run/view.h"
#include "engine/script/zone_file.h"
#include "kvr_read/kvr_read.h"
#include "orv_vr/cube.h"
#include "pictures/picture.h"
#include "platform/wendax.h"
#include "tools/face_strip.h"
#include "tools/file_io.h"
#include "tools/picture_writers.h"
#include "tools/png_file.h"

namespace {

using Rgb = std::array<uint8_t, 3>;

// One colour for each zone of a warp, in zone order.
constexpr Rgb kZoneColours[] = {{170, 110, 50}, {230, 200, 60}, {240, 240, 225}, {90, 160, 220}};

bool Write(const std::string& path, std::span<const uint8_t> bytes) {
  std::string error;
  if (Write_File_Atomic(path, bytes, error)) return true;
  std::fprintf(stderr, "demo_pictures: %s\n", error.c_str());
  return false;
}

std::vector<ZONE> Zones(Wendax& wx, const std::string& path) { return Zone_File_Read(wx, path).zones; }

// A still picture: a background with bands, the zones painted over it.
bool Still(Wendax& wx, const std::string& sample, const std::string& zone_file, Rgb background,
           const std::string& out) {
  std::vector<ZONE> zones = Zones(wx, sample + "/" + zone_file);
  PicturePtr picture = Picture_New("still", 640, 480, 24);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      Rgb c = background;
      if ((y / 24) % 2) c = {uint8_t(c[0] * 7 / 8), uint8_t(c[1] * 7 / 8), uint8_t(c[2] * 7 / 8)};
      for (size_t k = 0; k < zones.size(); ++k) {
        ZONE z = zones[k];
        if (Zone_Hit_Pic(z, x, y) == 2) c = kZoneColours[k % std::size(kZoneColours)];
      }
      std::copy(c.begin(), c.end(), picture->pixels.begin() + (size_t(y) * 640 + size_t(x)) * 3);
    }
  }
  PictureFile file = Tga_Write(*picture);
  return file.ok() && Write(out, file.bytes);
}

// A cursor: an 8-bit picture whose index 0 (black) is transparent.
bool Cursor(const std::string& out, bool active) {
  PicturePtr picture = Picture_New("cursor", 24, 24, 8);
  picture->palette[3] = picture->palette[4] = picture->palette[5] = 255;  // 1: white
  picture->palette[6] = 230;                                              // 2: red
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      const int dx = x - 12, dy = y - 12;
      uint8_t v = 0;
      if (active ? (dx * dx + dy * dy <= 100 && dx * dx + dy * dy >= 49)
                 : (std::abs(dx) <= 1 || std::abs(dy) <= 1))
        v = 1;
      if (active && dx * dx + dy * dy <= 4) v = 2;
      if (!active && std::abs(dx) > 9) v = 0;
      if (!active && std::abs(dy) > 9) v = 0;
      picture->pixels[size_t(y) * 24 + size_t(x)] = v;
    }
  }
  PictureFile file = Pcx_Write(*picture);
  return file.ok() && Write(out, file.bytes);
}

// A panorama: every texel of the strip coloured by its direction (walls,
// floor and ceiling, a mark every eighth of a turn) and by the zones the
// engine's hit test finds there.
bool Panorama(Wendax& wx, const std::string& sample, const std::string& zone_file, Rgb wall,
              const std::string& faces_dir) {
  using namespace orv_vr_internal;
  std::vector<ZONE> zones = Zones(wx, sample + "/" + zone_file);
  Zones_To_Grid(zones);
  std::array<Point3, kCornerCount> corners;
  std::array<Quad, kTileCount> quads;
  Build_Cube(corners, quads, nullptr);
  std::vector<uint8_t> strip(kStripBytes);
  for (int k = 0; k < kTileCount; ++k) {
    const Point3 tl = corners[quads[size_t(k)].corner[0]];
    const Point3 tr = corners[quads[size_t(k)].corner[1]];
    const Point3 bl = corners[quads[size_t(k)].corner[3]];
    for (int v = 0; v < kFaceTileSize; ++v) {
      for (int u = 0; u < kFaceTileSize; ++u) {
        const float s = float(u) / 254.0f, t = float(v) / 254.0f;
        const float x = tl.x + s * (tr.x - tl.x) + t * (bl.x - tl.x);
        const float y = tl.y + s * (tr.y - tl.y) + t * (bl.y - tl.y);
        const float z = tl.z + s * (tr.z - tl.z) + t * (bl.z - tl.z);
        // The engine looks along (cos a' sin b, -sin a' sin b, -cos b) with
        // a' its yaw less a quarter turn and b its pitch plus a quarter turn.
        const float length = std::sqrt(x * x + y * y + z * z);
        const float b = std::acos(-z / length);
        const float a = std::atan2(-y, x) + kQuarterTurn;
        const int32_t yaw = int32_t(std::lround(a * kRadiansToUnits)) & kAngleMask;
        const int32_t pitch = int32_t(std::lround((b - kQuarterTurn) * kRadiansToUnits));
        Rgb c = wall;
        if (pitch < -900) c = {70, 60, 50};     // floor
        if (pitch > 1100) c = {200, 200, 190};  // ceiling
        if (std::abs(pitch) < 12) c = {40, 40, 40};
        if (yaw % 1024 < 10) c = {30, 30, 30};
        for (size_t n = 0; n < zones.size(); ++n)
          if (Zone_Hit_Vr(zones[n], pitch, yaw) == 2) c = kZoneColours[n % std::size(kZoneColours)];
        uint8_t* p = strip.data() + ((size_t(k) * kFaceTileSize + size_t(v)) * kStripWidth + size_t(u)) * 4;
        p[0] = c[2], p[1] = c[1], p[2] = c[0], p[3] = 0;
      }
    }
  }
  std::array<std::vector<RGB>, kFaceCount> faces;
  RGB* pointers[kFaceCount];
  for (int f = 0; f < kFaceCount; ++f) {
    faces[size_t(f)].resize(size_t(kFaceSize) * kFaceSize);
    pointers[f] = faces[size_t(f)].data();
  }
  Kvr_Remap(pointers, strip.data());
  for (int f = 0; f < kFaceCount; ++f) {
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(kFaceSize) * kFaceSize * 3);
    for (const RGB& p : faces[size_t(f)]) rgb.insert(rgb.end(), {p.r, p.g, p.b});
    std::vector<uint8_t> png;
    std::string error;
    if (!Png_Encode_Rgb(kFaceSize, kFaceSize, rgb, png, error)) {
      std::fprintf(stderr, "demo_pictures: %s\n", error.c_str());
      return false;
    }
    if (!Write(faces_dir + "/" + std::string(kFaceNames[size_t(f)]) + ".png", png)) return false;
  }
  return true;
}

// The launcher's splash: a 320 x 200 bitmap, night blue fading to amber,
// with a disc-like ring in the middle.
bool Splash(const std::string& out) {
  PicturePtr picture = Picture_New("splash", 320, 200, 24);
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 320; ++x) {
      const double t = y / 199.0, d = std::hypot(x - 160.0, y - 100.0);
      Rgb c = {uint8_t(40 + 192 * t), uint8_t(48 + 128 * t), uint8_t(70 - 6 * t)};
      if (d > 50 && d < 70) c = {232, 224, 200};
      std::copy(c.begin(), c.end(), picture->pixels.begin() + (size_t(y) * 320 + size_t(x)) * 3);
    }
  }
  PictureFile file = Bmp_Write(*picture);
  return file.ok() && Write(out, file.bytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: demo_pictures SAMPLE_DIR DISC_DIR FACES_DIR\n");
    return 2;
  }
  const std::string sample = argv[1], disc = argv[2], faces = argv[3];
  Wendax wx;
  const bool ok = Still(wx, sample, "menu.zon", {40, 45, 70}, disc + "/MENU.TGA") &&
                  Still(wx, sample, "letter.zon", {235, 225, 195}, disc + "/LETTER.TGA") &&
                  Splash(disc + "/Launch/splash.bmp") && Cursor(disc + "/cursor1.pcx", false) &&
                  Cursor(disc + "/cursor2.pcx", true) &&
                  Panorama(wx, sample, "hall.zon", {120, 90, 70}, faces + "/hall") &&
                  Panorama(wx, sample, "study.zon", {60, 90, 80}, faces + "/study");
  return ok ? 0 : 1;
}
