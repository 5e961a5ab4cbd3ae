// The committed picture and icon files have the shapes the program and the shell rely on.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> ReadResource(const std::string& name) {
    std::ifstream file(std::string(TEST_SOURCE_DIR) + "/src/resources/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t Le16(const std::vector<uint8_t>& d, size_t at) { return d.at(at) | d.at(at + 1) << 8; }
uint32_t Le32(const std::vector<uint8_t>& d, size_t at) { return Le16(d, at) | Le16(d, at + 2) << 16; }
uint32_t Be16(const std::vector<uint8_t>& d, size_t at) { return d.at(at) << 8 | d.at(at + 1); }

TEST(ResourceFilesTest, IconHoldsThreeEightBitImagesOfTheFixedSizes) {
    const std::vector<uint8_t> ico = ReadResource("AppIcon.ico");
    ASSERT_GE(ico.size(), 6u);
    ASSERT_EQ(Le16(ico, 2), 1u);  // icon, not cursor
    ASSERT_EQ(Le16(ico, 4), 3u);
    const struct {
        uint32_t side, bytes;
    } images[] = {{16, 1384}, {32, 2216}, {48, 3752}};
    size_t expectedOffset = 6 + 16 * 3;
    for (size_t i = 0; i < 3; ++i) {
        const size_t entry = 6 + 16 * i;
        SCOPED_TRACE(images[i].side);
        EXPECT_EQ(ico.at(entry), images[i].side);
        EXPECT_EQ(ico.at(entry + 1), images[i].side);
        EXPECT_EQ(Le16(ico, entry + 6), 8u);
        EXPECT_EQ(Le32(ico, entry + 8), images[i].bytes);
        const size_t image = Le32(ico, entry + 12);
        EXPECT_EQ(image, expectedOffset);
        expectedOffset += images[i].bytes;
        // The bitmap header inside: doubled height (colour and mask), 8 bits, full palette.
        EXPECT_EQ(Le32(ico, image), 40u);
        EXPECT_EQ(Le32(ico, image + 8), 2 * images[i].side);
        EXPECT_EQ(Le16(ico, image + 14), 8u);
        EXPECT_EQ(Le32(ico, image + 32), 0u);
    }
    EXPECT_EQ(ico.size(), expectedOffset);
}

TEST(ResourceFilesTest, WelcomePictureIsOneFrameGifWithSixtyFourColours) {
    const std::vector<uint8_t> gif = ReadResource("Welcome.gif");
    ASSERT_GE(gif.size(), 13u + 192u + 11u);
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
    EXPECT_EQ(Le16(gif, 6), 120u);
    EXPECT_EQ(Le16(gif, 8), 250u);
    EXPECT_EQ(gif[10] & 0x87, 0x85);  // global palette of 2^(5+1) entries
    // Straight after the palette comes the one image: no extension, so no transparent colour.
    const size_t image = 13 + 64 * 3;
    EXPECT_EQ(gif[image], 0x2C);
    EXPECT_EQ(gif[image + 9] & 0x80, 0);  // no local palette
    EXPECT_EQ(gif.back(), 0x3B);
    size_t at = image + 11;  // LZW code size, then sub-blocks
    while (at < gif.size() && gif[at] != 0) at += gif[at] + 1;
    EXPECT_EQ(at + 2, gif.size()) << "more than one frame or trailing data";
}

TEST(ResourceFilesTest, BannerIsThreeComponentJfifOfTheBandSize) {
    const std::vector<uint8_t> jpg = ReadResource("Banner.jpg");
    ASSERT_GE(jpg.size(), 20u);
    EXPECT_EQ(Be16(jpg, 0), 0xFFD8u);
    EXPECT_EQ(Be16(jpg, 2), 0xFFE0u);
    EXPECT_EQ(std::string(jpg.begin() + 6, jpg.begin() + 11), std::string("JFIF\0", 5));
    size_t at = 2;
    while (at + 4 <= jpg.size() && jpg[at] == 0xFF && jpg[at + 1] != 0xC0) at += 2 + Be16(jpg, at + 2);
    ASSERT_LT(at + 10, jpg.size()) << "no baseline frame header";
    EXPECT_EQ(Be16(jpg, at + 5), 53u);
    EXPECT_EQ(Be16(jpg, at + 7), 451u);
    EXPECT_EQ(jpg[at + 9], 3);
}

}  // namespace
