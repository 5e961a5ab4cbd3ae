#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileSigning.h"
#include "PackageBlock.h"
#include "PackageReport.h"
#include "PackageToolOptions.h"
#include "PackageWriter.h"
#include "PemKey.h"
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
    return {.Folder = folder_, .Output = root_ / "188.7z", .Id = "188", .Title = U8(u8"岚舟阅读器"),
            .ProgramFile = "bin\\Reader.exe", .Version = "2.0.1", .Date = "2024-05-01",
            .Description = U8(u8"读书用的软件")};
  }

  std::vector<fs::path> OutputFolderEntries() const {
    std::vector<fs::path> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(root_)) {
      if (entry.path() != folder_) entries.push_back(entry.path().filename());
    }
    return entries;
  }

  // A script named 7z that runs body, first on PATH while the returned object lives.
  PathOverride Fake7z(const std::string& body) {
    WriteBytes(root_ / "fake-bin" / "7z", "#!/bin/sh\n" + body + "\n");
    fs::permissions(root_ / "fake-bin" / "7z", fs::perms::owner_all);
    return PathOverride(root_ / "fake-bin");
  }
};

// Values at their byte limits, given in UTF-8, read back by the installer in GBK. An
// extract-only package and one larger than the padding are the wizard's and install suites'.
TEST_F(PackageToolTest, InstallerReadsBackEveryValue) {
  PackageRequest request = Request();
  request.Title = U8(u8"一二三四五六七八九十一二三四") + "x";
  request.Version = std::string(29, 'v'), request.Date = std::string(19, 'd');
  request.Description = U8(u8"说") + std::string(197, ' ');
  const PackageInfo gbk{"一二三四五六七八九十一二三四x", "bin\\Reader.exe", request.Version, request.Date,
                        "说" + std::string(197, ' '), ""};
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
  const struct {
    const char* Name;
    Change Apply;
    const char* Reason;
  } cases[] = {
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
      {"ExtractOnlyWithoutFolderName", [](auto& r) { r.ProgramFile = U8(u8"解压缩"), r.Description = ""; }, "needs --description"},
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
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    PackageRequest request = Request();
    c.Apply(request);
    PackageWriteResult result = WritePackage(request);
    EXPECT_NE(result.Error.find(c.Reason), std::string::npos) << result.Error;
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
      {"echo partial > \"$7\"\nexit 2", "7z failed with exit code 2"},
      {"", "cannot run 7z"},
      {"/bin/cp " + Quoted(root_ / "encrypted.7z") + " \"$7\"", "encrypted"},
      {"echo planted > \"$7\"", "cannot run 7z", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Fake7z);
    if (c.Planted) {
      WriteBytes(folder_ / "7z", "#!/bin/sh\n" + c.Fake7z + "\n");
      fs::permissions(folder_ / "7z", fs::perms::owner_all);
    }
    PathOverride path = c.Planted          ? PathOverride(":.")
                        : c.Fake7z.empty() ? PathOverride(root_ / "nothing-here")
                                           : Fake7z(c.Fake7z);
    PackageWriteResult result = WritePackage(Request());
    EXPECT_NE(result.Error.find(c.Error), std::string::npos) << result.Error;
    EXPECT_EQ(ReadBytes(root_ / "188.7z"), "previous package");
    EXPECT_FALSE(fs::exists(root_ / "188.7z.partial"));
  }
}

