// The input as an MTRD video in memory: opened, then decoded frame by frame
// through one whole pass and into the next. The counter must run 1, 2, ...,
// F, then 0; frames and sound blocks stay inside their buffers.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "pictures/mtrd/mtrd_video.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Wendax wx;
  Memory_File_Add(wx, "in.mtd", data, size);
  std::unique_ptr<Video> video = Video_Open(wx, "in.mtd");
  if (!video) return 0;
  const int64_t frames = video->info.header.frame_count;
  const int64_t calls = std::min<int64_t>(frames + 3, 40);
  for (int64_t i = 0; i < calls; ++i) {
    const int64_t expected = (i % (frames + 1)) + 1 > frames ? 0 : (i % (frames + 1)) + 1;
    if (Video_Next_Frame(*video) != expected) __builtin_trap();
  }
  Video_Close(std::move(video));
  return 0;
}
