// autorun: the disc launcher. It reads Launch/Settings.ini in its folder (or
// in the folder --disc names) and runs its steps without a window, or shows
// its page in a window whose "rw:" links run the buttons.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include <unistd.h>

#include "autorun/action_runner.h"
#include "autorun/gtk_ui.h"
#include "autorun/launcher_window.h"
#include "autorun/settings_json.h"
#include "autorun/startup_check.h"
#include "autorun/window_placement.h"
#include "host/registry_store.h"

namespace {

constexpr const char* kUsage =
    "usage: autorun [--disc DIR] [--trace FILE] [--test-hook FILE]\n"
    "       autorun --dump-settings [--disc DIR]\n"
    "       autorun --placement LEFT,TOP,WIDTH,HEIGHT [--disc DIR]\n"
    "       autorun --help\n"
    "\n"
    "Runs the disc's launcher from Launch/Settings.ini beside the program, or\n"
    "in DIR with --disc.\n"
    "  --dump-settings  print the settings as one JSON object\n"
    "  --placement      print the window rectangle on a work area of that place and size\n"
    "  --trace FILE     write a line for every step of the run\n"
    "  --test-hook FILE drive the window and answer its dialogs from FILE\n"
    "The registry store is $KVR_REGISTRY, else kvr/registry in the XDG config folder.\n";

struct Options {
  std::optional<std::string> disc;
  std::string trace;
  std::string hook;
  bool dump = false;
  std::optional<std::string> placement;
  bool help = false;
};

// Nothing, with a message, when the command line is wrong.
std::optional<Options> Parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--dump-settings") {
      options.dump = true;
    } else if (arg == "--disc" && value(text)) {
      options.disc = text;
    } else if (arg == "--placement" && value(text)) {
      options.placement = text;
    } else if (arg == "--trace" && value(options.trace)) {
    } else if (arg == "--test-hook" && value(options.hook)) {
    } else {
      std::cerr << "autorun: unknown or incomplete option " << arg << "\n" << kUsage;
      return std::nullopt;
    }
  }
  return options;
}

// LEFT,TOP,WIDTH,HEIGHT as four integers.
bool Parse_Area(const std::string& text, int area[4]) {
  const char* p = text.c_str();
  for (int k = 0; k < 4; ++k) {
    char* end = nullptr;
    const long v = std::strtol(p, &end, 10);
    if (end == p || v < -1000000 || v > 1000000 || *end != (k < 3 ? ',' : '\0')) return false;
    area[k] = int(v);
    p = end + (k < 3);
  }
  return area[2] >= 0 && area[3] >= 0;
}

std::string Caption(const char* program) {
  std::string name = program;
  name = name.substr(name.find_last_of("\\/") + 1);
  return name.substr(0, name.rfind('.'));
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<Options> options = Parse(argc, argv);
  if (!options) return 2;
  if (options->help) {
    std::cout << kUsage;
    return 0;
  }
  std::string launcher_dir = options->disc ? *options->disc : Launcher_Dir(argv[0]);
  while (launcher_dir.size() > 1 && launcher_dir.back() == '/') launcher_dir.pop_back();
  // Programs start in folders of their own: a folder named relative to the
  // current one is made absolute first, as the original platform resolves
  // a relative program path against the launcher's folder.
  if (!launcher_dir.empty() && launcher_dir[0] != '/') {
    std::error_code error;
    const std::string absolute = std::filesystem::absolute(launcher_dir, error).string();
    if (!error) launcher_dir = absolute;
  }

  FILE* trace = nullptr;
  if (!options->trace.empty() && !(trace = std::fopen(options->trace.c_str(), "w"))) {
    std::cerr << "autorun: cannot write the trace " << options->trace << "\n";
    return 2;
  }
  std::optional<TestHook> hook;
  if (!options->hook.empty()) {
    std::string error;
    if (!(hook = TestHook::Load(options->hook, error))) {
      std::cerr << "autorun: " << error << "\n";
      return 2;
    }
  }
  GtkUi ui(Caption(argv[0]), hook ? &*hook : nullptr, trace);
  int status = 0;
  CAutorunSettings settings;
  const std::string settings_file = Native_Path(Settings_Path(launcher_dir));

  if (options->dump || options->placement) {
    if (access(settings_file.c_str(), R_OK) != 0) {
      std::cerr << kStartupMessage << "\n";
      return 1;
    }
    settings.SetFile(settings_file);
    settings.Load();
    if (options->dump) {
      std::cout << Settings_Json(settings, launcher_dir) << "\n";
    } else {
      int area[4];
      if (!Parse_Area(*options->placement, area)) {
        std::cerr << "autorun: --placement needs LEFT,TOP,WIDTH,HEIGHT\n";
        return 2;
      }
      const WindowRect r = Window_Placement(settings.Html, area[0], area[1], area[2], area[3]);
      std::printf("{\"x\":%d,\"y\":%d,\"width\":%d,\"height\":%d}\n", r.x, r.y, r.width, r.height);
    }
    return 0;
  }

  if (!Startup_Files_Present(launcher_dir)) {
    ui.Message(kStartupMessage, MessageIcon::kStop);
    status = 1;
  } else {
    settings.SetFile(settings_file);
    settings.Load();
    RegistryStore registry(Registry_Default_Path());
    SplashSound sound;
    CActionRunner runner(&settings, launcher_dir, ui, registry, sound);
    if (settings.AutorunType == 2) {
      LauncherWindow window(settings, launcher_dir, runner, ui);
      status = window.Run();
    } else {
      ui.Trace("windowless");
      ui.Trace(std::string("run ended ") + (runner.RunSilent() ? "true" : "false"));
    }
    if (ui.Display_Missing()) status = 1;
  }
  if (trace) std::fclose(trace);
  return status;
}
