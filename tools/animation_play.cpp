#include "tools/animation_play.h"

#include "dct/dct.h"
#include "kvr_read/kvr_read.h"
#include "kvr_read/kvr_walk.h"

AnimationPlayResult Play_Animation_Once(const std::string& path, const std::string& name, bool panorama,
                                        std::vector<uint8_t>& picture,
                                        const std::function<bool(int, int)>& visit) {
  AnimationPlayResult result;
  const int width = panorama ? KVR_VR_WIDTH : KVR_PIC_WIDTH;
  const size_t bytes = size_t(width) * size_t(panorama ? KVR_VR_HEIGHT : KVR_PIC_HEIGHT) * 4;
  if (picture.size() != bytes) return result;
  KVR_ANIM anim;
  if (!Kvr_Open_Animation(path.c_str(), name.c_str(), &anim)) return result;
  result.opened = true;
  result.frame_count = anim.frame_count;
  auto draw = [&](kvr_walk::FrameBlocks& frame) {
    DCT().Unpack_Bloc_Rgb_32_2(picture.data(), frame.blocks.data(), int(frame.blocks.size()), width,
                               frame.data.data(), int(frame.data.size()), frame.dct_param);
  };
  // Stopping at the end leaves the current frame counting up by one for
  // each frame chunk played, so a skipped chunk of another tag is told
  // apart from a frame.
  bool going = anim.frame_count > 0;
  while (going) {
    const int before = anim.current_frame;
    going = kvr_walk::Play_Frame(anim, true, draw) == 1;
    if (anim.current_frame == before + 1) {
      ++result.frames_played;
      if (!visit(before, anim.frame_count)) break;
    }
  }
  Kvr_Close_Animation(&anim);
  return result;
}
