#pragma once

#include <cstdint>
#include <string>

// The wizard's process-wide page state, read by the paint handler and written on Form1's
// thread by the navigation, the install action and the download orchestration.

// 0 download, 1 welcome, 2 folder, 3 extraction, 4 finish; 1 before Form1 exists.
extern int32_t CurrentPage;
// The two header texts drawn on the header band.
extern std::string PageTitle;
extern std::string PageSubtitle;
