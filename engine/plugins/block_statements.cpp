#include "engine/plugins/block_statements.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

#include "engine/engine.h"
#include "engine/engine_services.h"
#include "engine/media/sound_commands.h"
#include "engine/plugins/anim_bloc.h"
#include "engine/plugins/frame_hooks.h"
#include "engine/plugins/plugin_block.h"
#include "engine/run/engine_run.h"
#include "platform/files/text.h"
#include "platform/input/frame_clock.h"

namespace {

// In the order they are tried; the match is exact, on the lower-cased text
// before the first '('.
constexpr std::array<std::string_view, 16> kKeywords = {
    "play_animbloc",
    "stop_animbloc",
    "play_animbloc_number",
    "stop_animbloc_number",
    "waves",
    "op",
    "play_movie",
    "add_zqm_movie_bloc",
    "add",
    "sub",
    "cmp",
    "set",
    "set_global_volume",
    "until",
    "while",
    "set_global_pan",
};

const std::string kEmpty;

const std::string& Arg(const std::vector<std::string>& args, size_t i) {
  return i < args.size() ? args[i] : kEmpty;
}

std::optional<std::string> Optional_Arg(const std::vector<std::string>& args, size_t i) {
  if (i < args.size()) return args[i];
  return std::nullopt;
}

bool Has_Zqm(const std::string& file) {
  std::string upper = file;
  Text_Upper(upper);
  return upper.find(".ZQM") != std::string::npos;
}

// Draws frames until the variable holds the value. The value is read before
// each frame, so at least one frame is drawn.
void Until(Engine& engine, const std::vector<std::string>& args) {
  const int32_t wanted = int32_t(std::atoi(Arg(args, 1).c_str()));
  int32_t value;
  do {
    value = Get_Var(engine.script.get(), Arg(args, 0));
    Stage_Update(engine);
  } while (value != wanted && !engine.run.quit);
}

// Draws frames while the seconds are more than the time elapsed before each
// frame: 0 draws exactly one.
void While(Engine& engine, const std::vector<std::string>& args) {
  const double seconds = std::atof(Arg(args, 0).c_str());
  const uint64_t start = Wendax_Counter(engine.wx);
  const double hz = double(Wendax_Counter_Frequency(engine.wx));
  double elapsed;
  do {
    elapsed = double(Wendax_Counter(engine.wx) - start) / hz;
    Stage_Update(engine);
  } while (seconds > elapsed && !engine.run.quit);
}

void Play_Movie(Engine& engine, const std::vector<std::string>& args) {
  const std::string& file = Arg(args, 0);
  if (!Has_Zqm(file)) return;
  const int loops = args.size() > 1 ? std::max(std::atoi(args[1].c_str()), -1) : 0;
  engine.services->Movie_Play(engine, file, loops);
}

void Add_Movie_Overlay(Engine& engine, const std::vector<std::string>& args) {
  const std::string& file = Arg(args, 0);
  if (!Has_Zqm(file)) return;
  int loops = 1;
  if (args.size() > 3) {
    loops = std::atoi(args[3].c_str());
    if (loops == 0) loops = 1;
    if (loops < -1) loops = -1;
  }
  engine.services->Movie_Add_Overlay(engine, file, std::atoi(Arg(args, 1).c_str()),
                                     std::atoi(Arg(args, 2).c_str()), loops);
}

// The statements that are not arithmetic, on split arguments.
void Run_Split(Engine& engine, std::string_view keyword, const std::vector<std::string>& args) {
  SCRIPT_DATA* script = engine.script.get();
  if (keyword == "play_animbloc") {
    Anim_Bloc_Start(engine, Arg(args, 0), Arg(args, 1), Arg(args, 2), Optional_Arg(args, 3));
  } else if (keyword == "play_animbloc_number") {
    const std::string name = Anim_Bloc_Number_Name(Arg(args, 0), Get_Var(script, Arg(args, 1)));
    Anim_Bloc_Start(engine, name, Arg(args, 2), Arg(args, 3), Optional_Arg(args, 4));
  } else if (keyword == "stop_animbloc") {
    Anim_Bloc_Stop(engine, Arg(args, 0));
  } else if (keyword == "stop_animbloc_number") {
    Anim_Bloc_Stop(engine, Anim_Bloc_Number_Name(Arg(args, 0), Get_Var(script, Arg(args, 1))));
  } else if (keyword == "play_movie") {
    Play_Movie(engine, args);
  } else if (keyword == "add_zqm_movie_bloc") {
    Add_Movie_Overlay(engine, args);
  } else if (keyword == "set_global_volume") {
    engine.defaults.global_volume = Arg_Value(script, Arg(args, 0));
  } else if (keyword == "set_global_pan") {
    engine.defaults.panning_factor = Arg_Value(script, Arg(args, 0));
  } else if (keyword == "until") {
    Until(engine, args);
  } else if (keyword == "while") {
    While(engine, args);
  } else {
    Block_Arithmetic(script, keyword, args);
  }
}

}  // namespace

