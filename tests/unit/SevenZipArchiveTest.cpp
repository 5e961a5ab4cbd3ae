#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <sstream>

#include "SevenZipTestFiles.h"
#include "platform/Utf8Text.h"

namespace {

using namespace sevenzip_test;

// A tree with what packages hold: text, incompressible data, code of several processors,
// empty files and folders, nested names and names in many scripts, GBK or not.
void MakeSourceTree(const fs::path& root) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i * 7919 % 1000) + " of the readme\n";
  WriteBytes(root / "readme.txt", text);
  WriteBytes(root / "random.bin", RandomBytes(300000, 1));
  WriteBytes(root / "bin" / "tool.exe", X86Program(200000, 2));
  WriteBytes(root / "bin" / "native.so", BranchLikeBytes(120000, 8));
  WriteBytes(root / "empty.txt", "");
  // Names through char16_t: narrow literals are GBK here, the file system wants UTF-8.
  WriteBytes(root / fs::path(u"文档") / fs::path(u"说明 文件.txt"), "中文内容\n");
  WriteBytes(root / "a" / "b" / "c" / "deep.txt", text.substr(0, 1000));
  fs::create_directories(root / "empty folder" / "inner");
  const std::u16string kNames[] = {u"한국어.lng",         u"日本語のファイル.txt",  u"Ελληνικά.txt",
                                   u"Größe ß.txt",        u"\U0001F600 sample.dat", u"ǅŉ.txt",
                                   u"a\uFF1Ab\u2215c.txt"};
  for (const auto& name : kNames) WriteBytes(root / fs::path(u"lang") / fs::path(name), Utf16ToUtf8(name));
}

// The archive unpacked by 7z and by the library into scratch: the same 22 entries of the
// source tree, but for the link, which the library writes as a plain file of the link's text.
void ExpectSameTreeAs7z(const fs::path& scratch, const fs::path& archive, const char* link = nullptr) {
  ASSERT_EQ(RunShell("7z x -y -o" + Quoted(scratch / "by7z") + " " + Quoted(archive)).status, 0);
  EXPECT_TRUE(sevenzip::CheckArchiveFile(archive.string()));
  ASSERT_EQ(Extract(archive, scratch / "ours"), sevenzip::kResultOk);
  auto expected = Tree(scratch / "by7z"), tree = Tree(scratch / "ours");
  if (link) {
    EXPECT_FALSE(fs::is_symlink(scratch / "ours" / link));
    EXPECT_EQ(tree[link], "readme.txt");
    expected.erase(link), tree.erase(link);
  }
  EXPECT_EQ(expected.size(), 22u);
  ASSERT_EQ(tree.size(), expected.size());
  for (const auto& [name, content] : expected) EXPECT_TRUE(tree.count(name) && tree[name] == content) << name;
}

// Made by 7z with the switches, with an information block behind the archive as packages
// carry it; or by bsdtar with this compression, which packs a folder given as "." with "./"
// before every name, an entry "." and POSIX modes, and a symbolic link as a plain file
// holding the link's text, never a link.
struct ArchiveCase {
  std::string label, switches;
  const char* bsdtar = nullptr;
};

class SevenZipArchiveTest : public testing::TestWithParam<ArchiveCase> {};

TEST_P(SevenZipArchiveTest, ExtractsTheSameTreeAs7z) {
  ScratchFolder scratch;
  const fs::path source = scratch.Path() / "source", archive = scratch.Path() / "test.7z";
  MakeSourceTree(source);
  if (const char* compression = GetParam().bsdtar) {
    fs::create_symlink("readme.txt", source / "link");
    const std::string options = " --format 7zip --options 7zip:compression=" + std::string(compression);
    ASSERT_EQ(RunShell("cd " + Quoted(source) + " && bsdtar -cf " + Quoted(archive) + options + " .").status, 0);
  } else {
    Make7z(source, archive, GetParam().switches);
    std::ofstream(archive, std::ios::binary | std::ios::app) << RandomBytes(2000, 3);
  }
  ExpectSameTreeAs7z(scratch.Path(), archive, GetParam().bsdtar ? "link" : nullptr);
}

