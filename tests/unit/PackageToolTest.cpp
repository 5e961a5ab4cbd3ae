#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileSigning.h"
#include "PackageBlock.h"
#include "PackageReport.h"
#include "PackageToolOptions.h"
#include "PackageWriter.h"
#include "PemKey.h"
#include "SevenZipProcess.h"
#include "SevenZipTestFiles.h"
#include "SevenZipTinyWriter.h"
#include "contracts/PackageInfo.h"
#include "contracts/SignatureLine.h"

namespace {

using namespace testfiles;

// Plain literals here are GBK (as the installer holds them); the tool takes UTF-8.
std::string U8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

// Puts a fake 7z first on PATH (or only an empty folder) for the life of the object.
struct PathOverride {
  explicit PathOverride(const fs::path& folder) { setenv("PATH", folder.c_str(), 1); }
  ~PathOverride() { setenv("PATH", saved.c_str(), 1); }
  const std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
};

class PackageToolTest : public testing::Test {
 protected:
  ScratchFolder scratch_;
  const fs::path root_ = scratch_.Path();
  const fs::path folder_ = root_ / "content";

  void SetUp() override {
    WriteBytes(folder_ / "bin" / "Reader.exe", "MZ reader");
    WriteBytes(folder_ / "readme.txt", "hello");
  }

  PackageRequest Request() const {
    // Folder, output, ID, title, program, version, date, description.
    return {folder_,           root_ / "188.7z", "188",        U8(u8"岚舟阅读器"),
            "bin\\Reader.exe", "2.0.1",          "2024-05-01", U8(u8"读书用的软件")};
  }

  std::vector<fs::path> OutputFolderEntries() const {
    std::vector<fs::path> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(root_)) {
      if (entry.path() != folder_) entries.push_back(entry.path().filename());
    }
    return entries;
  }
};

// Values at their byte limits, given in UTF-8, read back by the installer in GBK. An
// extract-only package and one larger than the padding are the wizard's and install suites'.
TEST_F(PackageToolTest, InstallerReadsBackEveryValue) {
  PackageRequest request = Request();
  request.Title = U8(u8"一二三四五六七八九十一二三四") + "x";
  request.Version = std::string(29, 'v'), request.Date = std::string(19, 'd');
  request.Description = U8(u8"说") + std::string(197, ' ');
  const std::string title = "一二三四五六七八九十一二三四x", description = "说" + std::string(197, ' ');
  const PackageInfo gbk{title, "bin\\Reader.exe", request.Version, request.Date, description};
  PackageWriteResult result = WritePackage(request);
  ASSERT_EQ(result.Error, "");
  EXPECT_EQ(result.Output, fs::weakly_canonical(root_ / "188.7z"));

  std::string package = ReadBytes(result.Output);
  EXPECT_GT(package.size(), kPackageMinimumSize);
  std::optional<PackageInfo> info = ReadPackageInfo((root_ / "").string(), "188.7z");
  ASSERT_TRUE(info);
  for (const PackageInfoKey& key : kPackageInfoKeys) EXPECT_EQ((*info).*key.Value, gbk.*key.Value) << key.Prefix;
  EXPECT_NE(package.find(std::string(kPackageIdKey) + "188\r\n"), std::string::npos);

  std::string described = DescribePackage(result.Output);
  EXPECT_NE(described.find(request.Title), std::string::npos) << described;
  EXPECT_NE(described.find(request.Description), std::string::npos) << described;
  EXPECT_EQ(OutputFolderEntries(), std::vector<fs::path>{"188.7z"});
}