std::optional<std::vector<std::string>> Block_Arguments(std::string_view statement) {
  const size_t open = statement.find('(');
  if (open == std::string_view::npos) return std::nullopt;
  std::vector<std::string> arguments;
  for (size_t p = open + 1; p < statement.size();) {
    const size_t separator = statement.find_first_of(",)", p);
    if (separator == std::string_view::npos) return std::nullopt;
    arguments.emplace_back(statement.substr(p, separator - p));
    p = separator + 1;
  }
  return arguments;
}

int32_t Arg_Value(const SCRIPT_DATA* script, const std::string& text) {
  if (!text.empty() && std::isalpha(static_cast<unsigned char>(text[0]))) return Get_Var(script, text);
  return Arg_Number(text.c_str());
}

int32_t Arg_Number(const char* text) {
  if (!text) return 0;
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  if (*text == '+') ++text;
  return Text_To_Int(text);
}

bool Block_Arithmetic(SCRIPT_DATA* script, std::string_view keyword,
                      const std::vector<std::string>& arguments) {
  static const std::string kEmpty;
  auto arg = [&](size_t i) -> const std::string& { return i < arguments.size() ? arguments[i] : kEmpty; };
  auto var = [&](size_t i) { return Get_Var(script, arg(i)); };
  if (keyword == "op") {
    int32_t w = var(2);
    for (size_t i = 3; i < arguments.size(); i += 2) {
      if (arg(i) == "or") w |= var(i + 1);
      if (arg(i) == "and") w &= var(i + 1);
    }
    Set_Var(script, arg(0), w);
    Set_Var(script, arg(1), w == 0);
  } else if (keyword == "add" || keyword == "sub") {
    // Wrapping 32-bit sums, as the engine's integers overflow.
    const uint32_t a = uint32_t(var(1)), b = uint32_t(Arg_Value(script, arg(2)));
    Set_Var(script, arg(0), int32_t(keyword == "add" ? a + b : a - b));
  } else if (keyword == "cmp") {
    const int32_t x = Arg_Value(script, arg(2)), y = Arg_Value(script, arg(4));
    const std::string& op = arg(3);
    int holds;
    if (op == "<")
      holds = x < y;
    else if (op == ">")
      holds = x > y;
    else if (op == "<=")
      holds = x <= y;
    else if (op == ">=")
      holds = x >= y;
    else if (op == "==")
      holds = x == y;
    else if (op == "!=")
      holds = x != y;
    else
      return true;  // any other operator sets nothing
    Set_Var(script, arg(0), holds);
    Set_Var(script, arg(1), !holds);
  } else if (keyword == "set") {
    Set_Var(script, arg(0), Arg_Value(script, arg(1)));
  } else {
    return false;
  }
  return true;
}

BlockStep Block_Statement_Run(Engine& engine, std::string_view statement) {
  const size_t open = statement.find('(');
  if (open == std::string_view::npos) return BlockStep::kNotBuiltIn;
  std::string keyword(statement.substr(0, open));
  for (char& c : keyword)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  if (std::find(kKeywords.begin(), kKeywords.end(), keyword) == kKeywords.end())
    return BlockStep::kNotBuiltIn;
  if (keyword == "waves") {
    Waves_On(engine);
    return BlockStep::kNext;
  }
  const bool timer = keyword == "play_animbloc" || keyword == "play_animbloc_number";
  if (timer) Sound_Timer_Start(engine);
  std::optional<std::vector<std::string>> args = Block_Arguments(statement);
  if (!args) {
    Script_Error_Set(engine);
    if (timer) Sound_Timer_Stop(engine);
    return BlockStep::kStop;
  }
  Run_Split(engine, keyword, *args);
  if (timer) Sound_Timer_Stop(engine);
  return engine.run.quit ? BlockStep::kStop : BlockStep::kNext;
}
