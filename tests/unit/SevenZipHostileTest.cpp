#include <gtest/gtest.h>

#include <functional>

#include "EntryStreams.h"
#include "SevenZipTestFiles.h"
#include "SevenZipTinyWriter.h"

namespace {

using namespace sevenzip_test;

const Bytes kLzma2Id{0x21};
const Bytes kBcjId{0x03, 0x03, 0x01, 0x03};
const Bytes kCopyId{0x00};
constexpr size_t kDeclared = 8192;

// A real LZMA2 stream made by 7z from 256 KiB that repeat themselves at 128 KiB.
struct RealLzma2 {
    std::string plain;
    std::string packed;
};

const RealLzma2& Lzma2Stream() {
    static const RealLzma2 stream = [] {
        const std::string half = RandomBytes(128 << 10, 11);
        return RealLzma2{half + half, PackedBy7z(half + half, "-m0=LZMA2:d=1m")};
    }();
    return stream;
}

const Bytes kOneMebibyte{16};  // LZMA2 dictionary property of the stream above

// One file of fileSize bytes whose content and CRC are what the coders' output starts with,
// so that only the sizes are wrong.
Bytes ArchiveOver(std::vector<TinyCoder> coders, const RealLzma2& stream, size_t fileSize = kDeclared) {
    TinyFolder folder{std::move(coders), stream.packed};
    return WriteTinyArchive({{u"data.bin", stream.plain.substr(0, fileSize)}}, &folder);
}

// The real stream under the given coders, its files declared shorter than it decodes.
Bytes Lzma2Longer(std::vector<TinyCoder> over) {
    over.push_back({kLzma2Id, kOneMebibyte, kDeclared});
    return ArchiveOver(std::move(over), Lzma2Stream());
}

RealLzma2 Stored(const std::string& plain) { return {plain, StoredLzma2(plain)}; }

// A tiny archive whose only header holds the given bytes after the Header property.
Bytes RawHeader(Bytes body) {
    body.insert(body.begin(), 0x01);
    return WrapArchive("", body);
}

Bytes HugeNumber(Bytes before, uint64_t number, Bytes after = {}) {
    PutNumber(before, number);
    before.insert(before.end(), after.begin(), after.end());
    return before;
}

struct HostileCase {
    const char* label;
    std::function<Bytes()> make;
    bool checkPasses;  // the archive check reads headers only; data faults show when unpacking
};

class SevenZipHostileTest : public testing::TestWithParam<HostileCase> {};

TEST_P(SevenZipHostileTest, FailsCleanlyWritingNothing) {
    ScratchFolder scratch;
    fs::path archive = scratch.Path() / "hostile.7z", target = scratch.Path() / "out";
    Bytes bytes = GetParam().make();
    WriteBytes(archive, std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(sevenzip::CheckArchiveFile(archive.string()), GetParam().checkPasses);
    int result = Extract(archive, target);
    EXPECT_TRUE(result == sevenzip::kResultDamaged || result == sevenzip::kResultUnsupported) << result;
    for (const auto& [name, content] : Tree(target)) EXPECT_EQ(content, "<folder>") << name;
    // lzpack's test of a package must refuse whatever the installer's extraction refuses.
    sevenzip::MemoryInStream in(bytes.data(), bytes.size());
    EXPECT_ANY_THROW({
        sevenzip::Archive opened(in);
        sevenzip::DecodeAllEntries(opened, [](const sevenzip::Entry&) {});
    });
}

const uint64_t kThirtyMillion = 30'000'000;

INSTANTIATE_TEST_SUITE_P(
    Crafted, SevenZipHostileTest,
    testing::Values(
        HostileCase{"Lzma2LongerUnderBcj", [] { return Lzma2Longer({{kBcjId, {}, kDeclared}}); }, true},
        HostileCase{"Lzma2LongerUnderCopy", [] { return Lzma2Longer({{kCopyId, {}, kDeclared}}); }, true},
        HostileCase{"Lzma2LongerAlone", [] { return Lzma2Longer({}); }, true},
        HostileCase{"Lzma2LongerAsEncodedHeader",
                    [] {
                        // The plain header of a four-byte file, stored as LZMA2 chunks that go on past it.
                        const Bytes plain = WriteTinyArchive({{u"a.txt", "text"}});
                        const std::string header(plain.begin() + 32 + 4, plain.end());
                        const TinyFolder packed{{{kLzma2Id, {0x00}, header.size()}}, StoredLzma2(header + RandomBytes(70000, 12))};
                        Bytes encoded{0x17};
                        PutFolderStreams(encoded, 4, packed);
                        encoded.push_back(0x00);
                        return WrapArchive("text" + packed.packed, encoded);
                    },
                    false},
        HostileCase{"BindPairSizesDisagreeShorter",
                    [] { return ArchiveOver({{kCopyId, {}, 8000}, {kLzma2Id, {0x00}, 4096}}, Stored(RandomBytes(4096, 13)), 8000); },
                    true},
        HostileCase{"BindPairSizesDisagreeLonger",
                    [] { return ArchiveOver({{kCopyId, {}, 2000}, {kLzma2Id, {0x00}, 4096}}, Stored(RandomBytes(4096, 13)), 2000); },
                    true},
        HostileCase{"Lzma2DictionaryBeyondBudget",
                    [] { return ArchiveOver({{kLzma2Id, {40}, uint64_t(1) << 40}}, Stored("abc"), 0); }, true},
        HostileCase{"WrongFileCrc",
                    [] {
                        const TinyFolder other = CopyFolder("some texu");  // the CRC is of "some text"
                        return WriteTinyArchive({{u"a.txt", "some text"}}, &other);
                    },
                    true},
        HostileCase{"ThirtyMillionFilesTinyHeader", [] { return RawHeader(HugeNumber({0x05}, kThirtyMillion, {0, 0})); },
                    false},
        HostileCase{"ThirtyMillionFilesFullHeader",
                    [] {
                        // Enough padding for every entry to have its byte: the memory budget must refuse it.
                        Bytes body = HugeNumber({0x05}, kThirtyMillion, {0x19});
                        PutNumber(body, kThirtyMillion);
                        body.resize(body.size() + kThirtyMillion, 0);
                        body.insert(body.end(), {0x00, 0x00});
                        return RawHeader(body);
                    },
                    false},
        HostileCase{"HugePackStreamCount",
                    [] { return RawHeader(HugeNumber({0x04, 0x06, 0x00}, uint64_t(1) << 62, {0x00, 0x00, 0x00})); },
                    false},
        HostileCase{"HugeFolderCount",
                    [] { return RawHeader(HugeNumber({0x04, 0x07, 0x0B}, kThirtyMillion, {0x00, 0x00})); }, false},
        HostileCase{"HugeCoderCount",
                    [] { return RawHeader(HugeNumber({0x04, 0x07, 0x0B, 0x01, 0x00}, kThirtyMillion, {0x00})); },
                    false}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