TEST_F(PackageToolTest, RefusesBadRequestsAndLeavesNoFile) {
  // The folder and the output file stand in the scratch folder, beside the other files a row makes.
  using Change = void (*)(PackageRequest&);
  const std::tuple<const char*, Change, const char*> cases[] = {
      // 15 characters, 30 bytes in GBK: the limit counts bytes.
      {"TitleOverLimit", [](auto& r) { r.Title = U8(u8"一二三四五六七八九十一二三四五"); }, "--title is 30 bytes"},
      {"NoGbkForm", [](auto& r) { r.Title = U8(u8"Café ☃"); }, "without a GBK form"},
      {"ProgramNoGbkForm",
       [](auto& r) {
         r.ProgramFile = U8(u8"bin\\한국어.exe");
         WriteBytes(r.Folder / fs::path(u"bin") / fs::path(u"한국어.exe"), "MZ");
       },
       "a file name without a GBK form"},
      {"LineBreak", [](auto& r) { r.Description = "one\r\n名称=two"; }, "line breaks"},
      {"EmptyTitle", [](auto& r) { r.Title = ""; }, "--title must not be empty"},
      {"LongId", [](auto& r) { r.Id = "1234"; }, "--id must be"},
      {"ProgramMissing", [](auto& r) { r.ProgramFile = "bin\\Other.exe"; }, "is not in the folder"},
      {"ProgramOutside", [](auto& r) { r.ProgramFile = "..\\content\\readme.txt"; },
       "--program '..\\content\\readme.txt' must be a path inside the folder"},
      {"FolderHoldsALink",  // 7z would pack what it points to
       [](auto& r) {
         fs::create_directories(r.Folder = r.Output.parent_path() / "linked");
         fs::create_directory_symlink("/etc", r.Folder / "etc");
       },
       "symbolic link or junction"},
      {"ProgramIsAFolder", [](auto& r) { r.ProgramFile = "bin"; }, "is not in the folder"},
      {"ExtractOnlyNoFolderName", [](auto& r) { r.ProgramFile = U8(u8"解压缩"), r.Description = ""; }, "needs --desc"},
      {"MissingFolder", [](auto& r) { r.Folder = r.Output.parent_path() / "absent"; }, "missing or empty"},
      {"EmptyFolder",
       [](auto& r) {
         fs::create_directories(r.Folder = r.Output.parent_path() / "empty");
         r.ProgramFile = U8(u8"解压缩");
       },
       "missing or empty"},
      {"OutputInsideFolder", [](auto& r) { r.Output = r.Folder / "188.7z"; }, "must not lie inside"},
      {"OutputFolderMissing", [](auto& r) { r.Output = r.Output.parent_path() / "no" / "188.7z"; }, "does not exist"},
  };
  for (const auto& [name, apply, reason] : cases) {
    SCOPED_TRACE(name);
    PackageRequest request = Request();
    apply(request);
    PackageWriteResult result = WritePackage(request);
    EXPECT_NE(result.Error.find(reason), std::string::npos) << result.Error;
    for (const fs::path& entry : OutputFolderEntries()) EXPECT_TRUE(entry == "empty" || entry == "linked") << entry;
    EXPECT_FALSE(fs::exists(folder_ / "188.7z"));
  }
}

// pack tests what 7z wrote, and whether 7z fails or writes what the library refuses, the
// old package stays as it was.
TEST_F(PackageToolTest, KeepsTheOldPackageWhen7zFailsOrItsArchiveIsRefused) {
  sevenzip_test::Make7z(folder_, root_ / "encrypted.7z", "-pX");
  WriteBytes(root_ / "188.7z", "previous package");
  const struct {
    std::string Fake7z;  // empty: no 7z on PATH at all
    const char* Error;
    bool Planted = false;  // the 7z stands in the packed folder, PATH names it relatively
  } cases[] = {
      {"echo partial > \"$8\"\nexit 2", "7z failed with exit code 2"},
      {"", "cannot run 7z"},
      {"/bin/cp " + Quoted(root_ / "encrypted.7z") + " \"$8\"", "encrypted"},
      {"echo planted > \"$8\"", "cannot run 7z", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Fake7z);
    const fs::path bin = c.Planted ? folder_ : root_ / "fake-bin";
    WriteBytes(bin / "7z", "#!/bin/sh\n" + c.Fake7z + "\n");
    fs::permissions(bin / "7z", fs::perms::owner_all);
    PathOverride path(c.Planted ? ":." : c.Fake7z.empty() ? root_ / "nothing-here" : bin);
    PackageWriteResult result = WritePackage(Request());
    EXPECT_NE(result.Error.find(c.Error), std::string::npos) << result.Error;
    EXPECT_EQ(ReadBytes(root_ / "188.7z"), "previous package");
    EXPECT_FALSE(fs::exists(root_ / "188.7z.partial"));
  }
}

