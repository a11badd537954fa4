#include "engine/media/movie_overlays.h"

#include <algorithm>
#include <cstdio>

#include "engine/engine.h"
#include "host/path_resolve.h"
#include "platform/input/frame_clock.h"
#include "scene/scene_table.h"

ZqmClock Movie_Clock(Engine& engine) {
  Wendax* wx = &engine.wx;
  return [wx] { return int64_t(Wendax_Tick_Ms(*wx)); };
}

namespace {

// The whole file, or nothing when it cannot be read completely.
bool Read_All(std::FILE* file, int64_t size, std::vector<uint8_t>& data) {
  data.resize(size_t(size));
  return size == 0 || std::fread(data.data(), 1, data.size(), file) == data.size();
}

}  // namespace

bool Movie_Add_Overlay(Engine& engine, const std::string& file, int x, int y, int loops) {
  std::vector<MovieOverlay>& list = engine.movies.overlays;
  if (list.empty() || list.back().movie) list.emplace_back();
  MovieOverlay& node = list.back();
  node = MovieOverlay{};
  node.movie.reset(Zqm_New(Movie_Clock(engine)));
  if (!node.movie) return false;
  ZQM_OPEN_OPTIONS options;
  options.loops = loops;
  const std::string path = Path_Resolve(file);
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) {
    node.movie.reset();
    return false;
  }
  int opened = -1;
  if (std::fseek(in, 0, SEEK_END) == 0) {
    const int64_t size = std::ftell(in);
    std::rewind(in);
    if (size > kOverlayMemoryMax) {
      std::fclose(in);
      in = nullptr;
      opened = node.movie->Open_File(path.c_str(), options);
    } else if (size >= 0 && Read_All(in, size, node.data)) {
      opened = node.movie->Open_Memory(node.data.data(), node.data.size(), options);
    }
  }
  if (in) std::fclose(in);
  if (opened != 0) {
    node.movie.reset();
    node.data.clear();
    return false;
  }
  if (node.movie->Stream_Count(ZQM_STREAM_VIDEO) < 1) return false;
  const ZQM_STREAM_DESC video = node.movie->Stream_Description(0, ZQM_STREAM_VIDEO);
  node.width = video.width;
  node.height = video.height;
  node.movie->Enable_Stream(0, ZQM_STREAM_VIDEO);
  node.x = x;
  node.y = y;
  return true;
}

void Movie_Draw_Overlays(Engine& engine) {
  uint16_t* picture = Scene_Still_Pixels(engine.run.scene);
  std::vector<uint16_t>& frame = engine.movies.overlay_frame;
  for (MovieOverlay& node : engine.movies.overlays) {
    if (!node.movie || node.width <= 0 || node.height <= 0) continue;
    if ((node.movie->Frame_Due() & 0xFF) && picture) {
      // Through a buffer of the movie's size, so that any position clips.
      frame.resize(size_t(node.width) * size_t(node.height));
      if (node.movie->Draw_Frame(0, 0, 0, node.width, node.height, node.width * 2, frame.data(),
                                 ZQM_FORMAT_565)) {
        const int x0 = std::max(node.x, 0),
                  x1 = int(std::min<int64_t>(int64_t(node.x) + node.width, kSceneStillWidth));
        const int y0 = std::max(node.y, 0),
                  y1 = int(std::min<int64_t>(int64_t(node.y) + node.height, kSceneStillHeight));
        for (int row = y0; row < y1 && x0 < x1; ++row)
          std::copy_n(frame.data() + size_t(row - node.y) * size_t(node.width) + size_t(x0 - node.x),
                      size_t(x1 - x0), picture + size_t(row) * kSceneStillWidth + size_t(x0));
      }
    }
    node.movie->Running();
  }
}

void Movie_Free_Overlays(Engine& engine) { engine.movies.overlays.clear(); }
