#include "wizard/ProgramStopRules.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramStopRulesTest, StopsProgramsInsideTheFolderButNotTheInstaller) {
  const std::vector<RunningProcess> processes = {
      {4, "C:\\Windows\\explorer.exe"}, {7, "D:\\Games\\X\\setup.exe"},  // 7: the installer
      {9, "d:\\games\\x\\x.exe"},       {10, "D:\\Games\\XY\\X.EXE"},
      {11, "D:\\GAMES\\X\\BIN\\Y.EXE"}, {12, "x.exe"}};
  const auto toStop = ProgramsToStop(processes, 7, "D:\\Games\\X\\");
  ASSERT_EQ(toStop.size(), 2u);
  EXPECT_EQ(toStop[0].id, 9u);
  EXPECT_EQ(toStop[1].id, 11u);
  EXPECT_FALSE(IsInsideFolder("D:\\游戏\\象棋\\qp.exe", "D:\\游戏\\棋牌\\"));
  EXPECT_FALSE(IsInsideFolder("D:\\Games\\X\\x.exe", ""));
  // 發 and 癓 differ only in a second byte 0x6C / 0x4C: different folders, not a letter case.
  EXPECT_FALSE(IsInsideFolder("D:\\癓\\x.exe", "D:\\發\\"));
  EXPECT_FALSE(IsInsideFolder("D:\\發\\x.exe", "D:\\癓\\"));
  EXPECT_TRUE(IsInsideFolder("d:\\發\\game\\x.exe", "D:\\發\\GAME\\"));
}

class ScriptedPaths : public ProcessPathReader {
 public:
  ScriptedPaths(std::string module, std::string image) : module_(std::move(module)), image_(std::move(image)) {}
  std::string ModuleFileName(uint32_t) override { return calls += "module ", module_; }
  std::string FullImageName(uint32_t) override { return calls += "image ", image_; }
  std::string calls;

 private:
  std::string module_, image_;
};

TEST(ProgramStopRulesTest, ImagePathFallsBackInOrder) {
  const struct {
    const char *module, *image, *path, *calls;
  } kCases[] = {
      {"D:\\X\\a.exe", "D:\\X\\b.exe", "D:\\X\\a.exe", "module "},
      // A 64-bit program seen from the 32-bit installer: only the image name can be read.
      {"", "D:\\X\\b.exe", "D:\\X\\b.exe", "module image "},
      {"", "", "b.exe", "module image "},
  };
  for (const auto& c : kCases) {
    ScriptedPaths reader(c.module, c.image);
    EXPECT_EQ(ImagePathOf(reader, 5, "b.exe"), c.path) << c.calls;
    EXPECT_EQ(reader.calls, c.calls);
  }
}

}  // namespace
