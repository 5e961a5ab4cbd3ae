#pragma once

#include <cstdint>

// The program's own window messages, posted to Form1: the download worker's progress
// reaches the window thread only through kProgressMessage.
inline constexpr uint32_t kProgressMessage = 1624;  // WM_USER + 600: bytes written, total bytes
inline constexpr uint32_t kStartMessage = 37488;    // 0x9270: run the package-information step
