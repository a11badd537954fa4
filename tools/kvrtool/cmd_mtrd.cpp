// kvrtool mtrd: makes MTRD videos from PNG frames and a WAV file, and tells
// what a video holds.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "pictures/mtrd/mtrd_video.h"
#include "pictures/picture_bytes.h"
#include "platform/sound/wav_file.h"
#include "platform/wendax.h"
#include "tools/file_io.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/mtrd_writer.h"
#include "tools/png_file.h"

namespace {

constexpr uint64_t kPngFileMax = uint64_t(1) << 30;

bool Parse_Int(const std::string& text, int32_t min, int32_t max, int32_t& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::stoi(text);
  return value >= min && value <= max;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return text;
}

// The PNG files of the folder in name order, as RGB565 frames of one size.
bool Read_Frames(const std::string& folder, MtrdVideoContent& content, std::string& error) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.is_regular_file() && Lower(entry.path().extension().string()) == ".png")
      files.push_back(entry.path());
  if (ec) {
    error = "cannot read the folder " + folder + ": " + ec.message();
    return false;
  }
  if (files.empty()) {
    error = folder + " holds no PNG frames";
    return false;
  }
  std::sort(files.begin(), files.end());
  for (const std::filesystem::path& path : files) {
    std::vector<uint8_t> bytes;
    RgbaImage image;
    if (!Read_Whole_File(path.string(), kPngFileMax, bytes, error) || !Png_Decode(bytes, image, error)) {
      error = path.string() + ": " + error;
      return false;
    }
    if (content.frames.empty()) {
      content.width = image.width;
      content.height = image.height;
    } else if (image.width != content.width || image.height != content.height) {
      error = path.string() + " is " + std::to_string(image.width) + " x " + std::to_string(image.height) +
              ", the first frame " + std::to_string(content.width) + " x " + std::to_string(content.height);
      return false;
    }
    std::vector<uint8_t> frame(size_t(image.width) * size_t(image.height) * 2);
    for (size_t i = 0; i < frame.size() / 2; ++i) {
      const uint16_t p = Rgb_To_565(image.rgba[4 * i], image.rgba[4 * i + 1], image.rgba[4 * i + 2]);
      frame[2 * i] = uint8_t(p);
      frame[2 * i + 1] = uint8_t(p >> 8);
    }
    content.frames.push_back(std::move(frame));
  }
  return true;
}

// The WAV's PCM; 16-bit mono for version 1280, which stores nothing else.
bool Read_Sound(const std::string& path, MtrdVideoContent& content, std::string& error) {
  Wendax wx;
  std::optional<Sample> sample = Wav_Load(wx, path);
  if (!sample || (sample->bits != 8 && sample->bits != 16) || sample->rate < 1) {
    error = path + " is no 8- or 16-bit PCM WAV file";
    return false;
  }
  content.sample_rate = sample->rate;
  content.bits = sample->bits;
  content.stereo = sample->stereo;
  content.pcm = std::move(sample->data);
  if (content.version != 1280 || (content.bits == 16 && content.stereo == 0)) return true;
  const size_t step = size_t(content.bits / 8) * (content.stereo ? 2 : 1);
  std::vector<uint8_t> mono;
  for (size_t i = 0; i + step <= content.pcm.size(); i += step) {
    int32_t sum = 0;
    for (size_t c = 0; c < (content.stereo ? 2u : 1u); ++c) {
      const uint8_t* s = &content.pcm[i + c * size_t(content.bits / 8)];
      sum += content.bits == 8 ? (int32_t(s[0]) - 128) << 8 : int16_t(s[0] | s[1] << 8);
    }
    const int16_t v = int16_t(sum / (content.stereo ? 2 : 1));
    mono.push_back(uint8_t(v));
    mono.push_back(uint8_t(uint16_t(v) >> 8));
  }
  content.pcm = std::move(mono);
  content.bits = 16;
  content.stereo = 0;
  return true;
}

