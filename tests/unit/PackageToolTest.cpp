#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <string>
#include <vector>

#include "GbkText.h"
#include "PackageBlock.h"
#include "PackageReport.h"
#include "PackageToolOptions.h"
#include "PackageWriter.h"
#include "SevenZipTinyWriter.h"
#include "Utf8Path.h"
#include "contracts/PackageInfo.h"

namespace fs = std::filesystem;

namespace {

// Plain literals here are GBK (as the installer holds them); the tool takes UTF-8.
std::string U8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

std::string Repeat(std::string_view text, int count) {
  std::string result;
  for (int i = 0; i < count; ++i) result += text;
  return result;
}

std::string RandomBytes(std::size_t size) {
  std::mt19937 random(7);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

class PackageToolTest : public testing::Test {
 protected:
  fs::path root_;
  fs::path folder_;

  void SetUp() override {
    root_ = fs::path(testing::TempDir()) /
            ("package-tool-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    folder_ = root_ / "content";
    fs::create_directories(folder_ / "bin");
    Write(folder_ / "bin" / "Reader.exe", "MZ reader");
    Write(folder_ / "readme.txt", "hello");
  }
  void TearDown() override { fs::remove_all(root_); }

  static void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

  PackageRequest Request() const {
    PackageRequest request;
    request.Folder = folder_;
    request.Output = root_ / "188.7z";
    request.Id = "188";
    request.Title = U8(u8"岚舟阅读器");
    request.ProgramFile = "bin\\Reader.exe";
    request.Version = "2.0.1";
    request.Date = "2024-05-01";
    request.Description = U8(u8"读书用的软件");
    return request;
  }

  std::vector<fs::path> OutputFolderEntries() const {
    std::vector<fs::path> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(root_)) {
      if (entry.path() != folder_) entries.push_back(entry.path().filename());
    }
    return entries;
  }
};

TEST_F(PackageToolTest, InstallerReadsBackEveryValue) {
  struct RoundTripCase {
    const char* Name;
    std::string Title, Program, Version, Date, Description;
    std::string GbkTitle, GbkProgram, GbkDescription;  // what the installer must read
    std::size_t ContentBytes;                           // of an incompressible file in the folder
  };
  const RoundTripCase cases[] = {
      {"Chinese", U8(u8"岚舟阅读器"), "bin\\Reader.exe", "2.0.1", "2024-05-01", U8(u8"读书用的软件"), "岚舟阅读器",
       "bin\\Reader.exe", "读书用的软件", 0},
      {"ValuesAtTheirLimits", U8(u8"一二三四五六七八九十一二三四") + "x", "bin/Reader.exe", std::string(29, 'v'),
       std::string(19, 'd'), U8(u8"说") + std::string(197, ' '), "一二三四五六七八九十一二三四x", "bin/Reader.exe",
       "说" + std::string(197, ' '), 0},
      {"ExtractOnly", "Tools", U8(u8"解压缩"), "", "", U8(u8"工具箱"), "Tools", "解压缩", "工具箱", 0},
      {"LargeArchiveNeedsNoPadding", "Big", "readme.txt", "1", "2", "", "Big", "readme.txt", "", 100'000},
  };
  for (const RoundTripCase& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.ContentBytes) Write(folder_ / "data.bin", RandomBytes(c.ContentBytes));
    PackageRequest request = Request();
    request.Title = c.Title;
    request.ProgramFile = c.Program;
    request.Version = c.Version;
    request.Date = c.Date;
    request.Description = c.Description;
    PackageWriteResult result = WritePackage(request);
    ASSERT_EQ(result.Error, "");
    EXPECT_EQ(result.Output, fs::weakly_canonical(root_ / "188.7z"));

    std::string package = ReadFile(result.Output);
    EXPECT_GT(package.size(), kPackageMinimumSize);
    EXPECT_GT(package.size(), c.ContentBytes);
    std::optional<PackageInfo> info = ReadPackageInfo((root_ / "").string(), "188.7z");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->PackageTitle, c.GbkTitle);
    EXPECT_EQ(info->ProgramFile, c.GbkProgram);
    EXPECT_EQ(info->PackageVersion, c.Version);
    EXPECT_EQ(info->ReleaseDate, c.Date);
    EXPECT_EQ(info->PackageDescription, c.GbkDescription);
    EXPECT_NE(package.find(std::string(kPackageIdKey) + "188\r\n"), std::string::npos);

    std::string described = DescribePackage(result.Output);
    EXPECT_NE(described.find(c.Title), std::string::npos) << described;
    EXPECT_NE(described.find(c.Description), std::string::npos) << described;
    EXPECT_EQ(OutputFolderEntries(), std::vector<fs::path>{"188.7z"});
  }
}

TEST_F(PackageToolTest, RefusesBadRequestsAndLeavesNoFile) {
  struct RefusalCase {
    const char* Name;
    void (*Change)(PackageRequest&, const fs::path& root);
    const char* Reason;
  };
  const RefusalCase cases[] = {
      {"TitleOverLimit", [](PackageRequest& r, const fs::path&) { r.Title = U8(u8"一二三四五六七八九十一二三四五"); },
       "--title is 30 bytes"},
      {"ProgramOverLimit", [](PackageRequest& r, const fs::path&) { r.ProgramFile = std::string(100, 'p'); },
       "--program is 100 bytes"},
      {"DateOverLimit", [](PackageRequest& r, const fs::path&) { r.Date = U8(u8"二〇二四年五月一日十二时"); },
       "--date is 24 bytes"},
      {"DescriptionOverLimit", [](PackageRequest& r, const fs::path&) { r.Description = Repeat(U8(u8"说"), 100); },
       "--description is 200 bytes"},
      {"NoGbkForm", [](PackageRequest& r, const fs::path&) { r.Title = U8(u8"Café ☃"); }, "without a GBK form"},
      {"LineBreak", [](PackageRequest& r, const fs::path&) { r.Description = "one\r\n名称=two"; }, "line breaks"},
      {"EmptyTitle", [](PackageRequest& r, const fs::path&) { r.Title = ""; }, "--title must not be empty"},
      {"LongId", [](PackageRequest& r, const fs::path&) { r.Id = "1234"; }, "--id must be"},
      {"ProgramMissing", [](PackageRequest& r, const fs::path&) { r.ProgramFile = "bin\\Other.exe"; }, "is not in the folder"},
      {"ProgramOutside", [](PackageRequest& r, const fs::path&) { r.ProgramFile = "..\\content\\readme.txt"; },
       "is not in the folder"},
      {"ProgramIsAFolder", [](PackageRequest& r, const fs::path&) { r.ProgramFile = "bin"; }, "is not in the folder"},
      {"ExtractOnlyWithoutFolderName",
       [](PackageRequest& r, const fs::path&) {
         r.ProgramFile = U8(u8"解压缩");
         r.Description = "";
       },
       "needs --description"},
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
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.Name);
    PackageRequest request = Request();
    c.Change(request, root_);
    PackageWriteResult result = WritePackage(request);
    EXPECT_NE(result.Error.find(c.Reason), std::string::npos) << result.Error;
    for (const fs::path& entry : OutputFolderEntries()) {
      EXPECT_TRUE(entry == "empty") << entry;
    }
    EXPECT_FALSE(fs::exists(folder_ / "188.7z"));
  }
}

