#pragma once

#include <array>
#include <cstdint>

#include "contracts/ControlIds.h"
#include "contracts/ProgramIdentity.h"

// Form1: its window and the table its ten controls are made from. Positions and sizes
// are 96-dpi units relative to the client area (the window's are its outer size).

inline constexpr int kForm1Width = 450;
inline constexpr int kForm1Height = 320;
// Form1's and its controls' styles, as numbers the portable code can hold; Form1ControlsWin32.cpp
// checks each against the system's names.
inline constexpr uint32_t kForm1Style = 0x86CA0000;
inline constexpr uint32_t kForm1ExStyle = 0x10108;
inline constexpr uint32_t kHintLabelStyle = 0x46000100;
inline constexpr uint32_t kCheckBoxStyle = 0x40014D03;
inline constexpr uint32_t kHiddenButtonStyle = 0x40014F00;
inline constexpr uint32_t kGroupBoxStyle = 0x40004107;
inline constexpr uint32_t kEditStyle = 0x40810080;
inline constexpr uint32_t kProgressStyle = 0x40000001;
inline constexpr uint32_t kVisibleButtonStyle = 0x50014F00;
inline constexpr uint32_t kExTransparent = 0x20;
inline constexpr uint32_t kExClientEdge = 0x200;

enum class ControlColours {
  Off,               // the control draws its own colours
  TextOnButtonFace,  // COLOR_WINDOWTEXT on COLOR_BTNFACE
  TextOnWindow,      // COLOR_WINDOWTEXT on COLOR_WINDOW
};

enum class InitialState {
  None,
  Checked,        // BM_SETCHECK BST_CHECKED
  UnlimitedText,  // EM_LIMITTEXT 0, both margins 0
  ProgressAt80,   // range 1 to 100, position 80
};

struct ControlRow {
  int id;
  const char* windowClass;
  const char* caption;
  uint32_t style;
  uint32_t exStyle;
  int x, y, width, height;
  const char* fontSpec;
  ControlColours colours;
  InitialState initialState;
};

// In creation order, which is also the Tab order.
extern const std::array<ControlRow, 10> kForm1Controls;

// The control that gets the focus once all are made.
inline constexpr int kFirstFocusId = kLaunchCheckId;

// Top-left corner that centres a window on the screen (divisions truncate toward zero).
struct ScreenPoint {
  int x, y;
};
ScreenPoint CentredOrigin(int screenWidth, int screenHeight, int width, int height);
