// kvr_viewer: the game engine. kvr_viewer --help gives the command line.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/archive/data_archive.h"
#include "engine/engine.h"
#include "engine/plugins/load_save.h"
#include "engine/run/engine_run.h"
#include "engine/run/headless_session.h"
#include "engine/run/session_trace.h"
#include "engine/run/window_icon.h"
#include "engine/script_chain.h"
#include "host/cd_roots.h"
#include "platform/display/display.h"
#include "platform/files/folders.h"
#include "platform/files/memory.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/null_audio.h"
#include "platform/input/input.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_display.h"
#include "platform/wendax.h"

namespace {

constexpr const char* kUsage =
    "Usage: kvr_viewer [--debug] [--trace FILE] [GAME]\n"
    "       kvr_viewer --headless [--session FILE] [--trace FILE] [--shots DIR]\n"
    "                  [--audio FILE.wav | --no-sound] [--frame-ms N] [--max-frames N]\n"
    "                  [--debug] GAME\n"
    "\n"
    "Plays a game: GAME is a folder holding script.lst, or the path of the first\n"
    "script (default: script.lst in the program's folder). Scripts of the chain\n"
    "are looked for in the first script's folder, the program's folder and every\n"
    "CD root.\n"
    "\n"
    "Options:\n"
    "  --headless      play without a screen, on a virtual clock\n"
    "  --session FILE  input events of a headless run, one per line:\n"
    "                  FRAME move DX DY | click | rclick | key NAME | shot NAME | quit\n"
    "  --trace FILE    write the run's warps, tests, plug-in statements and debug\n"
    "                  output as JSON lines\n"
    "  --shots DIR     where the session's screenshots go (DIR/NAME.png)\n"
    "  --audio FILE    write everything the run played as a WAV file (44100 Hz,\n"
    "                  16-bit stereo, silent while the sound output is closed)\n"
    "  --no-sound      play with no sound device, as on a machine without one\n"
    "  --frame-ms N    virtual milliseconds per presented frame (default 20)\n"
    "  --max-frames N  end a headless run after N frames (default 100000)\n"
    "  --debug         print the engine's debug output on stderr\n"
    "  -h, --help      show this text\n"
    "\n"
    "Environment:\n"
    "  KVR_CDROM       folders that count as CD roots (copied discs), separated by ':'\n"
    "  KVR_REGISTRY    the file of the per-user registry store\n"
    "  KVR_PRINTER     file:PATH prints screens as PDF into PATH; else a CUPS printer\n"
    "  SDL_VIDEODRIVER, SDL_AUDIODRIVER  SDL's own choice of display and sound\n"
    "\n"
    "Exit status: 0 when the game ends, 1 when GAME or its first script cannot be\n"
    "found, the display cannot be opened or the sound file cannot be written, 2 on\n"
    "a wrong command line or session file.\n"
    "See docs/headless.md for headless sessions.\n";

struct Options {
  bool headless = false;
  bool debug = false;
  bool no_sound = false;
  std::string session;
  std::string trace;
  std::string shots;
  std::string audio;
  int frame_ms = 20;
  uint64_t max_frames = 100000;
  std::optional<std::string> game;
};

int Usage_Error(const std::string& message) {
  std::fprintf(stderr, "kvr_viewer: %s\nRun \"kvr_viewer --help\" for the options.\n", message.c_str());
  return 2;
}

template <class T>
bool Parse_Number(const std::string& text, T min, T max, T& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 18)
    return false;
  const unsigned long long n = std::stoull(text);
  if (n < static_cast<unsigned long long>(min) || n > static_cast<unsigned long long>(max)) return false;
  value = static_cast<T>(n);
  return true;
}

// The options, or the exit status of a command line that asks for nothing
// to be played (help: 0, an error: 2).
std::optional<int> Parse(int argc, char** argv, Options& o) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string text;
    if (a == "-h" || a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--headless") {
      o.headless = true;
    } else if (a == "--debug") {
      o.debug = true;
    } else if (a == "--no-sound") {
      o.no_sound = true;
    } else if (a == "--session" || a == "--trace" || a == "--shots" || a == "--audio") {
      std::string& out = a == "--session" ? o.session
                         : a == "--trace" ? o.trace
                         : a == "--shots" ? o.shots
                                          : o.audio;
      if (!value(out) || out.empty()) return Usage_Error(a + " needs a value");
    } else if (a == "--frame-ms") {
      if (!value(text) || !Parse_Number(text, 1, 60000, o.frame_ms))
        return Usage_Error("--frame-ms takes a number of milliseconds from 1 to 60000");
    } else if (a == "--max-frames") {
      if (!value(text) || !Parse_Number<uint64_t>(text, 1, uint64_t(1) << 40, o.max_frames))
        return Usage_Error("--max-frames takes a number from 1");
    } else if (a.size() > 1 && a[0] == '-') {
      return Usage_Error("unknown option " + a);
    } else if (o.game) {
      return Usage_Error("one GAME only");
    } else {
      o.game = a;
    }
  }
  if (!o.headless && (!o.session.empty() || !o.shots.empty() || !o.audio.empty()))
    return Usage_Error("--session, --shots and --audio go with --headless");
  if (o.headless && !o.game) return Usage_Error("--headless needs a GAME");
  if (o.no_sound && !o.audio.empty()) return Usage_Error("--audio hears nothing with --no-sound");
  return std::nullopt;
}

