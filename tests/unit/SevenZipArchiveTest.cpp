#include <gtest/gtest.h>

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
    const std::u16string kNames[] = {u"한국어.lng", u"日本語のファイル.txt", u"Ελληνικά.txt", u"Größe ß.txt",
                                     u"\U0001F600 sample.dat", u"ǅŉ.txt", u"a\uFF1Ab\u2215c.txt"};
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

struct ArchiveCase {
    std::string label;
    std::string switches;
};

class SevenZipArchiveTest : public testing::TestWithParam<ArchiveCase> {};

TEST_P(SevenZipArchiveTest, ExtractsTheSameTreeAs7z) {
    ScratchFolder scratch;
    fs::path source = scratch.Path() / "source", archive = scratch.Path() / "test.7z";
    MakeSourceTree(source);
    Make7z(source, archive, GetParam().switches);
    // What the installer's packages carry: an information block behind the archive.
    std::ofstream(archive, std::ios::binary | std::ios::app) << RandomBytes(2000, 3);
    ExpectSameTreeAs7z(scratch.Path(), archive);
}

// Every coder and filter the reader decodes (the rows the fuzz seeds use too), and forms of
// blocks, headers and settings; the smallest PPMd model memory makes the model restart often.
std::vector<ArchiveCase> Settings() {
    std::vector<ArchiveCase> cases = {
        {"Default", ""}, {"NonSolid", "-ms=off"}, {"TwoFilesPerBlock", "-ms=2f"}, {"PlainHeader", "-mhc=off"},
        {"BcjLzma", "-m0=BCJ -m1=LZMA"}, {"Fastest", "-mx=1"}, {"SmallDictionary", "-m0=LZMA2:d=64k"}, {"Ultra", "-mx=9"},
        {"PpmdMaxOrderSmallMemory", "-m0=PPMd:o=32:mem=64k"}, {"Bzip2SmallBlocksMultithread", "-m0=BZip2:d=100k -mmt=2"}};
    std::istringstream rows(RunShell(TEST_SOURCE_DIR "/tests/common/SevenZipCoderRows.sh").output);
    for (std::string name, switches; rows >> name && std::getline(rows, switches);) cases.push_back({name, switches});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Settings, SevenZipArchiveTest, testing::ValuesIn(Settings()),
                         [](const auto& info) { return info.param.label; });

// bsdtar packs a folder given as "." with "./" before every name, an entry "." and POSIX
// modes; a symbolic link becomes a plain file holding the link's text, never a link.
class SevenZipOtherArchiverTest : public testing::TestWithParam<const char*> {};

TEST_P(SevenZipOtherArchiverTest, ExtractsTheSameTreeAs7z) {
    ScratchFolder scratch;
    fs::path source = scratch.Path() / "source", archive = scratch.Path() / "bsdtar.7z";
    MakeSourceTree(source);
    fs::create_symlink("readme.txt", source / "link");
    ASSERT_EQ(RunShell("cd " + Quoted(source) + " && bsdtar -cf " + Quoted(archive) +
                       " --format 7zip --options 7zip:compression=" + GetParam() + " .").status, 0);
    ExpectSameTreeAs7z(scratch.Path(), archive, "link");
}

INSTANTIATE_TEST_SUITE_P(Coders, SevenZipOtherArchiverTest,
                         testing::Values("store", "deflate", "bzip2", "lzma1", "lzma2", "ppmd"),
                         [](const auto& info) { return std::string(info.param); });

// Files far larger than the dictionary: matches cross the window's wrap again and again,
// and the last one crosses it at the very end of the packed data.
struct LargeCase {
    const char* label;
    const char* switches;
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
                                         LargeCase{"Lzma2SmallDictionary", "-m0=LZMA2:d=64k", 6}),
                         [](const auto& info) { return std::string(info.param.label); });