// Every coder and filter the reader decodes (the rows the fuzz seeds use too), and forms of
// blocks, headers and settings; the smallest PPMd model memory makes the model restart often.
std::vector<ArchiveCase> Settings() {
  // A name and 7z's switches a line, as the script prints them.
  std::istringstream rows(
      "Default\nNonSolid -ms=off\nTwoFilesPerBlock -ms=2f\nPlainHeader -mhc=off\nBcjLzma -m0=BCJ -m1=LZMA\n"
      "Fastest -mx=1\nSmallDictionary -m0=LZMA2:d=64k\nUltra -mx=9\nPpmdMaxOrderSmallMemory -m0=PPMd:o=32:mem=64k\n"
      "Bzip2SmallBlocksMultithread -m0=BZip2:d=100k -mmt=2\nLzma2IndependentBlocks -m0=LZMA2:d=64k:c=64k -mmt=2\n"
      "Lzma2BlocksBeyondDictionary -m0=LZMA2:d=64k:c=256k\n" +
      RunShell(TEST_SOURCE_DIR "/tests/common/SevenZipCoderRows.sh").output);
  std::vector<ArchiveCase> cases;
  for (std::string name, switches; rows >> name && std::getline(rows, switches);) cases.push_back({name, switches});
  for (const char* compression : {"store", "deflate", "bzip2", "lzma1", "lzma2", "ppmd"}) {
    cases.push_back({std::string("Bsdtar") + compression, "", compression});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Settings, SevenZipArchiveTest, testing::ValuesIn(Settings()),
                         [](const auto& info) { return info.param.label; });

// Files far larger than the dictionary: matches cross the window's wrap again and again,
// and the last one crosses it at the very end of the packed data.
struct LargeCase {
  const char *label, *switches;
  size_t mebibytes;
};

class SevenZipLargeFileTest : public testing::TestWithParam<LargeCase> {};

TEST_P(SevenZipLargeFileTest, ExtractsTheSameBytes) {
  ScratchFolder scratch;
  fs::path source = scratch.Path() / "source", archive = scratch.Path() / "big.7z";
  size_t size = (GetParam().mebibytes << 20) + 50;
  std::string big;
  big.reserve(size);
  std::string noise = RandomBytes(1 << 16, 4);
  for (unsigned i = 0; big.size() < size; ++i)
    big += i % 4 == 0 ? noise.substr(i % 4096, 4096) : "record " + std::to_string(i) + " payload\n";
  big.resize(size - 200);
  big += std::string(200, 'z');
  WriteBytes(source / "big.dat", big);
  Make7z(source, archive, GetParam().switches);
  ASSERT_EQ(Extract(archive, scratch.Path() / "ours"), sevenzip::kResultOk);
  EXPECT_TRUE(ReadBytes(scratch.Path() / "ours" / "big.dat") == big);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SevenZipLargeFileTest,
                         testing::Values(LargeCase{"FiftyMebibytes", "-mx=1", 50},
                                         LargeCase{"LzmaSmallDictionary", "-m0=LZMA:d=64k", 6},
                                         LargeCase{"Lzma2SmallDictionary", "-m0=LZMA2:d=64k", 6},
                                         LargeCase{"Lzma2IndependentBlocks", "-m0=LZMA2:d=1m:c=1m -mmt=2", 12}),
                         [](const auto& info) { return std::string(info.param.label); });

// A process whose address space has no room for a window per decoding thread still unpacks a
// stream cut into blocks, on one thread.
TEST(SevenZipParallelTest, UnpacksOnOneThreadWithoutRoomForMore) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer ends the process on a failed allocation instead of throwing";
#endif
  ScratchFolder scratch;
  fs::path source = scratch.Path() / "source", archive = scratch.Path() / "blocks.7z";
  std::string data;
  for (unsigned i = 0; data.size() < (9u << 20); ++i) data += "record " + std::to_string(i * 7919u) + "\n";
  WriteBytes(source / "data.txt", data);
  Make7z(source, archive, "-m0=LZMA2:d=4m:c=4m -mmt=2");
  auto extractWithinLimit = [&] {
    // Headroom for one 4 MiB window and the buffers, not for two windows.
    const long pages = std::stol(ReadBytes("/proc/self/statm"));
    const rlimit limit{rlim_t(pages) * sysconf(_SC_PAGESIZE) + (7 << 20), RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &limit);
    _exit(Extract(archive, scratch.Path() / "out"));
  };
  EXPECT_EXIT(extractWithinLimit(), testing::ExitedWithCode(sevenzip::kResultOk), "");
  EXPECT_TRUE(ReadBytes(scratch.Path() / "out" / "data.txt") == data);
}

// Damage anywhere must end in a failure, and no damaged file may stay behind.
struct DamageCase {
  const char* label;
  long at;          // from the start, or from the end when negative
  uint8_t xorMask;  // 0: the archive is cut there
  const char* switches;
};

constexpr const char *kPlain = "-mhc=off", *kDeflate64 = "-mhc=off -m0=Deflate64", *kBcj2 = "-mhc=off -mf=BCJ2";
constexpr const char *kLzma = "-m0=LZMA:d=64k -mhc=off", *kLzmaHeader = "-m0=LZMA:d=64k";
constexpr const char* kLzma2Blocks = "-m0=LZMA2:d=64k:c=64k -mhc=off";  // decoded on several threads