int Run_Make(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {{"audio", true}, {"fps", true}, {"version", true}, {"pack", true}}, parsed,
                       error))
    return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 2) return Command_Usage_Fail(self, "mtrd make expects FRAMES_DIR and OUT");
  MtrdVideoContent content;
  if (const std::string* v = parsed.Value("fps"); v && !Parse_Int(*v, 1, 1000, content.frames_per_second))
    return Command_Usage_Fail(self, "--fps takes 1 to 1000 frames a second");
  if (const std::string* v = parsed.Value("version"); v && !Parse_Int(*v, 1280, 1284, content.version))
    return Command_Usage_Fail(self, "--version takes 1280 to 1284");
  if (const std::string* v = parsed.Value("pack"); v && !Parse_Int(*v, 6, 7, content.pack_method))
    return Command_Usage_Fail(self, "--pack takes 6 or 7");
  if (!Read_Frames(parsed.operands[0], content, error)) return Command_Fail(self, error);
  if (const std::string* audio = parsed.Value("audio"); audio && !Read_Sound(*audio, content, error))
    return Command_Fail(self, error);
  std::vector<uint8_t> bytes;
  if (!Mtrd_Video_Bytes(content, bytes, error)) return Command_Fail(self, error);
  const std::string& out = parsed.operands[1];
  if (!Write_File_Atomic(out, bytes, error)) return Command_Fail(self, error);
  std::string report = "wrote " + out + ": MTRD video " + std::to_string(content.version) + ", " +
                       std::to_string(content.width) + " x " + std::to_string(content.height) + ", " +
                       std::to_string(content.frames.size()) + " frames at " +
                       std::to_string(content.frames_per_second) + " a second";
  report += content.sample_rate ? ", sound " + std::to_string(content.sample_rate) + " Hz\n" : ", no sound\n";
  return Command_Print(report) ? 0 : 1;
}

int Run_Info(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {}, parsed, error)) return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 1) return Command_Usage_Fail(self, "mtrd info expects FILE");
  const std::string& path = parsed.operands[0];
  Wendax wx;
  std::unique_ptr<Video> video = Video_Open(wx, path);
  if (!video) return Command_Fail(self, path + " is no MTRD video a player can open");
  const MtrdHeader& h = video->info.header;
  const MtrdSound& s = video->info.sound;
  // One pass through the frames: how many "ANIM" and "SAMP" chunks it finds.
  int32_t frames_read = 0;
  while (Video_Next_Frame(*video) != 0) ++frames_read;
  std::string report = path + ": MTRD video, version " + std::to_string(h.version) + "\n";
  report += "name: " + h.name + "\n";
  report += "size: " + std::to_string(h.width) + " x " + std::to_string(h.height) + ", depth " +
            std::to_string(h.depth) + ", pack method " + std::to_string(h.pack_method) + "\n";
  report += "frames: " + std::to_string(h.frame_count) + " (" + std::to_string(frames_read) + " decoded), " +
            std::to_string(s.frames_per_second) + " a second\n";
  if (s.sample_rate)
    report += "sound: " + std::to_string(s.sample_rate) + " Hz, " + std::to_string(s.bits) + " bits, " +
              (s.stereo ? "stereo" : "mono") + ", pack method " +
              std::to_string(h.version == 1280 ? 3 : s.pack_method) + ", " +
              std::to_string(video->info.sound_bytes_per_frame) + " bytes a frame\n";
  else
    report += "sound: none\n";
  return Command_Print(report) ? 0 : 1;
}

int Run_Mtrd(const Command& self, const std::vector<std::string>& args) {
  if (args.empty()) return Command_Usage_Fail(self, "expects make or info");
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "make") return Run_Make(self, rest);
  if (args[0] == "info") return Run_Info(self, rest);
  return Command_Usage_Fail(self, "unknown mtrd command \"" + args[0] + "\"");
}

}  // namespace

const Command kMtrdCommand = {
    "mtrd",
    "make MTRD videos and tell what they hold",
    "Usage: kvrtool mtrd make FRAMES_DIR [--audio WAV] [--fps N] [--version V] [--pack 6|7] OUT\n"
    "       kvrtool mtrd info FILE\n",
    "An MTRD video holds frames of 16-bit RGB565 pixels, each packed as the\n"
    "difference to the frame before it, and optionally a block of sound per\n"
    "frame; the script command PLAYVIDEO plays it centred on the screen.\n"
    "\n"
    "make     takes the PNG files of FRAMES_DIR in name order as the frames\n"
    "         (all of one size; alpha is not read) and writes OUT: version V\n"
    "         (1280 to 1284, default 1283), N frames a second (1 to 1000,\n"
    "         default 15), frames packed with method 6 (default) or 7. With\n"
    "         --audio, the WAV file's PCM (8 or 16 bits, mono or stereo) is cut\n"
    "         into one block a frame, the last completed with silence and\n"
    "         sound beyond the last frame dropped; version 1280 stores 16-bit\n"
    "         mono (other sound is mixed down), versions 1280 and 1284 at 16\n"
    "         bits store step codes that follow the samples closely. Every\n"
    "         frame gets an animation chunk, so a video of one frame plays.\n"
    "\n"
    "info     prints the version, name, size, depth, pack method, frame\n"
    "         count (and how many frames one pass decodes), the frame rate\n"
    "         and the sound parameters with the bytes of sound a frame.\n"
    "\n"
    "A file that is no video, frames of different sizes or a WAV file that\n"
    "cannot be read are errors (exit status 1); OUT is only ever replaced by\n"
    "a complete file.\n",
    Run_Mtrd,
};
