#include "platform/display/display_fatal.h"

#include <cstdlib>

#include "platform/wendax.h"

void Display_Fatal(Wendax& wx, std::string_view text) {
  if (wx.fatal_message) wx.fatal_message(text, wx.display.program_path);
  std::_Exit(kDisplayFatalExitStatus);
}
