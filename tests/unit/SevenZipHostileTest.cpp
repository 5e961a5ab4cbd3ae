#include <gtest/gtest.h>

#include "EntryStreams.h"
#include "SevenZipTestFiles.h"
#include "SevenZipTinyWriter.h"

namespace {

using namespace sevenzip_test;

const std::string kLzma2{0x21}, kBcj{0x03, 0x03, 0x01, 0x03}, kCopy{'\0'}, kNone;
constexpr size_t kDeclared = 8192;
constexpr uint64_t kThirtyMillion = 30'000'000;

// One file whose content and CRC are what the coders' output starts with, so that only the
// sizes are wrong.
std::string Over(std::vector<TinyCoder> coders, const std::string& plain, std::string packed, size_t fileSize) {
  const TinyFolder folder{std::move(coders), std::move(packed)};
  return WriteTinyArchive({{u"data.bin", plain.substr(0, fileSize)}}, &folder);
}

// 7z's LZMA2 stream (1 MiB dictionary) of 256 KiB that repeat themselves at 128 KiB, under
// the given coders; its file is declared shorter than it decodes.
std::string Lzma2Longer(std::vector<TinyCoder> over) {
  static const std::string plain = [] {
    const std::string half = RandomBytes(128 << 10, 11);
    return half + half;
  }();
  static const std::string packed = PackedBy7z(plain, "-m0=LZMA2:d=1m");
  over.push_back({kLzma2, {16}, kDeclared});
  return Over(std::move(over), plain, packed, kDeclared);
}

// An archive whose only header holds a number no archive can hold between the given bytes.
std::string Huge(const std::string& before, uint64_t number, const std::string& after) {
  return WrapArchive("", '\x01' + before + Number(number) + after);
}

TEST(SevenZipHostileTest, CraftedArchivesFailCleanlyWritingNothing) {
  const std::string random = RandomBytes(4096, 13), end2 = std::string(2, '\0'), end3 = std::string(3, '\0');
  // The plain header of a four-byte file, stored as LZMA2 chunks that go on past it.
  const std::string plainHeader = WriteTinyArchive({{u"a.txt", "text"}}).substr(32 + 4);
  const TinyFolder header{{{kLzma2, {'\0'}, plainHeader.size()}}, StoredLzma2(plainHeader + RandomBytes(70000, 12))};
  const std::string encodedHeader = WrapArchive("text" + header.packed, '\x17' + FolderStreams(4, header) + '\0');
  const TinyFolder texu = CopyFolder("some texu");  // the CRC is of "some text"
  const auto bindPair = [&random](size_t outer) {
    return Over({{kCopy, kNone, outer}, {kLzma2, {'\0'}, 4096}}, random, StoredLzma2(random), outer);
  };
  // Enough padding for every entry to have its byte: the memory budget must refuse it.
  const std::string entryBytes = '\x19' + Number(kThirtyMillion) + std::string(kThirtyMillion + 2, '\0');
  const struct {
    const char* label;
    std::string bytes;
    bool checkPasses;  // the archive check reads headers only; data faults show when unpacking
  } cases[] = {
      {"Lzma2LongerUnderBcj", Lzma2Longer({{kBcj, kNone, kDeclared}}), true},
      {"Lzma2LongerUnderCopy", Lzma2Longer({{kCopy, kNone, kDeclared}}), true},
      {"Lzma2LongerAlone", Lzma2Longer({}), true},
      {"Lzma2LongerAsEncodedHeader", encodedHeader, false},
      {"BindPairSizesDisagreeShorter", bindPair(8000), true},
      {"BindPairSizesDisagreeLonger", bindPair(2000), true},
      {"Lzma2DictionaryBeyondBudget", Over({{kLzma2, {40}, uint64_t(1) << 40}}, "abc", StoredLzma2("abc"), 0), true},
      {"WrongFileCrc", WriteTinyArchive({{u"a.txt", "some text"}}, &texu), true},
      {"ThirtyMillionFilesTinyHeader", Huge({0x05}, kThirtyMillion, end2), false},
      {"ThirtyMillionFilesFullHeader", Huge({0x05}, kThirtyMillion, entryBytes), false},
      {"HugePackStreamCount", Huge({0x04, 0x06, 0x00}, uint64_t(1) << 62, end3), false},
      {"HugeFolderCount", Huge({0x04, 0x07, 0x0B}, kThirtyMillion, end2), false},
      {"HugeCoderCount", Huge({0x04, 0x07, 0x0B, 0x01, 0x00}, kThirtyMillion, {0x00}), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ScratchFolder scratch;
    const fs::path archive = scratch.Path() / "hostile.7z", target = scratch.Path() / "out";
    WriteBytes(archive, c.bytes);
    EXPECT_EQ(sevenzip::CheckArchiveFile(archive.string()), c.checkPasses);
    const int result = Extract(archive, target);
    EXPECT_TRUE(result == sevenzip::kResultDamaged || result == sevenzip::kResultUnsupported) << result;
    for (const auto& [name, content] : Tree(target)) EXPECT_EQ(content, "<folder>") << name;
    // lzpack's test of a package must refuse whatever the installer's extraction refuses.
    sevenzip::MemoryInStream in(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
    EXPECT_ANY_THROW({
      sevenzip::Archive opened(in);
      sevenzip::DecodeAllEntries(opened, [](const sevenzip::Entry&) {});
    });
  }
}

}  // namespace
