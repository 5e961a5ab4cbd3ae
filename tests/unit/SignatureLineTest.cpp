#include "contracts/SignatureLine.h"

#include <gtest/gtest.h>

#include <string>

#include "PackageBlock.h"
#include "contracts/PackageInfo.h"

namespace {

Signature Counting() {
  Signature signature;
  for (std::size_t i = 0; i < signature.size(); ++i) signature[i] = static_cast<std::uint8_t>(i * 37 + 5);
  return signature;
}

std::optional<SignatureLine> Find(const std::string& file) { return FindSignatureLine(file, file.size()); }

TEST(SignatureLineTest, FoundOnlyAsTheWholeLastLine) {
  const std::string body(3000, 'a');
  const std::string line = FormatSignatureLine(Counting());
  ASSERT_EQ(line.size(), kSignatureLineSize);

  const std::optional<SignatureLine> found = Find(body + line);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->coveredSize, body.size());
  EXPECT_EQ(found->signature, Counting());
  // Only the last bytes are handed in by the installer.
  EXPECT_TRUE(FindSignatureLine(line, body.size() + line.size()));

  std::string upper = line;
  upper[2 + kSignatureTag.size()] = 'A';
  upper[3 + kSignatureTag.size()] = 'B';
  std::string otherTag = line;
  otherTag[4] = 'X';
  const struct {
    const char* name;
    std::string file;
  } refused[] = {
      {"cut by one byte", body + line.substr(0, line.size() - 1)},
      {"moved: a byte after it", body + line + "\n"},
      {"moved: into the middle", body.substr(0, 100) + line + body.substr(100)},
      {"without its leading CR LF", body + line.substr(2) + "x"},
      {"digits in upper case", body + upper},
      {"another tag", body + otherTag},
      {"the line alone, shorter than a file can be", line.substr(1)},
      {"unsigned", body},
  };
  for (const auto& c : refused) EXPECT_FALSE(Find(c.file)) << c.name;

  // A doubled line is covered by the last, so it cannot hold; signing again drops only the last.
  const std::string doubled = body + line + line;
  ASSERT_TRUE(Find(doubled));
  EXPECT_EQ(Find(doubled)->coveredSize, body.size() + kSignatureLineSize);
  EXPECT_EQ(UnsignedSize(line, doubled.size()), body.size() + kSignatureLineSize);
  EXPECT_EQ(UnsignedSize(body, body.size()), body.size());
}

TEST(SignatureLineTest, TheInformationBlockReadsTheSameAfterTheLine) {
  const PackageInfo gbk{"岚舟阅读器", "bin\\Reader.exe", "2.1", "2024-05-01", "一个阅读器"};
  const std::string block = BuildPackageInfoBlock("188", gbk);
  const std::string archive(2600, '\x37');
  // As lzpack writes the block, and as another tool might: without the last CR LF, or
  // starting right at the edge of the window the reader searches once the line follows.
  const std::string edge(kPackageTailSize - kSignatureLineSize - block.size(), 'c');
  const struct {
    const char* name;
    std::string package;
  } cases[] = {
      {"block ending with CR LF", archive + block},
      {"block without its last CR LF", archive + block.substr(0, block.size() - 2)},
      {"block at the edge of the window", archive + block + edge},
  };
  for (const auto& c : cases) {
    const std::string signedPackage = c.package + FormatSignatureLine(Counting());
    const std::optional<PackageInfo> read =
        ParsePackageInfo(std::string_view(signedPackage).substr(*PackageTailOffset(signedPackage.size())));
    ASSERT_TRUE(read) << c.name;
    for (const PackageInfoKey& key : kPackageInfoKeys) EXPECT_EQ((*read).*key.Value, gbk.*key.Value) << c.name;
  }
}

}  // namespace
