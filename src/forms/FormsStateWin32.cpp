#include "state/FormsStateWin32.h"

#include <array>

#include "forms/Form1Controls.h"

namespace {

struct ControlSlot {
  int id;
  HWND window;
};

std::array<ControlSlot, kForm1Controls.size()> gControlSlots = [] {
  std::array<ControlSlot, kForm1Controls.size()> slots{};
  for (std::size_t i = 0; i < slots.size(); ++i) slots[i] = {kForm1Controls[i].id, nullptr};
  return slots;
}();

}  // namespace

HWND ControlWindow(int id) {
  for (const ControlSlot& slot : gControlSlots) {
    if (slot.id == id) return slot.window;
  }
  return nullptr;
}

void StoreControlWindow(int id, HWND window) {
  for (ControlSlot& slot : gControlSlots) {
    if (slot.id == id) slot.window = window;
  }
}
