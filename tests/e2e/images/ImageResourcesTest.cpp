// The installer's resources as linked into a program, and their decoding through GDI+.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/MemoryCanvas.h"
#include "support/PageImages.h"
#include "support/PixelAdjust.h"
#include "support/ResourceImage.h"
#include "support/ScopedWin.h"

namespace {

constexpr COLORREF kKey = RGB(198, 0, 136);
constexpr WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
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

std::vector<uint8_t> ResourceBytes(const wchar_t* type, const wchar_t* name) {
    HRSRC info = FindResourceExW(nullptr, type, name, kChinesePrc);
    if (!info) return {};
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, info)));
    return {data, data + SizeofResource(nullptr, info)};
}

BOOL CALLBACK KeepFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first) {
    if (!IS_INTRESOURCE(name)) *reinterpret_cast<std::wstring*>(first) = name;
    return FALSE;
}

TEST(ImageResourcesTest, IconGroupsNameTheirOwnImagesAndTheAppIconComesFirst) {
    const struct {
        const wchar_t* name;
        WORD firstId;
    } groups[] = {{L"AAAAA_APPICON", 1}, {L"IMAGE_ICO", 4}};
    for (const auto& g : groups) {
        const std::vector<uint8_t> dir = ResourceBytes(kGroupIcon, g.name);
        ASSERT_EQ(dir.size(), 6u + 3 * 14);
        const uint8_t sides[] = {16, 32, 48};
        for (WORD i = 0; i < 3; ++i) {
            const uint8_t* entry = dir.data() + 6 + 14 * i;
            EXPECT_EQ(entry[0], sides[i]);
            EXPECT_EQ(entry[12] | entry[13] << 8, g.firstId + i);
        }
    }
    // The shell shows the first icon group of the file.
    std::wstring first;
    EnumResourceNamesW(nullptr, kGroupIcon, KeepFirstName, reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, L"AAAAA_APPICON");
    // The window class loads these.
    for (int side : {32, 16}) {
        HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), "IMAGE_ICO", IMAGE_ICON, side, side, LR_SHARED);
        EXPECT_NE(icon, nullptr) << side;
    }
}

bool IsKey(HDC dc, int x, int y) { return GetPixel(dc, x, y) == kKey; }

TEST(ImageResourcesTest, PagePicturesDecodeToTheirSizesWithExactKeyColour) {
    LoadPageImages();
    ASSERT_EQ(BitmapSize(WelcomeImage.bitmap).cx, 120);
    ASSERT_EQ(BitmapSize(WelcomeImage.bitmap).cy, 250);
    ASSERT_EQ(BitmapSize(BannerImage.bitmap).cx, 451);
    ASSERT_EQ(BitmapSize(BannerImage.bitmap).cy, 53);

    // The welcome picture is a card inset from the left, top and bottom edges.
    HDC welcome = CanvasDc(WelcomeImage);
    for (int y = 0; y < 250; ++y) {
        for (int x = 0; x < 120; ++x) {
            const bool margin = x < 6 || y < 6 || y >= 243;
            const bool inside = x >= 16 && y >= 16 && y < 233;
            if (margin) {
                ASSERT_TRUE(IsKey(welcome, x, y)) << x << "," << y;
            }
            if (inside) {
                ASSERT_FALSE(IsKey(welcome, x, y)) << x << "," << y;
            }
        }
    }
    // The band's rows from 48 down are key colour, through the JPEG's loss.
    HDC banner = CanvasDc(BannerImage);
    for (int y = 0; y < 53; ++y) {
        for (int x = 0; x < 451; ++x) ASSERT_EQ(IsKey(banner, x, y), y >= 48) << x << "," << y;
    }
    // Where the page titles go, the band is near white.
    const COLORREF titleGround = GetPixel(banner, 12, 20);
    EXPECT_GE(GetRValue(titleGround) + GetGValue(titleGround) + GetBValue(titleGround), 3 * 240);
}

TEST(ImageResourcesTest, KeyedCopyLeavesTheGroundWhereThePictureIsKeyOrMissing) {
    LoadPageImages();
    MemoryCanvas missing;
    LoadImageCanvas(missing, nullptr, L"#101", 0, false, 0);
    for (MemoryCanvas* source : {&WelcomeImage, &missing}) {
        SCOPED_TRACE(source == &missing ? "missing" : "welcome");
        MemoryCanvas page;
        CreateCanvas(page, 120, 250, nullptr, RGB(255, 255, 255));
        TransparentBlt(CanvasDc(page), 0, 0, 120, 250, CanvasDc(*source), 0, 0, 120, 250, kKey);
        EXPECT_EQ(GetPixel(CanvasDc(page), 0, 0), RGB(255, 255, 255));
        EXPECT_EQ(GetPixel(CanvasDc(page), 60, 100) == RGB(255, 255, 255), source == &missing);
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
