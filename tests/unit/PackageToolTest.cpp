#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PackageBlock.h"
#include "PackageReport.h"
#include "PackageToolOptions.h"
#include "PackageWriter.h"
#include "SevenZipTestFiles.h"
#include "SevenZipTinyWriter.h"
#include "contracts/PackageInfo.h"

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
  using Change = void (*)(PackageRequest&, const fs::path& root);
  const struct {
    const char* Name;
    Change Apply;
    const char* Reason;
  } cases[] = {
      // 15 characters, 30 bytes in GBK: the limit counts bytes.
      {"TitleOverLimit", [](PackageRequest& r, const fs::path&) { r.Title = U8(u8"一二三四五六七八九十一二三四五"); },
       "--title is 30 bytes"},
      {"NoGbkForm", [](PackageRequest& r, const fs::path&) { r.Title = U8(u8"Café ☃"); }, "without a GBK form"},
      {"ProgramNoGbkForm",
       [](PackageRequest& r, const fs::path&) {
         r.ProgramFile = U8(u8"bin\\한국어.exe");
         WriteBytes(r.Folder / fs::path(u"bin") / fs::path(u"한국어.exe"), "MZ");
       },
       "a file name without a GBK form"},
      {"LineBreak", [](PackageRequest& r, const fs::path&) { r.Description = "one\r\n名称=two"; }, "line breaks"},
      {"EmptyTitle", [](PackageRequest& r, const fs::path&) { r.Title = ""; }, "--title must not be empty"},
      {"LongId", [](PackageRequest& r, const fs::path&) { r.Id = "1234"; }, "--id must be"},
      {"ProgramMissing", [](PackageRequest& r, const fs::path&) { r.ProgramFile = "bin\\Other.exe"; }, "is not in the folder"},
      {"ProgramOutside", [](PackageRequest& r, const fs::path&) { r.ProgramFile = "..\\content\\readme.txt"; },
       "--program '..\\content\\readme.txt' must be a path inside the folder"},
      {"FolderHoldsALink",  // 7z would pack what it points to
       [](PackageRequest& r, const fs::path& root) {
         fs::create_directories(r.Folder = root / "linked");
         fs::create_directory_symlink("/etc", r.Folder / "etc");
       },
       "symbolic link or junction"},
      {"ProgramIsAFolder", [](PackageRequest& r, const fs::path&) { r.ProgramFile = "bin"; }, "is not in the folder"},
      {"ExtractOnlyWithoutFolderName",
       [](PackageRequest& r, const fs::path&) { r.ProgramFile = U8(u8"解压缩"), r.Description = ""; }, "needs --description"},
      {"MissingFolder", [](PackageRequest& r, const fs::path& root) { r.Folder = root / "absent"; }, "missing or empty"},
      {"EmptyFolder",
       [](PackageRequest& r, const fs::path& root) {
         fs::create_directories(root / "empty");
         r.Folder = root / "empty";
         r.ProgramFile = U8(u8"解压缩");
       },
       "missing or empty"},
      {"OutputInsideFolder", [](PackageRequest& r, const fs::path&) { r.Output = r.Folder / "188.7z"; },
       "must not lie inside"},
      {"OutputFolderMissing", [](PackageRequest& r, const fs::path& root) { r.Output = root / "no" / "188.7z"; },
       "does not exist"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    PackageRequest request = Request();
    c.Apply(request, root_);
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

}  // namespace