TEST_F(PackageToolTest, TestTellsWhetherTheInstallerWillUnpack) {
  // An archive with the block that Request() describes, as pack would append it.
  auto asPackage = [&, count = 0](const std::string& archive) mutable {
    PackageInfo gbk;
    EXPECT_EQ(EncodePackageValues(Request(), gbk), "");
    const std::string block = BuildPackageInfoBlock("188", gbk);
    const fs::path package = root_ / ("package" + std::to_string(++count) + ".7z");
    WriteBytes(package, archive + std::string(PaddingBeforeBlock(archive.size(), block.size()), '\0') + block);
    return package;
  };
  auto sevenZip = [&](const std::string& switches) {
    fs::remove(root_ / "made.7z");
    sevenzip_test::Make7z(folder_, root_ / "made.7z", switches);
    return ReadBytes(root_ / "made.7z");
  };
  using sevenzip_test::WriteTinyArchive;
  const sevenzip_test::TinyEntry reader{u"bin/Reader.exe", "MZ"};
  const std::string names =
      WriteTinyArchive({{u"./bin/Reader.exe", "MZ"}, {u"lang/\uD55C\uAD6D\uC5B4 \U0001F600.x", "x"}});
  const sevenzip_test::TinyFolder unknown{{{{0x7F}, {}, 2}}, "MZ"};
  std::string copied = sevenZip("-m0=Copy");
  copied[copied.find("hello")] = 'j';
  WriteBytes(root_ / "plain.7z", sevenZip(""));

  WriteBytes(folder_ / fs::path(u"lang") / fs::path(u"한국어 Größe.lng"), "x");  // no GBK form: packed all the same
  ASSERT_EQ(WritePackage(Request()).Error, "");
  const std::tuple<const char*, fs::path, int, const char*> cases[] = {
      {"AsPacked", root_ / "188.7z", 0, "LZMA2 (1 block)"},
      {"AnyScriptAndDotPrefix", asPackage(names), 0, "Decoded 2 files"},
      {"DataDamaged", asPackage(copied), 1, "'readme.txt' does not decode: data CRC"},
      {"Encrypted", asPackage(sevenZip("-pX")), 1, "encrypted (7zAES)"},
      {"UnknownMethod", asPackage(WriteTinyArchive({reader}, &unknown)), 1, "coder method 7F"},
      {"UnsafeName", asPackage(WriteTinyArchive({reader, {u"../x.txt", "x"}})), 1, "'../x.txt' would land outside"},
      {"ProgramMissing", asPackage(WriteTinyArchive({{u"readme.txt", "x"}})), 1, "'bin\\Reader.exe' that the info"},
      {"NoBlock", root_ / "plain.7z", 1, "no information block"},
      {"Truncated", asPackage(ReadBytes(root_ / "188.7z").substr(0, 100)), 1, "damaged"},
  };
  for (const auto& [name, package, status, says] : cases) {
    SCOPED_TRACE(name);
    ShellRun run = RunShell(std::string(LZPACK_PROGRAM) + " test " + Quoted(package));
    EXPECT_EQ(run.status, status);
    EXPECT_NE(run.output.find(says), std::string::npos) << run.output;
  }
}

