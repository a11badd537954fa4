// The input as a PLUGIN block, one statement a line, run against a small
// loaded game: built-in statements, animation blocs, waits and plug-in
// calls. No crash, and no input draws more frames than the rig allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/plugins/plugin_block.h"
#include "fuzz/fuzz_plugin_rig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzPluginRig rig;
  std::vector<std::string> statements;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (size_t end; !text.empty(); text.remove_prefix(end == text.npos ? text.size() : end + 1)) {
    end = text.find('\n');
    statements.emplace_back(text.substr(0, end));
  }
  Engine& engine = rig.Fresh();
  const uint64_t before = engine.run.frames;
  Plugin_Run_Block(engine, statements);
  if (engine.run.frames - before > FuzzPluginRig::kFrameLimit) std::abort();
  rig.Clear();
  return 0;
}
