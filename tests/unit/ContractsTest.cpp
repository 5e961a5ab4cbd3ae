#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "TestFiles.h"
#include "contracts/PackageInfo.h"
#include "contracts/PackageValueRules.h"
#include "contracts/ProgramIdentity.h"

namespace {

using namespace testfiles;

const std::string kSection(kPackageSectionName);

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Archive-like bytes in front, then the block, filling exactly one tail.
std::string Tail(const std::string& block) { return std::string(kPackageTailSize - block.size(), '\x5A') + block; }

TEST(PackageInfoTest, ParsesTheBlock) {
  const std::string full = Lines({"[" + kSection + "]", "ID=188", "名称=岚舟阅读器", "文件名=bin\\Reader.exe",
                                  "版本号=2.0.1", "日期=2024-05-01", "说明=读书用的软件"});
  // The values: title, program, version, date, description.
  const std::tuple<const char*, std::string, std::optional<PackageInfo>> cases[] = {
      {"AllSixLines", Tail(full), PackageInfo{"岚舟阅读器", "bin\\Reader.exe", "2.0.1", "2024-05-01", "读书用的软件"}},
      {"NoSectionName", Tail(Lines({"[岚舟软件安装包]", "名称=X"})), std::nullopt},
      {"SectionNameAnywhereOnItsLine", Tail(Lines({"abc" + kSection + "xyz]", "名称=T"})), PackageInfo{"T"}},
      {"SectionNameAtTailEnd", Tail(kSection), PackageInfo{}},
      {"FirstSectionCounts", Tail(Lines({kSection, "名称=first", "", "", "", "", "", kSection, "名称=second"})),
       PackageInfo{"first"}},
      {"ZeroBytesCutTheLine", Tail(Lines({kSection, std::string("名称=ABC\0\0\0", 11), "日期=D"})),
       PackageInfo{"ABC", "", "", "D"}},
      {"ZeroBytesFillTheRestOfTheTail", Tail(kSection + "\r\n名称=ABC" + std::string(40, '\0')), PackageInfo{"ABC"}},
      {"BlanksAreKept", Tail(Lines({kSection, "名称= A B ", "版本号=1.0\t"})), PackageInfo{" A B ", "", "1.0\t"}},
      {"SeventhLineIgnored",
       Tail(Lines({kSection, "ID=1", "文件名=a", "版本号=v", "日期=d", "说明=s", "ID=2", "名称=late"})),
       PackageInfo{"", "a", "v", "d", "s"}},
      {"LaterKeyWins", Tail(Lines({kSection, "名称=one", "名称=two"})), PackageInfo{"two"}},
      {"KeysAreExact", Tail(Lines({kSection, "名称 =a", " 名称=b", "NAME=c", "id=d", "文件名a", "说明=ok"})),
       PackageInfo{"", "", "", "", "ok"}},
      {"OnlyCrLfEndsALine", Tail(Lines({kSection, "名称=a\nb\rc", "日期=d"})), PackageInfo{"a\nb\rc", "", "", "d"}},
  };
  for (const auto& [name, tail, values] : cases) {
    SCOPED_TRACE(name);
    std::optional<PackageInfo> info = ParsePackageInfo(tail);
    ASSERT_EQ(info.has_value(), values.has_value());
    if (!info) continue;
    for (const PackageInfoKey& key : kPackageInfoKeys)
      EXPECT_EQ((*info).*key.Value, (*values).*key.Value) << key.Prefix;
    EXPECT_EQ(info->PackagePath, "");
  }
}

// Each value to the bytes the installer keeps of it; a cut may split a double-byte character:
// 15 characters are 30 bytes.
TEST(PackageInfoTest, CutsLongValuesToTheirByteLimits) {
  const std::string title = "一二三四五六七八九十一二三四五", letters(300, 'v');
  const std::optional<PackageInfo> info = ParsePackageInfo(Tail(Lines(
      {kSection, "名称=" + title, "文件名=" + letters, "版本号=" + letters, "日期=" + letters, "说明=" + letters})));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->PackageTitle, title.substr(0, 29));
  EXPECT_EQ(std::tuple(info->ProgramFile.size(), info->PackageVersion.size(), info->ReleaseDate.size(),
                       info->PackageDescription.size()),
            std::tuple(99u, 29u, 19u, 199u));
}

