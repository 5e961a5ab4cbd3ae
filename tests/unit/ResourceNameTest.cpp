#include "support/ResourceName.h"

#include <gtest/gtest.h>

namespace {

TEST(ResourceNameTest, HashNamesAreSixteenBitIdentifiers) {
    const struct {
        const wchar_t* name;
        std::optional<uint16_t> id;
    } cases[] = {
        {L"IMAGE_2", std::nullopt},
        {L"A#1", std::nullopt},
        {L"#0101", 101},
        {L"#101.5", 102},  // rounded, ties to even
        {L"#102.5", 102},
        {L"#65537", 1},    // taken as 16 bits
        {L"#-1", 65535},
        {L"#12abc", 12},   // the leading number only
        {L"#abc", 0},
        {L"#99999999999999999999999", 0},  // 10^23 is a multiple of 65536
    };
    for (const auto& c : cases) EXPECT_EQ(ResourceIdFromName(c.name), c.id) << '"' << c.name << '"';
}

}  // namespace
