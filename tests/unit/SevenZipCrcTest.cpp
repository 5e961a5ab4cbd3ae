#include <gtest/gtest.h>

#include <string>

#include "Crc32.h"

namespace {

TEST(SevenZipCrc, MatchesKnownValuesAndContinues) {
    struct Case {
        std::string data;
        uint32_t crc;
    };
    const Case cases[] = {
        {"", 0},
        {"123456789", 0xCBF43926},
        {"The quick brown fox jumps over the lazy dog", 0x414FA339},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sevenzip::Crc32(c.data.data(), c.data.size()), c.crc) << c.data;
        // Split at every point: continuing must give the same value as one pass.
        for (size_t cut = 0; cut <= c.data.size(); ++cut) {
            uint32_t first = sevenzip::Crc32(c.data.data(), cut);
            EXPECT_EQ(sevenzip::UpdateCrc32(first, c.data.data() + cut, c.data.size() - cut), c.crc);
        }
    }
}

}  // namespace