TEST(PackageToolOptionsTest, ParsesTheCommandLine) {
  // The arguments, a part of the error (none when they are fine), the command.
  const std::tuple<std::vector<std::string>, std::string, ToolCommand> cases[] = {
      {{}, "", ToolCommand::Help},
      {{"test", "a.7z"}, "", ToolCommand::Test},
      {{"test"}, "test takes exactly one package file", ToolCommand::Help},
      {{"pack", "--id", "5"}, "no folder given", ToolCommand::Pack},
      {{"pack", "a", "b"}, "more than one folder", ToolCommand::Pack},
      {{"pack", "a", "--title"}, "--title needs a value", ToolCommand::Pack},
      {{"pack", "a", "--name", "x"}, "unknown option --name", ToolCommand::Pack},
  };
  for (const auto& [arguments, wanted, command] : cases) {
    SCOPED_TRACE(arguments.empty() ? "" : arguments.back());
    ToolOptions options;
    std::string error = ParseToolOptions(arguments, options);
    EXPECT_TRUE(wanted.empty() ? error.empty() : error.find(wanted) != std::string::npos) << error;
    EXPECT_EQ(options.Command, command);
  }
  ToolOptions options;
  ASSERT_EQ(ParseToolOptions({"pack", "dir", "--id", "5", "--extract-only", "--title", "T"}, options), "");
  EXPECT_EQ(options.Command, ToolCommand::Pack);
  EXPECT_EQ(options.Request.ProgramFile, U8(u8"解压缩"));
  EXPECT_EQ(options.Request.Id, "5");
  EXPECT_EQ(options.Request.Title, "T");
  EXPECT_EQ(options.Request.Folder, fs::path("dir"));
}

// Two halves of the tree in blocks, or blocks of 64 MiB for a larger tree.
TEST(PackageToolOptionsTest, CutsTheStreamIntoBlocksForBothCores) {
  const std::pair<uint64_t, const char*> cases[] = {
      {0, "d=1024k:c=1024k"},
      {(10 << 20) + 1, "d=5121k:c=5121k"},
      {uint64_t(128) << 20, "d=65536k:c=65536k"},
      {uint64_t(231) << 20, "d=65536k:c=65536k"},
  };
  for (const auto& [bytes, wanted] : cases) EXPECT_EQ(Lzma2BlocksSwitch(bytes), std::string("-m0=LZMA2:") + wanted);
}

// lzpack's signatures against openssl's own command line, on keys openssl makes.
// DER of r||s as openssl dgst expects it: SEQUENCE of two minimal INTEGERs.
std::string DerSignature(const Signature& signature) {
  std::string sequence;
  for (int half = 0; half < 2; ++half) {
    std::string number(reinterpret_cast<const char*>(signature.data()) + 32 * half, 32);
    number.erase(0, std::min(number.find_first_not_of('\0'), number.size() - 1));
    if (static_cast<unsigned char>(number[0]) & 0x80) number.insert(0, 1, '\0');
    sequence += '\x02';
    sequence += static_cast<char>(number.size());
    sequence += number;
  }
  return std::string("\x30", 1) + static_cast<char>(sequence.size()) + sequence;
}

class FileSigningTest : public testing::Test {
 protected:
  ScratchFolder scratch_;
  const fs::path root_ = scratch_.Path();

  void SetUp() override {
    for (const char* name : {"publisher", "other"}) {
      const std::string pem = (root_ / name).string(), make = "openssl ecparam -name prime256v1 -genkey -noout -out ";
      const std::string pub = " && openssl ec -in " + pem + ".pem -pubout -out " + pem + ".pub.pem";
      ASSERT_EQ(RunShell(make + pem + ".pem" + pub).status, 0);
    }
    WriteBytes(File(), RandomBytes(5000, 11));
  }

  fs::path File() const { return root_ / "package.7z"; }
  fs::path Key(const char* name) const { return root_ / name; }
};

