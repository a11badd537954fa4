// The input as one plug-in statement: its tokens within their limits, and
// the statement run as a block of its own against a small loaded game.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/plugins/plugin_block.h"
#include "engine/plugins/plugin_call.h"
#include "fuzz/fuzz_plugin_rig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzPluginRig rig;
  const std::string statement(reinterpret_cast<const char*>(data), size);
  for (size_t buffer : {kEnginePluginBuffer, kExtensionPluginBuffer}) {
    const std::vector<std::string> tokens = Plugin_Tokens(statement, buffer);
    if (tokens.size() > kPluginTokenMax) std::abort();
    size_t total = 0;
    for (const std::string& token : tokens) total += token.size();
    if (total >= buffer) std::abort();
  }
  Engine& engine = rig.Fresh();
  Plugin_Run_Block(engine, {statement});
  if (statement.find('(') == std::string::npos && !engine.plugins.script_error) std::abort();
  rig.Clear();
  return 0;
}
