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

// The wide forms of the RT_ constants, which this ANSI build defines as narrow.
const wchar_t* const kGroupIcon = MAKEINTRESOURCEW(14);

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

// The bitmap's pixels as 0x00RRGGBB, rows top to bottom.
std::vector<uint32_t> Pixels(HBITMAP bitmap) {
    const SIZE size = BitmapSize(bitmap);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size.cx;
    format.bmiHeader.biHeight = -size.cy;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(size.cx * size.cy);
    ScopedGetDC screen(nullptr);
    if (!GetDIBits(screen, bitmap, 0, size.cy, pixels.data(), &format, DIB_RGB_COLORS)) pixels.clear();
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

BOOL CALLBACK KeepFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first) {
    if (!IS_INTRESOURCE(name)) *reinterpret_cast<std::wstring*>(first) = name;
    return FALSE;
}

// The shell shows the first icon group of the file; the window class loads IMAGE_ICO.
TEST(ImageResourcesTest, TheAppIconComesFirstAndTheWindowIconLoads) {
    std::wstring first;
    EnumResourceNamesW(nullptr, kGroupIcon, KeepFirstName, reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, L"AAAAA_APPICON");
    for (int side : {32, 16}) {
        HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), "IMAGE_ICO", IMAGE_ICON, side, side, LR_SHARED);
        EXPECT_NE(icon, nullptr) << side;
    }
}

TEST(ImageResourcesTest, LightenAndGreyscaleGoThroughEveryPixel) {
    ScopedBitmap plain(static_cast<HBITMAP>(LoadResourceImage(nullptr, L"IMAGE_2", 0, false, kResourceImageBitmap, 0)));
    const std::vector<uint32_t> original = Pixels(plain);
    ASSERT_EQ(original.size(), 120u * 250u);
    const struct {
        int lighten;
        bool grey;
    } cases[] = {{50, false}, {0, true}, {30, true}, {100, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.lighten) + (c.grey ? " grey" : ""));
        ScopedBitmap adjusted(
            static_cast<HBITMAP>(LoadResourceImage(nullptr, L"IMAGE_2", c.lighten, c.grey, kResourceImageBitmap, 0)));
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
    ScopedBitmap numbered(static_cast<HBITMAP>(LoadResourceImage(nullptr, L"#102", 0, false, kResourceImageBitmap, 0)));
    EXPECT_EQ(BitmapSize(numbered).cx, 120);
    EXPECT_EQ(BitmapSize(numbered).cy, 250);

    HICON icon = static_cast<HICON>(LoadResourceImage(nullptr, L"IMAGE_DING", 0, false, kResourceImageIcon, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO parts{};
    ASSERT_TRUE(GetIconInfo(icon, &parts));
    EXPECT_EQ(BitmapSize(parts.hbmColor).cx, 451);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    DestroyIcon(icon);

    // Not a picture, not there, not RCDATA: no handle, and an empty canvas.
    for (const wchar_t* name : {L"#101", L"IMAGE_MISSING", L"IMAGE_ICO"}) {
        EXPECT_EQ(LoadResourceImage(nullptr, name, 0, false, kResourceImageBitmap, 0), nullptr);
        MemoryCanvas canvas;
        LoadImageCanvas(canvas, nullptr, name, 0, false, 0);
        EXPECT_EQ(CanvasDc(canvas), nullptr);
    }
}

}  // namespace