class SevenZipDamageTest : public testing::TestWithParam<DamageCase> {};

TEST_P(SevenZipDamageTest, FailsWithoutDamagedFiles) {
  ScratchFolder scratch;
  fs::path source = scratch.Path() / "source", archive = scratch.Path() / "test.7z";
  WriteBytes(source / "one.txt", std::string(100000, 'x') + RandomBytes(50000, 5));
  WriteBytes(source / "two.bin", CodeLikeBytes(70000, 6));
  const DamageCase& c = GetParam();
  Make7z(source, archive, c.switches);
  std::string bytes = ReadBytes(archive);
  const size_t at = c.at >= 0 ? size_t(c.at) : bytes.size() + c.at;
  bytes.resize(c.xorMask ? bytes.size() : at);
  if (c.xorMask) bytes[at] ^= c.xorMask;
  WriteBytes(archive, bytes);

  bool checked = sevenzip::CheckArchiveFile(archive.string());
  int result = Extract(archive, scratch.Path() / "ours");
  EXPECT_NE(result, sevenzip::kResultOk);
  EXPECT_TRUE(!checked || result == sevenzip::kResultDamaged) << result;
  // Whatever was written is exactly the original.
  for (const auto& [name, content] : Tree(scratch.Path() / "ours")) {
    EXPECT_EQ(content, ReadBytes(source / name)) << name;
  }
}

const DamageCase kDamage[] = {
    {"Signature", 0, 0x01, kPlain},
    {"StartHeaderCrc", 8, 0x40, kPlain},
    {"NextHeaderOffset", 12, 0x01, kPlain},
    {"NextHeaderCrc", 28, 0x01, kPlain},
    {"FirstPackedByte", 32, 0x20, kPlain},
    {"PackedData", 30000, 0x04, kPlain},
    {"LastPackedBytes", -200, 0x80, kPlain},
    {"HeaderByte", -20, 0x10, kPlain},
    {"TruncatedInHeader", -10, 0, kPlain},
    {"TruncatedInData", 20000, 0, kPlain},
    {"OnlySignatureHeader", 32, 0, kPlain},
    {"ShorterThanSignature", 20, 0, kPlain},
    {"Deflate64BlockHeader", 33, 0x08, kDeflate64},
    {"Deflate64Data", 30000, 0x04, kDeflate64},
    {"Deflate64Truncated", 20000, 0, kDeflate64},
    {"Bcj2MainStream", 30000, 0x04, kBcj2},
    {"Bcj2CallAndJumpStreams", 95000, 0x01, kBcj2},
    {"Bcj2RangeCodedStream", -1000, 0x40, kBcj2},
    {"Bcj2Truncated", 30000, 0, kBcj2},
    {"LzmaPackedData", 30000, 0x04, kLzma},
    {"LzmaLastPackedBytes", -200, 0x80, kLzma},
    {"LzmaTruncatedInData", 20000, 0, kLzma},
    {"LzmaPackedHeader", -20, 0x10, kLzmaHeader},
    {"Lzma2BlocksSecondBlock", 30000, 0x04, kLzma2Blocks},
    {"Lzma2BlocksLaterBlock", 50000, 0x80, kLzma2Blocks},
    {"Lzma2BlocksLastBytes", -200, 0x80, kLzma2Blocks},
    {"Lzma2BlocksTruncated", 50000, 0, kLzma2Blocks},
};

INSTANTIATE_TEST_SUITE_P(Damage, SevenZipDamageTest, testing::ValuesIn(kDamage),
                         [](const auto& info) { return std::string(info.param.label); });

// Encrypted archives: refused by the check, nothing written.
TEST(SevenZipUnsupported, CheckRefusesEncryption) {
  ScratchFolder scratch;
  fs::path source = scratch.Path() / "source";
  WriteBytes(source / "a.txt", std::string(5000, 'a'));
  const char* switchSets[] = {"-pSecret", "-pSecret -mhe=on"};
  for (const char* switches : switchSets) {
    fs::path archive = scratch.Path() / (std::to_string(std::hash<std::string>{}(switches)) + ".7z");
    Make7z(source, archive, switches);
    EXPECT_FALSE(sevenzip::CheckArchiveFile(archive.string())) << switches;
    EXPECT_EQ(Extract(archive, scratch.Path() / "out"), sevenzip::kResultUnsupported) << switches;
    EXPECT_TRUE(Tree(scratch.Path() / "out").empty()) << switches;
  }
  EXPECT_FALSE(sevenzip::CheckArchiveFile((scratch.Path() / "missing.7z").string()));
}

}  // namespace