class PathOverride {
 public:
  explicit PathOverride(const fs::path& folder) : saved_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    setenv("PATH", folder.c_str(), 1);
  }
  ~PathOverride() { setenv("PATH", saved_.c_str(), 1); }

 private:
  std::string saved_;
};

TEST_F(PackageToolTest, ReportsA7zFailureAndKeepsTheOldPackage) {
  fs::path fakeBin = root_ / "fake-bin";
  fs::create_directories(fakeBin);
  Write(fakeBin / "7z", "#!/bin/sh\necho partial > \"$7\"\nexit 2\n");
  fs::permissions(fakeBin / "7z", fs::perms::owner_all);
  Write(root_ / "188.7z", "previous package");

  struct FailureCase {
    const char* Name;
    fs::path Path;
    const char* Reason;
  };
  const FailureCase cases[] = {
      {"SevenZipFails", fakeBin, "7z failed with exit code 2"},
      {"SevenZipMissing", root_ / "nothing-here", "cannot run 7z"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.Name);
    PathOverride path(c.Path);
    PackageWriteResult result = WritePackage(Request());
    EXPECT_NE(result.Error.find(c.Reason), std::string::npos) << result.Error;
    EXPECT_EQ(ReadFile(root_ / "188.7z"), "previous package");
    EXPECT_FALSE(fs::exists(root_ / "188.7z.partial"));
  }
}

