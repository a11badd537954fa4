#include "platform/display/display_modes.h"

namespace {

DisplayMode Mode_Record(const HardwareMode& mode, int kind, int divisor) {
  DisplayMode record;
  record.kind = kind;
  record.bits = mode.bits;
  record.colors = (mode.bits >= 0 && mode.bits < 64) ? uint64_t(1) << mode.bits : 0;
  record.width = mode.width / divisor;
  record.height = mode.height / divisor;
  record.pitch = mode.pitch;
  return record;
}

bool Same_Record(const DisplayMode& a, const DisplayMode& b) {
  return a.kind == b.kind && a.bits == b.bits && a.width == b.width && a.height == b.height &&
         a.pitch == b.pitch;
}

void Add_Record(std::vector<DisplayMode>& list, DisplayMode record) {
  for (const DisplayMode& old : list) {
    if (Same_Record(old, record)) return;
  }
  record.id = int(list.size()) + 1;
  list.push_back(record);
}

int Find_Kind(const std::vector<DisplayMode>& list, const DisplayMode& request, int kind) {
  for (size_t i = 0; i < list.size(); ++i) {
    const DisplayMode& m = list[i];
    if (m.kind == kind && m.width == request.width && m.height == request.height && m.bits == request.bits) {
      return int(i);
    }
  }
  return -1;
}

}  // namespace

void Mode_List_Add(std::vector<DisplayMode>& list, const HardwareMode& mode) {
  Add_Record(list, Mode_Record(mode, kModeKindNative, 1));
  Add_Record(list, Mode_Record(mode, kModeKindDoubled, 2));
}

int Mode_List_Find(const std::vector<DisplayMode>& list, const DisplayMode& request) {
  int found = -1;
  if (request.kind == kModeKindAny || request.kind == kModeKindNative) {
    found = Find_Kind(list, request, kModeKindNative);
  }
  if (found < 0 && (request.kind == kModeKindAny || request.kind == kModeKindDoubled)) {
    found = Find_Kind(list, request, kModeKindDoubled);
  }
  return found;
}
