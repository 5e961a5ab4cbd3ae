#include "support/PixelAdjust.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }

TEST(PixelAdjustTest, AdjustsChannelsAndKeepsAlpha) {
    const struct {
        int lighten;
        bool grey;
        uint32_t in, out;
    } cases[] = {
        // 127.5 rounds to the even 128; 255 stays.
        {50, false, Argb(0x80, 0, 255, 0), Argb(0x80, 128, 255, 128)},
        {50, false, Argb(0, 1, 2, 3), Argb(0, 128, 128, 129)},  // 128.0, 128.5 -> 128, 129.0
        {0, false, Argb(0x12, 10, 20, 30), Argb(0x12, 10, 20, 30)},
        {100, false, Argb(0xFF, 10, 20, 30), Argb(0xFF, 10, 20, 30)},
        {-20, false, Argb(0xFF, 10, 20, 30), Argb(0xFF, 10, 20, 30)},
        {99, false, Argb(0xFF, 0, 100, 254), Argb(0xFF, 252, 253, 255)},
        // Luma of the primaries: 76.245, 149.685, 29.07.
        {0, true, Argb(0xFF, 255, 0, 0), Argb(0xFF, 76, 76, 76)},
        {0, true, Argb(0x40, 0, 255, 0), Argb(0x40, 150, 150, 150)},
        {0, true, Argb(0xFF, 0, 0, 255), Argb(0xFF, 29, 29, 29)},
        {0, true, Argb(0xFF, 255, 255, 255), Argb(0xFF, 255, 255, 255)},
        // Lightened first: (128, 129, 128) has luma 128.587; grey first would give 2, then 128.
        {50, true, Argb(0xFF, 0, 3, 0), Argb(0xFF, 129, 129, 129)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AdjustPixel(c.in, LightenFactor(c.lighten), c.grey), c.out)
            << std::hex << c.in << " lighten " << std::dec << c.lighten << " grey " << c.grey;
    }
}

}  // namespace
