// The installer's icons as linked into a program. The pictures are the wizard suite's, as
// painted; the decoder's other modes and names are not used by the installer.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

BOOL CALLBACK KeepFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first) {
  if (!IS_INTRESOURCE(name)) *reinterpret_cast<std::wstring*>(first) = name;
  return FALSE;
}

// The shell shows the first icon group of the file; the window class loads IMAGE_ICO.
TEST(ImageResourcesTest, TheAppIconComesFirstAndTheWindowIconLoads) {
  std::wstring first;
  // RT_GROUP_ICON in its wide form, which this ANSI build defines as narrow.
  EnumResourceNamesW(nullptr, MAKEINTRESOURCEW(14), KeepFirstName, reinterpret_cast<LONG_PTR>(&first));
  EXPECT_EQ(first, L"AAAAA_APPICON");
  for (int side : {32, 16}) {
    const HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), "IMAGE_ICO", IMAGE_ICON, side, side, LR_SHARED);
    EXPECT_NE(icon, nullptr) << side;
  }
}

}  // namespace
