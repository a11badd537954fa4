// Playing an animation of a panorama file once, for tools: frames 0 .. F - 1
// in order, never following the file's loop point.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct AnimationPlayResult {
  bool opened = false;    // the file holds the animation
  int frame_count = 0;    // F, as the animation chunk says
  int frames_played = 0;  // fewer than F when the frame chunks end early
};

// Opens the animation `name` (exactly, case counts) of the panorama file at
// `path` and draws its frames into `picture`, which holds the picture they
// build on (the decoded static picture: 256 x 6144 4-byte pixels when
// `panorama`, else 640 x 480). After each frame, visit(frame index, F)
// sees the whole picture; visit returns false to stop.
AnimationPlayResult Play_Animation_Once(const std::string& path, const std::string& name, bool panorama,
                                        std::vector<uint8_t>& picture,
                                        const std::function<bool(int, int)>& visit);