std::string RunCommand(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  std::size_t read;
  while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, read);
  EXPECT_EQ(pclose(pipe), 0) << command;
  return output;
}

TEST_F(PackageToolTest, SevenZipListsAndExtractsChineseNames) {
  struct ContentFile {
    std::string Name;  // UTF-8, as the file system holds it
    std::string Bytes;
  };
  const ContentFile files[] = {
      {U8(u8"岚舟阅读器.exe"), "MZ program"},
      {U8(u8"文档/使用说明.txt"), "guide"},
      {U8(u8"文档/图片/封面（大）.jpg"), RandomBytes(5000)},
      {".hidden", "dot file"},
  };
  for (const ContentFile& file : files) {
    fs::create_directories((folder_ / PathFromUtf8(file.Name)).parent_path());
    Write(folder_ / PathFromUtf8(file.Name), file.Bytes);
  }
  PackageRequest request = Request();
  request.ProgramFile = U8(u8"岚舟阅读器.exe");
  ASSERT_EQ(WritePackage(request).Error, "");

  std::string package = (root_ / "188.7z").string();
  std::string listing = RunCommand("7z l -ba '" + package + "'");
  fs::path extracted = root_ / "extracted";
  RunCommand("7z x -y -bso0 -bsp0 '-o" + extracted.string() + "' '" + package + "'");
  for (const ContentFile& file : files) {
    SCOPED_TRACE(file.Name);
    EXPECT_NE(listing.find(file.Name), std::string::npos) << listing;
    EXPECT_EQ(ReadFile(extracted / PathFromUtf8(file.Name)), file.Bytes);
  }
  EXPECT_EQ(ReadFile(extracted / "bin" / "Reader.exe"), "MZ reader");
}

struct ToolRun {
  int Status;
  std::string Output;  // stdout and stderr
};

ToolRun RunLzpack(const std::string& arguments) {
  FILE* pipe = popen((std::string(LZPACK_PROGRAM) + " " + arguments + " 2>&1").c_str(), "r");
  if (!pipe) return {-1, {}};
  std::string output;
  char buffer[4096];
  std::size_t read;
  while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, read);
  int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST_F(PackageToolTest, TestTellsWhetherTheInstallerWillUnpack) {
  // An archive with the block that Request() describes, as pack would append it.
  auto asPackage = [&](const std::string& name, std::string archive) {
    PackageInfo gbk;
    EXPECT_EQ(EncodePackageValues(Request(), gbk), "");
    std::string block = BuildPackageInfoBlock("188", gbk);
    archive += std::string(PaddingBeforeBlock(archive.size(), block.size()), '\0') + block;
    Write(root_ / name, archive);
    return root_ / name;
  };
  auto sevenZip = [&](const std::string& switches) {
    fs::path made = root_ / "made.7z";
    fs::remove(made);
    RunCommand("cd '" + folder_.string() + "' && 7z a -bso0 -bsp0 " + switches + " '" + made.string() + "' .");
    return ReadFile(made);
  };
  auto tiny = [](const std::vector<sevenzip_test::TinyEntry>& entries, uint8_t methodId) {
    std::string data;
    for (const auto& e : entries) data += e.data;
    sevenzip_test::TinyFolder folder = sevenzip_test::CopyFolder(data);
    folder.coders[0].methodId = {methodId};
    std::vector<uint8_t> bytes = sevenzip_test::WriteTinyArchive(entries, &folder);
    return std::string(bytes.begin(), bytes.end());
  };
  std::string copied = sevenZip("-m0=Copy");
  copied[copied.find("hello")] = 'j';
  Write(root_ / "plain.7z", sevenZip(""));
  Write(root_ / "encrypted-archive", sevenZip("-pX"));

  ASSERT_EQ(WritePackage(Request()).Error, "");
  struct TestCase {
    const char* Name;
    fs::path Package;
    int Status;
    const char* Says;
  };
  const TestCase cases[] = {
      {"AsPacked", root_ / "188.7z", 0, "LZMA2 (1 block)"},
      {"DataDamaged", asPackage("damaged.7z", copied), 1, "'readme.txt' does not decode: data CRC"},
      {"Encrypted", asPackage("secret.7z", ReadFile(root_ / "encrypted-archive")), 1, "encrypted (7zAES)"},
      {"UnknownMethod", asPackage("unknown.7z", tiny({{u"bin/Reader.exe", "MZ"}}, 0x7F)), 1, "coder method 7F"},
      {"UnsafeName", asPackage("escaping.7z", tiny({{u"bin/Reader.exe", "MZ"}, {u"../x.txt", "x"}}, 0)), 1,
       "'../x.txt' would land outside"},
      {"ProgramMissing", asPackage("noprogram.7z", tiny({{u"readme.txt", "hello"}}, 0)), 1,
       "'bin\\Reader.exe' that the information block names is not in the archive"},
      {"NoBlock", root_ / "plain.7z", 1, "no information block"},
      {"Truncated", asPackage("cut.7z", ReadFile(root_ / "188.7z").substr(0, 100)), 1, "damaged"},
  };
  for (const TestCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ToolRun run = RunLzpack("test '" + c.Package.string() + "'");
    EXPECT_EQ(run.Status, c.Status);
    EXPECT_NE(run.Output.find(c.Says), std::string::npos) << run.Output;
  }

  // pack tests what 7z wrote and keeps nothing the library refuses.
  fs::path fakeBin = root_ / "fake-bin";
  fs::create_directories(fakeBin);
  Write(fakeBin / "7z", "#!/bin/sh\n/bin/cp '" + (root_ / "encrypted-archive").string() + "' \"$7\"\n");
  fs::permissions(fakeBin / "7z", fs::perms::owner_all);
  fs::remove(root_ / "188.7z");
  PathOverride path(fakeBin);
  PackageWriteResult refused = WritePackage(Request());
  EXPECT_NE(refused.Error.find("encrypted"), std::string::npos) << refused.Error;
  EXPECT_FALSE(fs::exists(root_ / "188.7z"));
  EXPECT_FALSE(fs::exists(root_ / "188.7z.partial"));
}