std::string Program_Folder() {
  char path[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  std::string folder(path, size_t(length));
  return folder.substr(0, folder.find_last_of('/') + 1);
}

bool Is_Folder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Out of memory anywhere in the process is the platform's fatal error.
void Out_Of_Memory() {
  std::string text = Fatal_Text(0);
  std::fprintf(stderr, "%.*s: %s\n", int(kFatalCaption.size()), kFatalCaption.data(), text.c_str());
  std::_Exit(kFatalExitStatus);
}

// Opens the screen: 640 x 480 x 16, the cursor reset, the title.
bool Open_Screen(Wendax& wx) {
  if (Wendax_Init(wx) != 0) return false;
  Wendax_Request_Mode(wx, kScreenWidth, kScreenHeight, 16);
  if (Wendax_Set_Mode(wx) != 0) return false;
  Wendax_Reset_Cursor(wx);
  Wendax_Set_Title(wx, "Varnokh II");
  const std::vector<uint32_t> icon = Window_Icon();
  Wendax_Set_Icon(wx, kIconSize, kIconSize, icon);
  return true;
}

int Play(const Options& o, const char* program, Wendax& wx, HeadlessDisplay* headless,
         const std::vector<SessionEvent>& events) {
  StartupInfo startup;
  startup.current_folder = Wendax_Get_Folder();
  if (o.game) startup.command_line = Is_Folder(*o.game) && o.game->back() != '/' ? *o.game + "/" : *o.game;
  startup.program_token = program;
  startup.program_folder = Program_Folder();
  startup.cd_roots = Cd_Roots();

  Engine engine(wx);
  if (o.debug)
    engine.debug = [](std::string_view line) {
      std::fprintf(stderr, "%.*s\n", int(line.size()), line.data());
    };
  std::string first = Engine_Startup(engine, startup);
  if (!Find_Script_Dir(engine, Script_Search_Name(first))) {
    if (o.game && Is_Folder(*o.game))
      std::fprintf(stderr, "kvr_viewer: %s holds no %s\n", o.game->c_str(), first.c_str());
    else
      std::fprintf(stderr, "kvr_viewer: cannot find the script %s\n",
                   o.game ? o.game->c_str() : first.c_str());
    return 1;
  }

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> trace_file(nullptr, std::fclose);
  if (!o.trace.empty()) {
    trace_file.reset(std::fopen(o.trace.c_str(), "w"));
    if (!trace_file) {
      std::fprintf(stderr, "kvr_viewer: cannot write the trace %s\n", o.trace.c_str());
      return 1;
    }
  }
  SessionSetup setup;
  setup.trace = trace_file.get();
  setup.display = headless;
  setup.events = events;
  setup.shots_dir = o.shots.empty() ? "" : Folder_From(o.shots, startup.current_folder);
  setup.max_frames = o.headless ? o.max_frames : UINT64_MAX;
  SessionTrace trace(setup);
  engine.trace = &trace;

  if (!Open_Screen(wx)) {
    std::fprintf(stderr, "kvr_viewer: cannot open a 640 x 480 x 16 screen\n");
    return 1;
  }
  engine.archive = std::make_unique<DataArchive>(engine.start_folder);
  engine.archive->Archive_Load_Index();  // a missing archive draws nothing
  MainRunner runner;
  Run_Script_Chain(engine, runner, first);
  LoadSave_Release(engine);
  trace.End(engine);
  engine.trace = nullptr;
  Wendax_Close_Screen(wx);
  Wendax_Close(wx);
  if (!trace.Error().empty()) {
    std::fprintf(stderr, "kvr_viewer: %s\n", trace.Error().c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::set_new_handler(Out_Of_Memory);
  Options o;
  if (std::optional<int> status = Parse(argc, argv, o)) return *status;

  std::vector<SessionEvent> events;
  if (!o.session.empty()) {
    std::ifstream in(o.session, std::ios::binary);
    if (!in) return Usage_Error("cannot read the session " + o.session);
    std::ostringstream text;
    text << in.rdbuf();
    SessionParse parse = Session_Parse(text.str());
    if (!parse.ok()) return Usage_Error(o.session + ": " + parse.error);
    events = std::move(parse.events);
  }

  if (o.headless) {
    HeadlessConfig config;
    // 640 x 480 for the game, and the modes full-screen movies ask for.
    config.modes = {{kScreenWidth, kScreenHeight, 16, 0},
                    {320, 240, 16, 0},
                    {512, 384, 16, 0},
                    {800, 600, 16, 0},
                    {1024, 768, 16, 0},
                    {1280, 1024, 16, 0},
                    {1600, 1200, 16, 0}};
    config.frame_step_ms = o.frame_ms;
    config.frames_kept = 1;
    HeadlessDisplay display(config);
    Session_Post_Input(events, display);
    Wendax wx(display);
    // The null sound card follows the virtual clock of the display.
    o.audio = Folder_From(o.audio, Wendax_Get_Folder());
    auto device = std::make_unique<NullAudio>(kSoundDeviceRate);
    NullAudio& audio = *device;
    audio.Capture(!o.audio.empty());
    if (!o.no_sound) {
      display.Attach_Audio(&audio);
      Sound_Use_Device(wx, std::move(device));
    }
    int status = Play(o, argv[0], wx, &display, events);
    display.Attach_Audio(nullptr);
    if (!o.audio.empty() && !audio.Write_Wav(o.audio)) {
      std::fprintf(stderr, "kvr_viewer: cannot write the sound %s\n", o.audio.c_str());
      if (status == 0) status = 1;
    }
    return status;
  }
  SdlDisplay display;
  Wendax wx(display);
  if (!o.no_sound) Sound_Use_Device(wx, Sdl_Audio_Device());
  return Play(o, argv[0], wx, nullptr, events);
}
