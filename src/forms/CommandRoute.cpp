#include "forms/CommandRoute.h"

#include "forms/Form1Controls.h"

CommandRoute RouteCommand(uint32_t wParam) {
  const uint32_t notification = (wParam >> 16) & 0xFFFF;
  const int id = static_cast<int>(wParam & 0xFFFF);
  if (notification != 0) return CommandRoute::None;
  switch (id) {
    case kNextButtonId: return CommandRoute::Next;
    case kCancelButtonId: return CommandRoute::Cancel;
    case kBackButtonId: return CommandRoute::Back;
    case kBrowseButtonId: return CommandRoute::Browse;
    default: return CommandRoute::None;
  }
}
