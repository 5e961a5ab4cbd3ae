#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PackageBlock.h"
#include "TestFiles.h"
#include "contracts/PackageInfo.h"
#include "contracts/SignatureLine.h"
#include "trust/DownloadDigest.h"

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
  const std::pair<const char*, std::string> refused[] = {
      {"cut by one byte", body + line.substr(0, line.size() - 1)},
      {"moved: a byte after it", body + line + "\n"},
      {"moved: into the middle", body.substr(0, 100) + line + body.substr(100)},
      {"without its leading CR LF", body + line.substr(2) + "x"},
      {"digits in upper case", body + upper},
      {"another tag", body + otherTag},
      {"the line alone, shorter than a file can be", line.substr(1)},
      {"unsigned", body},
  };
  for (const auto& [name, file] : refused) EXPECT_FALSE(Find(file)) << name;

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
  const std::pair<const char*, std::string> cases[] = {
      {"block ending with CR LF", archive + block},
      {"block without its last CR LF", archive + block.substr(0, block.size() - 2)},
      {"block at the edge of the window", archive + block + edge},
  };
  for (const auto& [name, package] : cases) {
    const std::string signedPackage = package + FormatSignatureLine(Counting());
    const std::optional<PackageInfo> read =
        ParsePackageInfo(std::string_view(signedPackage).substr(*PackageTailOffset(signedPackage.size())));
    ASSERT_TRUE(read) << name;
    for (const PackageInfoKey& key : kPackageInfoKeys) EXPECT_EQ((*read).*key.Value, gbk.*key.Value) << name;
  }
}

// The writes land in a file as the download's would; the hash is used only where it holds
// exactly what the file holds before its last line.
TEST(DownloadDigestTest, HashFollowsTheBytesTheFileEndsWith) {
  const std::size_t line = kSignatureLineSize;
  // writes: offset, size
  const std::tuple<const char*, std::vector<std::pair<std::uint64_t, std::size_t>>, bool> cases[] = {
      {"one write", {{0, 70000}}, true},
      {"writes shorter and longer than the held-back line",
       {{0, 1}, {1, 100}, {101, 3}, {104, line}, {104 + line, 65536}, {65640 + line, 7}},
       true},
      {"a body restarted from 0, as after a 200 or on host 2", {{0, 4000}, {4000, 900}, {0, 6000}}, true},
      {"a resumption that overlaps what is written", {{0, 4000}, {3000, 3000}}, false},
      {"a gap", {{0, 4000}, {4100, 3000}}, false},
      {"doubt ends with a restart", {{0, 4000}, {100, 10}, {0, 5000}}, true},
      {"a restarted body shorter than the old one", {{0, 6000}, {0, 5000}}, false},
      {"a file shorter than a line", {{0, line - 1}}, false},
  };
  struct HashedBytes : DigestSink {
    std::string bytes;
    void Restart() override { bytes.clear(); }
    void Add(std::string_view more) override { bytes += more; }
  };
  const std::string source = testfiles::RandomBytes(100000, 3);
  for (const auto& [name, writes, covers] : cases) {
    DownloadDigestPlan plan;
    HashedBytes hashed;
    std::string file;
    for (const auto& [offset, size] : writes) {
      const std::string bytes = source.substr(offset, size);
      if (file.size() < offset + size) file.resize(offset + size);
      file.replace(offset, size, bytes);
      plan.OnWrite(offset, bytes, hashed);
    }
    EXPECT_EQ(plan.Covers(file.size()), covers) << name;
    if (covers) {
      EXPECT_EQ(hashed.bytes, file.substr(0, file.size() - line)) << name;
    }
  }
}

}  // namespace
