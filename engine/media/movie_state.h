// The movies of the current still picture: ZQM overlays in the order they
// were added, each drawn into the picture when its frame is due. Lives in
// Engine; emptied whenever a warp picture loads.
#pragma once

#include <memory>
#include <vector>

#include "zqm/zqm.h"

struct ZqmDeleter {
  void operator()(ZQMovie* movie) const { Zqm_Delete(movie); }
};
using ZqmPtr = std::unique_ptr<ZQMovie, ZqmDeleter>;

struct MovieOverlay {
  ZqmPtr movie;               // none after a failed open
  std::vector<uint8_t> data;  // the file in memory; empty when opened by name
  int width = 0;
  int height = 0;
  int x = 0;
  int y = 0;
};

struct MovieState {
  std::vector<MovieOverlay> overlays;
  std::vector<uint16_t> overlay_frame;  // one overlay's frame before it is clipped into the picture
};
