#include "engine/media/music_stream.h"

#include <algorithm>

#include "platform/files/file_layer.h"
#include "platform/sound/sound_output.h"

namespace {

void Close_File(Wendax& wx, MusicStream& music) {
  if (music.handle >= 0) File_Close(wx, music.handle);
  music.handle = -1;
}

void Seek_Data(Wendax& wx, const MusicStream& music) {
  File_Seek(wx, music.handle, int32_t(music.info.data_offset), kSeekStart);
}

}  // namespace

void Music_Read_Chunk(Wendax& wx, MusicStream& music) {
  const uint32_t size = music.info.data_size;
  const uint8_t silence = music.info.bits == 8 ? 0x80 : 0x00;
  music.chunk.assign(size_t(kMusicChunkBytes), silence);
  if (size == 0 || music.handle < 0) return;
  size_t filled = 0;
  while (filled < music.chunk.size()) {
    const size_t want = std::min<size_t>(size - music.consumed, music.chunk.size() - filled);
    const int got = File_Read(wx, music.handle, music.chunk.data() + filled, int(want));
    if (got != int(want)) {
      // The file changed under the stream: what is missing stays silent.
      std::fill(music.chunk.begin() + std::ptrdiff_t(filled), music.chunk.end(), silence);
      return;
    }
    filled += want;
    music.consumed += uint32_t(want);
    if (music.consumed == size) {
      music.consumed = 0;
      Seek_Data(wx, music);
    }
  }
}

void Music_Start(Wendax& wx, MusicStream& music, const std::string& path, int volume, int pan) {
  if (Sound_Device_Flag(wx) != 0) return;
  Music_Stop(wx, music);
  std::optional<Wav_Info> info = Wav_Read_Info(wx, path);
  // Data of 0 bytes could never fill a chunk: such a file is refused.
  if (!info || info->data_size == 0) return;
  music.info = *info;
  music.handle = File_Open(wx, path, kFileModeRead);
  if (music.handle < 0) return;
  music.consumed = 0;
  Seek_Data(wx, music);
  Music_Read_Chunk(wx, music);
  if (Stream_Start(wx, music.chunk, int(info->rate), info->bits, info->channels - 1, kMusicStreamBytes,
                   volume, pan) != 0) {
    Close_File(wx, music);
    music.chunk = {};
    return;
  }
  music.open = true;
  Music_Read_Chunk(wx, music);
}

void Music_Refill(Wendax& wx, MusicStream& music, int volume, int pan) {
  if (Sound_Device_Flag(wx) != 0 || !music.open) return;
  if (Stream_Refill(wx, music.chunk, volume, pan) == 1) Music_Read_Chunk(wx, music);
}

void Music_Stop(Wendax& wx, MusicStream& music) {
  if (music.open) Stream_Stop(wx);
  Close_File(wx, music);
  music.open = false;
  music.chunk = {};
  music.info = {};
  music.consumed = 0;
}
