#include "platform/input/key_codes.h"

#include "platform/input/virtual_keys.h"

std::optional<int> Key_Code_For_Virtual_Key(int virtual_key) {
  switch (virtual_key) {
    case kVkBack: return 9;
    case kVkTab:
    case kVkDelete: return 8;
    case kVkEscape: return 27;
    case kVkPrior:
    case kVkNext:
    case kVkEnd:
    case kVkHome:
    case kVkInsert: return 0;
    case kVkLeft: return kCodeLeft;
    case kVkUp: return kCodeUp;
    case kVkRight: return kCodeRight;
    case kVkDown: return kCodeDown;
    default: break;
  }
  if (virtual_key >= kVkF1 && virtual_key <= kVkF12) return kCodeF1 + (virtual_key - kVkF1);
  return std::nullopt;
}
