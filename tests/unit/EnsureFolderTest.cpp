#include <gtest/gtest.h>

#include <set>

#include "retrieval/handlers/LoadFolders.h"
#include "support/EnsureFolder.h"
#include "support/GbkPath.h"

namespace {

// A file system of drive roots and folders; creating works only below an existing folder.
class FakeFolders : public FolderOperations {
 public:
  explicit FakeFolders(std::set<std::string> folders) : folders_(std::move(folders)) {}
  bool FolderExists(const std::string& path) override { return folders_.count(path) > 0; }
  void CreateFolder(const std::string& path) override {
    created.push_back(path);
    const auto parent = path.substr(0, AfterLastSeparator(path) - 1);
    if (FolderExists(parent)) folders_.insert(path);
  }
  std::vector<std::string> created;

 private:
  std::set<std::string> folders_;
};

TEST(EnsureFolder, CreatesEachMissingFolderBelowTheRoot) {
  const struct {
    const char* path;
    std::set<std::string> existing;
    bool result;
    std::vector<std::string> created;
  } cases[] = {
      {"D:\\岚舟软件\\", {"D:"}, true, {"D:\\岚舟软件"}},
      {"D:\\岚舟软件\\", {}, false, {"D:\\岚舟软件"}},
      {"C:\\a\\\\b\\c\\", {"C:", "C:\\a"}, true, {"C:\\a\\b", "C:\\a\\b\\c"}},
      // 運 is 0xDF 0x5C in GBK: its second byte is no separator.
      {"C:\\運\\", {"C:"}, true, {"C:\\運"}},
      {"\\\\server\\share\\dir", {"\\\\server\\share"}, true, {"\\\\server\\share\\dir"}},
  };
  for (const auto& c : cases) {
    FakeFolders folders(c.existing);
    EXPECT_EQ(EnsureFolder(c.path, folders), c.result) << c.path;
    EXPECT_EQ(folders.created, c.created) << c.path;
  }
}

TEST(GbkPath, TrailingBackslashIsACharacterNotAByte) {
  EXPECT_EQ(WithTrailingBackslash("C:\\運"), "C:\\運\\");
  EXPECT_EQ(WithTrailingBackslash(""), "\\");
}

TEST(SettleFolders, PrefersDriveDAndEndsBothWithBackslash) {
  FakeFolders withD({"D:"});
  const auto onD = SettleFolders("C:\\Temp", "C:\\Program Files", withD);
  EXPECT_EQ(onD.tempFolder, "C:\\Temp\\");
  EXPECT_EQ(onD.installFolder, "D:\\岚舟软件\\");

  FakeFolders withoutD({"C:"});
  const auto offD = SettleFolders("", "C:\\Program Files\\", withoutD);
  EXPECT_EQ(offD.tempFolder, "\\");
  EXPECT_EQ(offD.installFolder, "C:\\Program Files\\");
}

}  // namespace
