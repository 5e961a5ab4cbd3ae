// The installer's resources as linked into a program, and their decoding through GDI+.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/MemoryCanvas.h"
#include "support/PixelAdjust.h"
#include "support/ResourceImage.h"
#include "support/ScopedWin.h"

namespace {

HANDLE Load(const wchar_t* name, int mode, int lighten = 0, bool grey = false) {
    return LoadResourceImage(nullptr, name, lighten, grey, mode, 0);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

// The bitmap's pixels as 0x00RRGGBB, rows top to bottom.
std::vector<uint32_t> Pixels(HBITMAP bitmap) {
    const SIZE size = BitmapSize(bitmap);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(size.cx * size.cy);
    ScopedGetDC screen(nullptr);
    if (!GetDIBits(screen, bitmap, 0, size.cy, pixels.data(), &format, DIB_RGB_COLORS)) pixels.clear();
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

// The shell shows the first icon group of the file; the window class loads IMAGE_ICO.
TEST(ImageResourcesTest, TheAppIconComesFirstAndTheWindowIconLoads) {
    std::wstring first;
    EnumResourceNamesW(
        nullptr, MAKEINTRESOURCEW(14),  // RT_GROUP_ICON, which this ANSI build defines as narrow
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first) WINAPI -> BOOL {
            if (!IS_INTRESOURCE(name)) *reinterpret_cast<std::wstring*>(first) = name;
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, L"AAAAA_APPICON");
    for (int side : {32, 16}) {
        EXPECT_NE(LoadImageA(GetModuleHandleA(nullptr), "IMAGE_ICO", IMAGE_ICON, side, side, LR_SHARED), nullptr) << side;
    }
}

TEST(ImageResourcesTest, LightenAndGreyscaleGoThroughEveryPixel) {
    ScopedBitmap plain(static_cast<HBITMAP>(Load(L"IMAGE_2", kResourceImageBitmap)));
    const std::vector<uint32_t> original = Pixels(plain);
    ASSERT_EQ(original.size(), 120u * 250u);
    const struct {
        int lighten;
        bool grey;
    } cases[] = {{50, false}, {0, true}, {30, true}, {100, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.lighten) + (c.grey ? " grey" : ""));
        ScopedBitmap adjusted(static_cast<HBITMAP>(Load(L"IMAGE_2", kResourceImageBitmap, c.lighten, c.grey)));
        const std::vector<uint32_t> pixels = Pixels(adjusted);
        ASSERT_EQ(pixels.size(), original.size());
        for (size_t i = 0; i < pixels.size(); ++i) {
            const uint32_t expected = AdjustPixel(0xFF000000 | original[i], LightenFactor(c.lighten), c.grey) & 0xFFFFFF;
            ASSERT_EQ(pixels[i], expected) << "pixel " << i % 120 << "," << i / 120;
        }
    }
}

TEST(ImageResourcesTest, NamesAndModes) {
    // "#102" is the numbered copy of the welcome picture.
    ScopedBitmap numbered(static_cast<HBITMAP>(Load(L"#102", kResourceImageBitmap)));
    EXPECT_EQ(BitmapSize(numbered).cx, 120);
    EXPECT_EQ(BitmapSize(numbered).cy, 250);

    const HICON icon = static_cast<HICON>(Load(L"IMAGE_DING", kResourceImageIcon));
    ICONINFO parts{};
    ASSERT_TRUE(icon && GetIconInfo(icon, &parts));
    EXPECT_EQ(BitmapSize(parts.hbmColor).cx, 451);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    DestroyIcon(icon);

    // Not a picture, not there, not RCDATA: no handle, and an empty canvas.
    for (const wchar_t* name : {L"#101", L"IMAGE_MISSING", L"IMAGE_ICO"}) {
        EXPECT_EQ(Load(name, kResourceImageBitmap), nullptr) << name;
        MemoryCanvas canvas;
        LoadImageCanvas(canvas, nullptr, name, 0, false, 0);
        EXPECT_EQ(CanvasDc(canvas), nullptr);
    }
}

}  // namespace
