#pragma once

#include <cstdint>

// Which click handler a WM_COMMAND reaches: only notification code 0 (a click, or a
// command from the dialog keys), matched by control ID in the order Next, Cancel, Back,
// Browse. Everything else goes on to the later stages.
enum class CommandRoute { None, Next, Cancel, Back, Browse };

CommandRoute RouteCommand(uint32_t wParam);