TEST(PackageToolOptionsTest, ParsesTheCommandLine) {
  struct OptionsCase {
    std::vector<std::string> Arguments;
    std::string Error;  // a part of it; empty when the arguments are fine
    ToolCommand Command;
  };
  const OptionsCase cases[] = {
      {{}, "", ToolCommand::Help},
      {{"info", "a.7z"}, "", ToolCommand::Info},
      {{"test", "a.7z"}, "", ToolCommand::Test},
      {{"test"}, "test takes exactly one package file", ToolCommand::Help},
      {{"pack", "dir", "--id", "5", "--extract-only", "--output", "x.7z"}, "", ToolCommand::Pack},
      {{"pack", "--id", "5"}, "no folder given", ToolCommand::Pack},
      {{"pack", "a", "b"}, "more than one folder", ToolCommand::Pack},
      {{"pack", "a", "--title"}, "--title needs a value", ToolCommand::Pack},
      {{"pack", "a", "--name", "x"}, "unknown option --name", ToolCommand::Pack},
  };
  for (const OptionsCase& c : cases) {
    SCOPED_TRACE(c.Arguments.empty() ? "" : c.Arguments[0]);
    ToolOptions options;
    std::string error = ParseToolOptions(c.Arguments, options);
    if (c.Error.empty()) {
      EXPECT_EQ(error, "");
    } else {
      EXPECT_NE(error.find(c.Error), std::string::npos) << error;
    }
    EXPECT_EQ(options.Command, c.Command);
  }
  ToolOptions options;
  ASSERT_EQ(ParseToolOptions({"pack", "dir", "--id", "5", "--extract-only", "--title", "T"}, options), "");
  EXPECT_EQ(options.Request.ProgramFile, U8(u8"解压缩"));
  EXPECT_EQ(options.Request.Id, "5");
  EXPECT_EQ(options.Request.Title, "T");
  EXPECT_EQ(options.Request.Folder, fs::path("dir"));
}

TEST(GbkTextTest, ConvertsLikeTheCompiler) {
  EXPECT_EQ(Utf8ToGbk(U8(u8"岚舟软件安装包文件信息　－“”")), std::string("岚舟软件安装包文件信息　－“”"));
  EXPECT_EQ(GbkToUtf8("岚舟软件安装包文件信息"), U8(u8"岚舟软件安装包文件信息"));
  EXPECT_EQ(Utf8ToGbk(""), std::string());
  // A value cut in the middle of a character still shows the rest.
  EXPECT_EQ(GbkToUtf8(std::string("岚舟").substr(0, 3)), U8(u8"岚?"));
}

}  // namespace
