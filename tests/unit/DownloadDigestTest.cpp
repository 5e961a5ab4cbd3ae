#include "trust/DownloadDigest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "contracts/SignatureLine.h"

namespace {

struct Write {
  std::uint64_t offset;
  std::size_t size;
};

// The writes land in a file as the download's would; the hash is used only where it holds
// exactly what the file holds before its last line.
TEST(DownloadDigestTest, HashFollowsTheBytesTheFileEndsWith) {
  const std::size_t line = kSignatureLineSize;
  const struct {
    const char* name;
    std::vector<Write> writes;
    bool covers;
  } cases[] = {
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
  const std::string source = testfiles::RandomBytes(100000, 3);
  for (const auto& c : cases) {
    DownloadDigestPlan plan;
    DigestChunk chunk;
    std::string file, hashed;
    for (const Write& write : c.writes) {
      const std::string bytes = source.substr(write.offset, write.size);
      if (file.size() < write.offset + write.size) file.resize(write.offset + write.size);
      file.replace(write.offset, write.size, bytes);
      plan.OnWrite(write.offset, bytes, chunk);
      if (chunk.restart) hashed.clear();
      hashed += chunk.bytes;
    }
    EXPECT_EQ(plan.Covers(file.size()), c.covers) << c.name;
    if (c.covers) {
      EXPECT_EQ(hashed, file.substr(0, file.size() - line)) << c.name;
    }
  }
}

}  // namespace
