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
const wchar_t* const kIcon = MAKEINTRESOURCEW(3);
const wchar_t* const kRcData = MAKEINTRESOURCEW(10);
const wchar_t* const kGroupIcon = MAKEINTRESOURCEW(14);
const wchar_t* const kVersion = MAKEINTRESOURCEW(16);
const wchar_t* const kManifest = MAKEINTRESOURCEW(24);

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

TEST(ImageResourcesTest, EveryResourceIsThereInChinesePrc) {
    const struct {
        const wchar_t* type;
        const wchar_t* name;
        DWORD size;  // 0: any
    } resources[] = {
        {kIcon, MAKEINTRESOURCEW(1), 1384}, {kIcon, MAKEINTRESOURCEW(2), 2216},
        {kIcon, MAKEINTRESOURCEW(3), 3752}, {kIcon, MAKEINTRESOURCEW(4), 1384},
        {kIcon, MAKEINTRESOURCEW(5), 2216}, {kIcon, MAKEINTRESOURCEW(6), 3752},
        {kGroupIcon, L"AAAAA_APPICON", 48}, {kGroupIcon, L"IMAGE_ICO", 48},
        {kRcData, L"IMAGE_2", 0},           {kRcData, L"IMAGE_DING", 0},
        {kVersion, MAKEINTRESOURCEW(1), 0}, {kManifest, MAKEINTRESOURCEW(1), 0},
    };
    for (const auto& r : resources) {
        SCOPED_TRACE(IS_INTRESOURCE(r.name) ? std::to_string(LOWORD(r.name)) : "named");
        HRSRC info = FindResourceExW(nullptr, r.type, r.name, kChinesePrc);
        ASSERT_NE(info, nullptr);
        if (r.size) {
            EXPECT_EQ(SizeofResource(nullptr, info), r.size);
        }
    }
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

TEST(ImageResourcesTest, VersionBlockAndManifest) {
    std::vector<uint8_t> version = ResourceBytes(kVersion, MAKEINTRESOURCEW(1));
    ASSERT_FALSE(version.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00030001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x0002020Du);  // 2.525
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00030001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x0002020Cu);  // 2.524
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    for (const wchar_t* key : {L"CompanyName", L"FileDescription", L"ProductName", L"InternalName",
                               L"OriginalFilename", L"LegalCopyright", L"Comments"}) {
        wchar_t* value = nullptr;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904E4\\") + key;
        ASSERT_TRUE(VerQueryValueW(version.data(), path.c_str(), reinterpret_cast<void**>(&value), &length));
        EXPECT_GT(length, 1u);
    }
    wchar_t* company = nullptr;
    VerQueryValueW(version.data(), L"\\StringFileInfo\\040904E4\\CompanyName", reinterpret_cast<void**>(&company),
                   &length);
    EXPECT_STREQ(company, L"岚舟软件");

    const std::vector<uint8_t> manifestBytes = ResourceBytes(kManifest, MAKEINTRESOURCEW(1));
    const std::string manifest(manifestBytes.begin(), manifestBytes.end());
    for (const char* part : {"level=\"requireAdministrator\" uiAccess=\"false\"", ">true</dpiAware>",
                             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
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

    // Not a picture, not there, not kRcData: no handle, and an empty canvas.
    for (const wchar_t* name : {L"#101", L"IMAGE_MISSING", L"IMAGE_ICO"}) {
        EXPECT_EQ(LoadResourceImage(nullptr, name, 0, false, kResourceImageBitmap, 0), nullptr);
        MemoryCanvas canvas;
        LoadImageCanvas(canvas, nullptr, name, 0, false, 0);
        EXPECT_EQ(CanvasDc(canvas), nullptr);
    }
}

}  // namespace
