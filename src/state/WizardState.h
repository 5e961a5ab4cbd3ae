#pragma once

#include <cstdint>
#include <string>

// The wizard's process-wide page state, read by the paint handler and written on Form1's
// thread by the navigation, the install action and the download orchestration.

// The pages by number; kWelcomePage before Form1 exists.
constexpr int32_t kDownloadPage = 0;
constexpr int32_t kWelcomePage = 1;
constexpr int32_t kFolderPage = 2;
constexpr int32_t kExtractionPage = 3;
constexpr int32_t kFinishPage = 4;
extern int32_t CurrentPage;
// The two header texts drawn on the header band.
extern std::string PageTitle;
extern std::string PageSubtitle;
