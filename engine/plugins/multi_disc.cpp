#include "engine/plugins/multi_disc.h"

#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "host/registry_store.h"

namespace {

std::string_view Arg(int argc, char** argv, int i) { return i < argc && argv[i] ? argv[i] : ""; }

void Set_Name(std::string& name, std::string_view text) {
  if (text.size() <= kScriptNameMax) name = text;
}

}  // namespace

int MultiCD_Set_Next_Script(Engine& engine, int argc, char** argv) {
  Set_Name(engine.chain.Next_Script, Arg(argc, argv, 1));
  return 0;
}

int MultiCD_Set_Transition_Script(Engine& engine, int argc, char** argv) {
  Set_Name(engine.chain.Transition_Script, Arg(argc, argv, 1));
  return 0;
}

// Compares as many characters as the prefix has, ASCII case ignored: a
// next script shorter than the prefix does not begin with it.
int MultiCD_If_Next_Script(Engine& engine, int argc, char** argv) {
  const std::string_view prefix = Arg(argc, argv, 1);
  const std::string& next = engine.chain.Next_Script;
  bool match = next.size() >= prefix.size();
  for (size_t i = 0; match && i < prefix.size(); ++i)
    match = std::tolower(static_cast<unsigned char>(next[i])) ==
            std::tolower(static_cast<unsigned char>(prefix[i]));
  Set_Var(engine.script.get(), Arg(argc, argv, 2), match ? 1 : 0);
  return 0;
}

// The argument is a key of the local-machine root and a value name, split
// at the last '/', ':' or '\' (without one, the whole text is both). A text
// value that fits the registry buffer names a folder for the search path.
int MultiCD_Use_Install_Path(Engine& engine, int argc, char** argv) {
  const std::string_view path = Arg(argc, argv, 1);
  const size_t split = path.find_last_of("/:\\");
  const std::string_view key = split == std::string_view::npos ? path : path.substr(0, split);
  const std::string_view value = split == std::string_view::npos ? path : path.substr(split + 1);
  const RegistryStore store(Registry_Default_Path());
  const std::optional<RegistryKey> opened = store.Open_Key(RegistryRoot::kLocalMachine, key);
  if (!opened) return 0;
  const std::optional<std::string> folder = store.Read_Value(*opened, value);
  if (folder && !folder->empty() && folder->size() < kRegistryTextBuffer) engine.search_path.Add(*folder);
  return 0;
}
