// The input as a ZQM movie opened from memory through the custom I/O: its
// streams described, its frames drawn into a small and a large destination
// and its sound taken while a virtual clock runs, never reading outside the
// input nor writing outside the destinations.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "zqm/zqm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int64_t now = 0;
  ZQMovie* movie = Zqm_New([&] { return now; });
  if (!movie) return 0;
  const std::vector<uint8_t> input(data, data + size);  // exactly sized, so stray reads show
  ZQM_OPEN_OPTIONS options;
  options.loops = 2;
  if (movie->Open_Memory(input.data(), input.size(), options) == 0) {
    for (int i = 0; i < movie->Stream_Count(ZQM_STREAM_AUDIO); ++i) movie->Enable_Stream(i, ZQM_STREAM_AUDIO);
    movie->Enable_Stream(0, ZQM_STREAM_VIDEO);
    std::vector<uint16_t> small(16 * 8), large(320 * 240);
    for (int step = 0; step < 24 && movie->Running(); ++step, now += 40) {
      movie->Draw_Frame(0, 0, 0, 16, 8, 32, small.data(), ZQM_FORMAT_565);
      movie->Draw_Frame(0, 0, 0, 320, 240, 640, large.data(), ZQM_FORMAT_555);
      std::vector<uint8_t> a(333), b(77);
      for (int i = 0; i < movie->Stream_Count(ZQM_STREAM_AUDIO); ++i)
        if (movie->Audio_Ready(i, ZQM_STREAM_AUDIO))
          movie->Audio_Fill(i, a.data(), int(a.size()), b.data(), int(b.size()));
      movie->Frame_Due();
    }
  }
  Zqm_Delete(movie);
  return 0;
}