// Damage anywhere must end in a failure, and no damaged file may stay behind.
struct DamageCase {
    const char* label;
    long offset;  // from the start, or from the end when negative
    uint8_t xorMask;
    long truncateTo;  // 0: keep the length
    const char* switches = "-mhc=off";
};

class SevenZipDamageTest : public testing::TestWithParam<DamageCase> {};

TEST_P(SevenZipDamageTest, FailsWithoutDamagedFiles) {
    ScratchFolder scratch;
    fs::path source = scratch.Path() / "source", archive = scratch.Path() / "test.7z";
    WriteBytes(source / "one.txt", std::string(100000, 'x') + RandomBytes(50000, 5));
    WriteBytes(source / "two.bin", CodeLikeBytes(70000, 6));
    const DamageCase& c = GetParam();
    Make7z(source, archive, c.switches);
    std::string bytes = ReadBytes(archive);
    if (c.xorMask) bytes[c.offset >= 0 ? size_t(c.offset) : bytes.size() + c.offset] ^= c.xorMask;
    if (c.truncateTo) bytes.resize(c.truncateTo > 0 ? size_t(c.truncateTo) : bytes.size() + c.truncateTo);
    WriteBytes(archive, bytes);

    bool checked = sevenzip::CheckArchiveFile(archive.string());
    int result = Extract(archive, scratch.Path() / "ours");
    EXPECT_NE(result, sevenzip::kResultOk);
    if (checked) {
        EXPECT_EQ(result, sevenzip::kResultDamaged);
    }
    // Whatever was written is exactly the original.
    for (const auto& [name, content] : Tree(scratch.Path() / "ours")) {
        EXPECT_EQ(content, ReadBytes(source / name)) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Damage, SevenZipDamageTest,
    testing::Values(DamageCase{"Signature", 0, 0x01, 0}, DamageCase{"StartHeaderCrc", 8, 0x40, 0},
                    DamageCase{"NextHeaderOffset", 12, 0x01, 0}, DamageCase{"NextHeaderCrc", 28, 0x01, 0},
                    DamageCase{"FirstPackedByte", 32, 0x20, 0}, DamageCase{"PackedData", 30000, 0x04, 0},
                    DamageCase{"LastPackedBytes", -200, 0x80, 0}, DamageCase{"HeaderByte", -20, 0x10, 0},
                    DamageCase{"TruncatedInHeader", 0, 0, -10}, DamageCase{"TruncatedInData", 0, 0, 20000},
                    DamageCase{"OnlySignatureHeader", 0, 0, 32}, DamageCase{"ShorterThanSignature", 0, 0, 20},
                    DamageCase{"Deflate64BlockHeader", 33, 0x08, 0, "-mhc=off -m0=Deflate64"},
                    DamageCase{"Deflate64Data", 30000, 0x04, 0, "-mhc=off -m0=Deflate64"},
                    DamageCase{"Deflate64Truncated", 0, 0, 20000, "-mhc=off -m0=Deflate64"},
                    DamageCase{"Bcj2MainStream", 30000, 0x04, 0, "-mhc=off -mf=BCJ2"},
                    DamageCase{"Bcj2CallAndJumpStreams", 95000, 0x01, 0, "-mhc=off -mf=BCJ2"},
                    DamageCase{"Bcj2RangeCodedStream", -1000, 0x40, 0, "-mhc=off -mf=BCJ2"},
                    DamageCase{"Bcj2Truncated", 0, 0, 30000, "-mhc=off -mf=BCJ2"},
                    DamageCase{"LzmaPackedData", 30000, 0x04, 0, "-m0=LZMA:d=64k -mhc=off"},
                    DamageCase{"LzmaLastPackedBytes", -200, 0x80, 0, "-m0=LZMA:d=64k -mhc=off"},
                    DamageCase{"LzmaTruncatedInData", 0, 0, 20000, "-m0=LZMA:d=64k -mhc=off"},
                    DamageCase{"LzmaPackedHeader", -20, 0x10, 0, "-m0=LZMA:d=64k"}),
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
