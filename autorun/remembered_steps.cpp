#include "autorun/remembered_steps.h"

#include <algorithm>

#include "autorun/registry_util.h"

namespace {

const char* Kind_Key(StepKind kind) { return kind == StepKind::kLicense ? "License" : "Install"; }

}  // namespace

std::string Install_Entry_Key(const std::string& file) {
  std::string key = file;
  std::replace(key.begin(), key.end(), '\\', '#');
  return key;
}

bool IsMarked(const StepRecords& records, StepKind kind, const std::string& name,
              const std::string& entry_key) {
  RegistryUtil reg(records.store);
  if (!reg.OpenBase(records.customer_id) || !reg.OpenSub(records.cd_id) || !reg.OpenSub(Kind_Key(kind)))
    return false;
  if (kind == StepKind::kInstall && !reg.OpenSub(name)) return false;
  std::string data;
  return reg.GetValue(kind == StepKind::kInstall ? entry_key : name, data, 256) && data == "1";
}

void Mark(const StepRecords& records, StepKind kind, const std::string& name, const std::string& entry_key) {
  RegistryUtil reg(records.store);
  if (!reg.OpenBase(records.customer_id)) {
    if (!reg.OpenBase("") && !reg.CreateBase()) return;
    if (!reg.CreateSub(records.customer_id)) return;
  }
  if (!reg.OpenSub(records.cd_id) && !reg.CreateSub(records.cd_id)) return;
  if (!reg.OpenSub(Kind_Key(kind)) && !reg.CreateSub(Kind_Key(kind))) return;
  if (kind == StepKind::kInstall && !reg.OpenSub(name) && !reg.CreateSub(name)) return;
  reg.SetValue(kind == StepKind::kInstall ? entry_key : name, "1");
}
