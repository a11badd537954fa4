// kvrtool movie: makes ZQM movies from PNG frames and a WAV file.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sound/wav_file.h"
#include "platform/wendax.h"
#include "tools/file_io.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/movie_writer.h"
#include "tools/png_file.h"

namespace {

constexpr uint64_t kPngFileMax = uint64_t(1) << 30;

bool Png_Name(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
  return ext == ".png";
}

bool Read_Frames(const std::string& folder, MovieContent& content, std::string& error) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.is_regular_file() && Png_Name(entry.path())) files.push_back(entry.path());
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
      error = path.string() + " is not the size of the first frame";
      return false;
    }
    std::vector<uint8_t> rgb(size_t(image.width) * size_t(image.height) * 3);
    for (size_t i = 0; i < rgb.size() / 3; ++i) std::copy_n(&image.rgba[4 * i], 3, &rgb[3 * i]);
    content.frames.push_back(std::move(rgb));
  }
  return true;
}

// The WAV's sound as 16-bit samples.
bool Read_Track(const std::string& path, MovieTrack& track, std::string& error) {
  Wendax wx;
  std::optional<Sample> sample = Wav_Load(wx, path);
  if (!sample || (sample->bits != 8 && sample->bits != 16) || sample->rate < 1) {
    error = path + " is no 8- or 16-bit PCM WAV file";
    return false;
  }
  track.rate = sample->rate;
  track.channels = sample->stereo ? 2 : 1;
  const std::vector<uint8_t>& d = sample->data;
  if (sample->bits == 8)
    for (uint8_t b : d) track.samples.push_back(int16_t((int(b) - 128) << 8));
  else
    for (size_t i = 0; i + 1 < d.size(); i += 2) track.samples.push_back(int16_t(d[i] | d[i + 1] << 8));
  track.samples.resize(track.samples.size() / size_t(track.channels) * size_t(track.channels));
  return true;
}

int Run_Make(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {{"audio", true}, {"fps", true}}, parsed, error))
    return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 2) return Command_Usage_Fail(self, "movie make expects FRAMES_DIR and OUT");
  MovieContent content;
  if (const std::string* v = parsed.Value("fps")) {
    if (v->empty() || v->size() > 4 || v->find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(*v) < 1 || std::stoi(*v) > 1000)
      return Command_Usage_Fail(self, "--fps takes 1 to 1000 frames a second");
    content.frames_per_second = std::stoi(*v);
  }
  if (!Read_Frames(parsed.operands[0], content, error)) return Command_Fail(self, error);
  if (const std::string* audio = parsed.Value("audio")) {
    MovieTrack track;
    if (!Read_Track(*audio, track, error)) return Command_Fail(self, error);
    content.audio.push_back(std::move(track));
  }
  const std::string& out = parsed.operands[1];
  if (!Movie_File_Write(content, out, error)) return Command_Fail(self, error);
  std::string report = "wrote " + out + ": ZQM movie, " + std::to_string(content.width) + " x " +
                       std::to_string(content.height) + ", " + std::to_string(content.frames.size()) +
                       " frames at " + std::to_string(content.frames_per_second) + " a second";
  report += content.audio.empty() ? ", no sound\n"
                                  : ", sound " + std::to_string(content.audio[0].rate) + " Hz " +
                                        (content.audio[0].channels == 2 ? "stereo\n" : "mono\n");
  return Command_Print(report) ? 0 : 1;
}

int Run_Movie(const Command& self, const std::vector<std::string>& args) {
  if (args.empty()) return Command_Usage_Fail(self, "expects make");
  if (args[0] == "make") return Run_Make(self, std::vector<std::string>(args.begin() + 1, args.end()));
  return Command_Usage_Fail(self, "unknown movie command \"" + args[0] + "\"");
}

}  // namespace

const Command kMovieCommand = {
    "movie",
    "make ZQM movies",
    "Usage: kvrtool movie make FRAMES_DIR [--audio WAV] [--fps N] OUT\n",
    "A ZQM movie is a file the engine's movie library plays with FFmpeg; the\n"
    "block statements play_movie and add_zqm_movie_bloc show it full screen\n"
    "or over a still picture.\n"
    "\n"
    "make     takes the PNG files of FRAMES_DIR in name order as the frames\n"
    "         (all of one size; alpha is not read), N a second (1 to 1000,\n"
    "         default 15), and writes OUT as Matroska with lossless FFV1\n"
    "         video and, with --audio, the WAV file's sound (8 or 16 bits,\n"
    "         mono or stereo) as a 16-bit PCM track.\n"
    "\n"
    "Frames of different sizes, a WAV file that cannot be read or an\n"
    "encoder FFmpeg lacks are errors (exit status 1); OUT is only ever\n"
    "replaced by a complete file.\n",
    Run_Movie,
};
