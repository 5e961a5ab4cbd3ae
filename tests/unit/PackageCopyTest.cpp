#include <gtest/gtest.h>

#include <map>

#include "retrieval/package/PackageCopy.h"

namespace {

class MemoryFiles : public CopyFileOperations {
 public:
  std::string ReadWholeFile(const std::string& path) override { return files.count(path) ? files[path] : ""; }
  bool CopyFileOver(const std::string& from, const std::string& to) override {
    if (!files.count(from)) return false;
    files[to] = files[from];
    return true;
  }
  bool WriteBytesAt(const std::string& path, uint64_t offset, const std::string& bytes) override {
    if (failWrites || offset + bytes.size() > files[path].size()) return false;
    files[path].replace(offset, bytes.size(), bytes);
    return true;
  }
  void RemoveFile(const std::string& path) override { files.erase(path); }

  std::map<std::string, std::string> files;
  bool failWrites = false;
};

const std::string kProgram = "C:\\out\\installer.exe";
const std::string kTemplate = std::string("MZ...") + "???.7z" + std::string("\0tail???.7z", 11);

TEST(WritePackageCopies, OneCopyPerIdWithOnlyTheFirstMarkerPatched) {
  MemoryFiles files;
  files.files[kProgram] = kTemplate;
  EXPECT_EQ(WritePackageCopies("C:\\out\\", "installer.exe", "???.7z", files), 27);
  EXPECT_EQ(files.files.size(), 28u);
  std::string expected = kTemplate;
  expected.replace(5, 6, "99.7z ");
  EXPECT_EQ(files.files["C:\\out\\lzin-99.exe"], expected);
  expected.replace(5, 6, "188.7z");
  EXPECT_EQ(files.files["C:\\out\\lzin-188.exe"], expected);
  EXPECT_EQ(files.files[kProgram], kTemplate);
}

TEST(WritePackageCopies, WritesNothingUsable) {
  MemoryFiles noMarker;
  noMarker.files[kProgram] = "MZ no marker here";
  EXPECT_EQ(WritePackageCopies("C:\\out\\", "installer.exe", "???.7z", noMarker), 0);
  EXPECT_EQ(noMarker.files.size(), 1u);

  MemoryFiles unreadable;
  EXPECT_EQ(WritePackageCopies("C:\\out\\", "installer.exe", "???.7z", unreadable), 0);

  MemoryFiles failingWrites;
  failingWrites.files[kProgram] = kTemplate;
  failingWrites.failWrites = true;
  EXPECT_EQ(WritePackageCopies("C:\\out\\", "installer.exe", "???.7z", failingWrites), 0);
  EXPECT_EQ(failingWrites.files.size(), 1u) << "an unpatched copy would be a second template";
}

}  // namespace
