#include "state/PageImages.h"

#include "support/ResourceImageWin32.h"

// Defined in this order so that exit releases the banner first.
MemoryCanvas WelcomeImage;
MemoryCanvas BannerImage;

void LoadPageImages() {
    LoadImageCanvas(WelcomeImage, nullptr, L"IMAGE_2", 0, false, 0);
    LoadImageCanvas(BannerImage, nullptr, L"IMAGE_DING", 0, false, 0);
}
