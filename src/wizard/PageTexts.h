#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/PackageInfo.h"

// The publisher's web address, drawn small on the header band beside the button separator.
inline constexpr char SiteText[] = "lzrj.net";

// COLORREF values (0x00BBGGRR).
constexpr int32_t kBlack = 0x000000;
constexpr int32_t kPurple = 0x800080;
constexpr int32_t kLeafGreen = 0x009933;
constexpr int32_t kGreen = 0x008000;
constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kBlue = 0xFF0000;
// Not a COLORREF: the system shadow colour, read at each paint.
constexpr int32_t kShadowColour = -2;

// Texts that come from the page state or the package rather than from the table.
enum class TextSource : uint8_t { Fixed, SiteText, PageTitle, PageSubtitle, DisplayName, VersionLine };

// The three faces the pages use, by index: the table of texts then needs no address per row.
enum class FontFace : uint8_t { YaHei, Song, Hei };
const char* FaceName(FontFace face);

// One text of a page: anchor in device pixels (never scaled), alignment width as PaintText
// takes it, font, and the colour it is drawn in. All are drawn on a transparent background.
// Narrow fields: the table is part of a program that must stay small.
struct PageText {
  TextSource source;
  const char* text;  // for Fixed
  int16_t x, y, alignWidth;
  FontFace face;
  int16_t points, weight;
  int32_t colour;
};

struct PageTextValues {
  std::string_view pageTitle, pageSubtitle, displayName, versionLine;
};

// Every text of a page in drawing order: the header band's first on pages with a header band.
std::vector<PageText> PageTexts(int32_t page, bool extractOnly);

std::string TextOf(const PageText& item, const PageTextValues& values);

// The welcome page's version line; empty until a package's information has been read.
std::string WelcomeVersionLine(const PackageInfo& package);
