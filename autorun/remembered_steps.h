// Steps the launcher remembers as done on this machine: a licence accepted
// under a run's name, an install entry run from a run's name. Records lie
// below the base key, in CustomerID\CdID\License (value: the name) and
// CustomerID\CdID\Install\<name> (value: the entry's File with '\' as '#');
// the data of a done step is exactly "1".
#pragma once

#include <string>

#include "host/registry_store.h"

enum class StepKind { kLicense, kInstall };

struct StepRecords {
  RegistryStore& store;
  std::string customer_id;
  std::string cd_id;
};

// File with every '\' replaced by '#'.
std::string Install_Entry_Key(const std::string& file);
bool IsMarked(const StepRecords& records, StepKind kind, const std::string& name,
              const std::string& entry_key = {});
// Writes the record, creating the keys it needs; a failure is silent (the
// step then stays due).
void Mark(const StepRecords& records, StepKind kind, const std::string& name,
          const std::string& entry_key = {});
