#include "state/PageImages.h"

#include "platform/SystemLibrariesWin32.h"
#include "support/ResourceImageWin32.h"
#include "support/ScopedGdiplusWin32.h"

namespace {

// Defined in this order so that exit releases the banner first.
MemoryCanvas gWelcomeImage;
MemoryCanvas gBannerImage;

// Not before the window shows: GDI+ and WIC cost more to start than the window itself.
void DecodeOnce() {
  static bool decoded = false;
  if (decoded) return;
  decoded = true;
  // GDI+ decodes through WIC, which it loads itself: from System32 now, with what it needs in
  // turn (Wine's loader would look beside the program for those).
  LoadSystemLibrary("windowscodecs.dll");
  // One start-up for both pictures.
  ScopedGdiplusStartup gdiplus;
  LoadImageCanvas(gWelcomeImage, nullptr, L"IMAGE_2", 0, false, 0);
  LoadImageCanvas(gBannerImage, nullptr, L"IMAGE_DING", 0, false, 0);
}

}  // namespace

const MemoryCanvas& WelcomeImage() {
  DecodeOnce();
  return gWelcomeImage;
}

const MemoryCanvas& BannerImage() {
  DecodeOnce();
  return gBannerImage;
}