TEST(PackageFileTest, FindsTheBlockOnlyInTheTailOfALongEnoughFile) {
  const std::string block = Lines({kSection, "名称=T"});
  ScratchFolder scratch;
  // However long the folder, the path is kept whole.
  std::string deep = scratch.Path().string() + "/";
  for (int i = 0; i < 12; ++i) deep += std::string(20, static_cast<char>('a' + i)) + "/";
  const std::tuple<const char*, std::string, bool> cases[] = {
      {"Of2501Bytes", std::string(2501 - block.size(), 'x') + block, true},
      {"Of2500Bytes", std::string(2500 - block.size(), 'x') + block, false},
      {"BlockBeginsJustInTheTail", std::string(3000, 'x') + block + std::string(2000 - block.size(), '\0'), true},
      {"BlockBeginsOneByteTooEarly", std::string(3000, 'x') + block + std::string(2001 - block.size(), '\0'), false},
      {"LargeFile", std::string(5'000'000, '\x7F') + block, true},
      {"EmptyFile", "", false},
  };
  for (const auto& [name, bytes, found] : cases) {
    SCOPED_TRACE(name);
    WriteBytes(deep + "1.7z", bytes);
    std::optional<PackageInfo> info = ReadPackageInfo(deep, "1.7z");
    ASSERT_EQ(info.has_value(), found);
    if (info) {
      EXPECT_EQ(info->PackageTitle, "T");
      EXPECT_EQ(info->PackagePath, deep + "1.7z");
    }
  }
  EXPECT_FALSE(ReadPackageInfo(deep, "missing.7z"));
}

// Values that become parts of paths must be names: the title, each name of the program file
// and an extract-only package's folder. The second byte of a double-byte character may be "\"
// or "|"; a description of an ordinary package is free text.
TEST(PackageInfoTest, PathValuesMustBeNames) {
  const std::string names[] = {"岚舟阅读器 2.0", "a\xB1\\b\xB1|", "CONSOLE", "com10.txt"};
  const std::string notNames[] = {"..\\..\\Windows", "a/b",   "..",  "Tools.",   "Tools ",   "",        "C:", "a\tb",
                                  "a\x7F",           "what?", "Con", "lpt9.txt", "nul .log", "岚舟\xB1"};
  const auto fault = [](const std::string& title, const std::string& program, const std::string& description) {
    const std::optional<PackageValueFault> found = FindPackageValueFault({title, program, "", "", description});
    for (const PackageInfoKey& key : kPackageInfoKeys) {
      if (found && key.Value == found->Value) return key.Prefix;
    }
    return std::string_view(found ? "?" : "");
  };
  for (const std::string& name : names) {
    EXPECT_EQ(fault(name, "bin\\" + name + "\\" + name, "C:\\说明"), "") << name;
    EXPECT_EQ(fault("T", "解压缩", name), "") << name;
  }
  for (const std::string& name : notNames) {
    EXPECT_EQ(fault(name, "a.exe", ""), "名称=") << name;
    EXPECT_EQ(fault("T", "bin\\" + name, ""), "文件名=") << name;
    EXPECT_EQ(fault("T", "解压缩", name), "说明=") << name;
  }
  for (const char* program : {"\\Windows\\notepad.exe", "bin\\\\a.exe", "bin\\"}) {
    EXPECT_EQ(fault("T", program, ""), "文件名=") << program;
  }
}

TEST(ProgramIdentity, SplitsTheModulePath) {
  const std::pair<const char*, std::string> cases[] = {{"C:\\dir\\installer.exe", "C:\\dir\\ installer.exe"},
                                                       {"C:installer.exe", "C: installer.exe"},
                                                       {"Z:/tmp/x.exe", "Z:/tmp/ x.exe"},
                                                       {"installer.exe", " installer.exe"},
                                                       {"C:\\運.exe", "C:\\ 運.exe"}};
  for (const auto& [path, split] : cases) {
    const ModulePath module = SplitModulePath(path);
    EXPECT_EQ(module.folder + " " + module.fileName, split) << path;
  }
}

}  // namespace
