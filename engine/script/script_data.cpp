#include "engine/script/script_data.h"

#include "platform/files/text.h"

const SCRIPT_VAR* Var_Find(const SCRIPT_DATA* script, std::string_view name) {
  if (!script) return nullptr;
  for (const SCRIPT_VAR& var : script->vars)
    if (var.name && Text_Equal(*var.name, name) == 0) return &var;
  return nullptr;
}

int32_t Get_Var(const SCRIPT_DATA* script, std::string_view name) {
  const SCRIPT_VAR* var = Var_Find(script, name);
  return var ? var->value : 0;
}

void Set_Var(SCRIPT_DATA* script, std::string_view name, int32_t value) {
  if (!script) return;
  for (SCRIPT_VAR& var : script->vars) {
    if (var.name && Text_Equal(*var.name, name) == 0) {
      var.value = value;
      return;
    }
  }
}

int32_t Warp_Find(const SCRIPT_DATA* script, std::string_view name, int32_t skip) {
  if (!script) return -1;
  for (size_t i = 0; i < script->warps.size(); ++i) {
    const WARP& warp = script->warps[i];
    if (int32_t(i) != skip && warp.name && Text_Equal(*warp.name, name) == 0) return int32_t(i);
  }
  return -1;
}

int32_t Test_Find_First(const WARP& warp, int32_t id) {
  for (size_t i = 0; i < warp.tests.size(); ++i)
    if (warp.tests[i].id == id) return int32_t(i);
  return -1;
}

int32_t Test_Find_Last(const WARP& warp, int32_t id) {
  for (size_t i = warp.tests.size(); i-- > 0;)
    if (warp.tests[i].id == id) return int32_t(i);
  return -1;
}

int32_t Warp_Kind_From_Name(std::string_view name) {
  const char last = name.empty() ? 0 : name.back();
  return last == 'A' || last == 'D' || last == 'a' || last == 'd' ? kWarpStill : kWarpPanorama;
}