// openssl accepts the signature on the covered bytes; verifying refuses every change and
// another key.
TEST_F(FileSigningTest, OpensslAcceptsTheSignatureAndVerifyRefusesEveryChange) {
  const std::string unsignedBytes = ReadBytes(File());
  ASSERT_EQ(SignFileInPlace(File(), Key("publisher.pem")), "");
  const std::string good = ReadBytes(File());
  ASSERT_EQ(good.substr(0, unsignedBytes.size()), unsignedBytes);
  const std::optional<SignatureLine> line = FindSignatureLine(good, good.size());
  ASSERT_TRUE(line && good.size() == unsignedBytes.size() + kSignatureLineSize);
  WriteBytes(root_ / "covered.bin", unsignedBytes);
  WriteBytes(root_ / "signature.der", DerSignature(line->signature));
  const std::string verify = "openssl dgst -sha256 -verify " + Key("publisher.pub.pem").string() + " -signature ";
  EXPECT_EQ(RunShell(verify + Quoted(root_ / "signature.der") + " " + Quoted(root_ / "covered.bin")).status, 0);
  EXPECT_EQ(VerifyFileSignature(File(), Key("publisher.pub.pem")), "");

  const std::size_t digits = unsignedBytes.size() + 2 + kSignatureTag.size();
  // The first, a middle and the last covered byte, and a signature digit.
  for (const std::size_t at : {std::size_t{0}, std::size_t{2500}, unsignedBytes.size() - 1, digits + 7}) {
    std::string changed = good;
    char& byte = changed[at];
    byte = at < digits ? static_cast<char>(byte ^ 1) : (byte == '0' ? '1' : '0');  // digits stay digits
    WriteBytes(File(), changed);
    EXPECT_NE(VerifyFileSignature(File(), Key("publisher.pub.pem")), "") << at;
  }
  WriteBytes(File(), good);
  EXPECT_NE(VerifyFileSignature(File(), Key("other.pub.pem")), "");
  EXPECT_NE(VerifyFileSignature(File(), Key("publisher.pem")), "");  // a private key is no public key
  WriteBytes(File(), unsignedBytes);
  EXPECT_NE(VerifyFileSignature(File(), Key("publisher.pub.pem")), "");

  // Signing again replaces the line: the file keeps its size and holds for the new key only.
  WriteBytes(File(), good);
  ASSERT_EQ(SignFileInPlace(File(), Key("other.pem")), "");
  EXPECT_EQ(ReadBytes(File()).size(), good.size());
  EXPECT_EQ(VerifyFileSignature(File(), Key("other.pub.pem")), "");
  EXPECT_NE(VerifyFileSignature(File(), Key("publisher.pub.pem")), "");
}

TEST_F(FileSigningTest, PemKeysReadTheSamePointFromThePrivateAndThePublicFile) {
  const std::optional<EcPrivateKey> key = ParsePrivateKeyPem(ReadBytes(Key("publisher.pem")));
  const std::optional<EcPublicPoint> point = ParsePublicKeyPem(ReadBytes(Key("publisher.pub.pem")));
  const std::optional<EcPublicPoint> other = ParsePublicKeyPem(ReadBytes(Key("other.pub.pem")));
  ASSERT_TRUE(key && point && other);
  EXPECT_EQ(key->point.x, point->x);
  EXPECT_EQ(key->point.y, point->y);
  EXPECT_NE(other->x, point->x);
  EXPECT_FALSE(ParsePrivateKeyPem(ReadBytes(Key("publisher.pub.pem"))));
  EXPECT_FALSE(ParsePublicKeyPem(ReadBytes(Key("publisher.pem"))));
  ASSERT_EQ(RunShell("openssl ecparam -name secp384r1 -genkey -noout -out " + Key("p384.pem").string()).status, 0);
  EXPECT_FALSE(ParsePrivateKeyPem(ReadBytes(Key("p384.pem"))));
}

// Whoever reads the private key can sign for the publisher: lzpack says so, and still signs.
TEST_F(FileSigningTest, SigningWarnsWhenOthersMayReadThePrivateKey) {
  for (const fs::perms others : {fs::perms::none, fs::perms::group_read, fs::perms::others_read}) {
    fs::permissions(Key("publisher.pem"), fs::perms::owner_read | others);
    const ShellRun run = RunShell(LZPACK_PROGRAM " sign " + Quoted(File()) + " --key " + Quoted(Key("publisher.pem")));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("other users may read") != std::string::npos, others != fs::perms::none) << run.output;
  }
}

}  // namespace