TEST_F(PackageToolTest, TestTellsWhetherTheInstallerWillUnpack) {
  // An archive with the block that Request() describes, as pack would append it.
  auto asPackage = [&](const std::string& name, std::string archive) {
    PackageInfo gbk;
    EXPECT_EQ(EncodePackageValues(Request(), gbk), "");
    std::string block = BuildPackageInfoBlock("188", gbk);
    WriteBytes(root_ / name, archive + std::string(PaddingBeforeBlock(archive.size(), block.size()), '\0') + block);
    return root_ / name;
  };
  auto sevenZip = [&](const std::string& switches) {
    fs::remove(root_ / "made.7z");
    sevenzip_test::Make7z(folder_, root_ / "made.7z", switches);
    return ReadBytes(root_ / "made.7z");
  };
  auto tiny = [](const std::vector<sevenzip_test::TinyEntry>& entries, const sevenzip_test::TinyFolder* folder = nullptr) {
    const std::vector<uint8_t> bytes = sevenzip_test::WriteTinyArchive(entries, folder);
    return std::string(bytes.begin(), bytes.end());
  };
  const sevenzip_test::TinyFolder unknownCoder{{{{0x7F}, {}, 2}}, "MZ"};
  std::string copied = sevenZip("-m0=Copy");
  copied[copied.find("hello")] = 'j';
  WriteBytes(root_ / "plain.7z", sevenZip(""));

  WriteBytes(folder_ / fs::path(u"lang") / fs::path(u"한국어 Größe.lng"), "x");  // no GBK form: packed all the same
  ASSERT_EQ(WritePackage(Request()).Error, "");
  const struct {
    const char* Name;
    fs::path Package;
    int Status;
    const char* Says;
  } cases[] = {
      {"AsPacked", root_ / "188.7z", 0, "LZMA2 (1 block)"},
      {"AnyScriptAndDotPrefix",
       asPackage("names.7z", tiny({{u"./bin/Reader.exe", "MZ"}, {u"lang/\uD55C\uAD6D\uC5B4 \U0001F600.lng", "x"}})), 0,
       "Decoded 2 files"},
      {"DataDamaged", asPackage("damaged.7z", copied), 1, "'readme.txt' does not decode: data CRC"},
      {"Encrypted", asPackage("secret.7z", sevenZip("-pX")), 1, "encrypted (7zAES)"},
      {"UnknownMethod", asPackage("unknown.7z", tiny({{u"bin/Reader.exe", "MZ"}}, &unknownCoder)), 1, "coder method 7F"},
      {"UnsafeName", asPackage("escaping.7z", tiny({{u"bin/Reader.exe", "MZ"}, {u"../x.txt", "x"}})), 1,
       "'../x.txt' would land outside"},
      {"ProgramMissing", asPackage("noprogram.7z", tiny({{u"readme.txt", "hello"}})), 1,
       "'bin\\Reader.exe' that the information block names is not in the archive"},
      {"NoBlock", root_ / "plain.7z", 1, "no information block"},
      {"Truncated", asPackage("cut.7z", ReadBytes(root_ / "188.7z").substr(0, 100)), 1, "damaged"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    ShellRun run = RunShell(std::string(LZPACK_PROGRAM) + " test " + Quoted(c.Package));
    EXPECT_EQ(run.status, c.Status);
    EXPECT_NE(run.output.find(c.Says), std::string::npos) << run.output;
  }
}

TEST(PackageToolOptionsTest, ParsesTheCommandLine) {
  const struct {
    std::vector<std::string> Arguments;
    std::string Error;  // a part of it; empty when the arguments are fine
    ToolCommand Command;
  } cases[] = {
      {{}, "", ToolCommand::Help},
      {{"test", "a.7z"}, "", ToolCommand::Test},
      {{"test"}, "test takes exactly one package file", ToolCommand::Help},
      {{"pack", "--id", "5"}, "no folder given", ToolCommand::Pack},
      {{"pack", "a", "b"}, "more than one folder", ToolCommand::Pack},
      {{"pack", "a", "--title"}, "--title needs a value", ToolCommand::Pack},
      {{"pack", "a", "--name", "x"}, "unknown option --name", ToolCommand::Pack},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Arguments.empty() ? "" : c.Arguments.back());
    ToolOptions options;
    std::string error = ParseToolOptions(c.Arguments, options);
    EXPECT_TRUE(c.Error.empty() ? error.empty() : error.find(c.Error) != std::string::npos) << error;
    EXPECT_EQ(options.Command, c.Command);
  }
  ToolOptions options;
  ASSERT_EQ(ParseToolOptions({"pack", "dir", "--id", "5", "--extract-only", "--title", "T"}, options), "");
  EXPECT_EQ(options.Command, ToolCommand::Pack);
  EXPECT_EQ(options.Request.ProgramFile, U8(u8"解压缩"));
  EXPECT_EQ(options.Request.Id, "5");
  EXPECT_EQ(options.Request.Title, "T");
  EXPECT_EQ(options.Request.Folder, fs::path("dir"));
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
      const std::string pem = (root_ / name).string();
      ASSERT_EQ(RunShell("openssl ecparam -name prime256v1 -genkey -noout -out " + pem + ".pem && openssl ec -in " + pem +
                    ".pem -pubout -out " + pem + ".pub.pem").status,
                0);
    }
    WriteBytes(File(), RandomBytes(5000, 11));
  }

  fs::path File() const { return root_ / "package.7z"; }
  fs::path Key(const char* name) const { return root_ / name; }
};

TEST_F(FileSigningTest, OpensslAcceptsTheSignatureOnTheCoveredBytes) {
  const std::string original = ReadBytes(File());
  ASSERT_EQ(SignFileInPlace(File(), Key("publisher.pem")), "");
  const std::string signedFile = ReadBytes(File());
  ASSERT_EQ(signedFile.size(), original.size() + kSignatureLineSize);
  ASSERT_EQ(signedFile.substr(0, original.size()), original);
  const std::optional<SignatureLine> line = FindSignatureLine(signedFile, signedFile.size());
  ASSERT_TRUE(line);
  WriteBytes(root_ / "covered.bin", original);
  WriteBytes(root_ / "signature.der", DerSignature(line->signature));
  EXPECT_EQ(RunShell("openssl dgst -sha256 -verify " + Key("publisher.pub.pem").string() + " -signature " +
                     (root_ / "signature.der").string() + " " + (root_ / "covered.bin").string()).status, 0);
  EXPECT_EQ(VerifyFileSignature(File(), Key("publisher.pub.pem")), "");
}

TEST_F(FileSigningTest, VerifyRefusesEveryChangeAndAnotherKey) {
  const std::string unsignedBytes = ReadBytes(File());
  ASSERT_EQ(SignFileInPlace(File(), Key("publisher.pem")), "");
  const std::string good = ReadBytes(File());
  const std::size_t digits = unsignedBytes.size() + 2 + kSignatureTag.size();
  const struct {
    const char* name;
    std::size_t at;
  } flips[] = {{"first byte", 0}, {"a middle byte", 2500}, {"last covered byte", unsignedBytes.size() - 1},
               {"a signature digit", digits + 7}};
  for (const auto& flip : flips) {
    std::string changed = good;
    char& byte = changed[flip.at];
    byte = flip.at < digits ? static_cast<char>(byte ^ 1) : (byte == '0' ? '1' : '0');  // digits stay digits
    WriteBytes(File(), changed);
    EXPECT_NE(VerifyFileSignature(File(), Key("publisher.pub.pem")), "") << flip.name;
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
    const ShellRun run = RunShell(std::string(LZPACK_PROGRAM) + " sign " + Quoted(File()) + " --key " +
                                  Quoted(Key("publisher.pem")));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("other users may read") != std::string::npos, others != fs::perms::none) << run.output;
  }
}

}  // namespace
