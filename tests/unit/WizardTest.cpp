#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "wizard/CloseConfirmation.h"
#include "wizard/FolderPickerRules.h"
#include "wizard/FolderRules.h"
#include "wizard/PageLayout.h"
#include "wizard/ProgramStopRules.h"
#include "wizard/ShortcutPlan.h"

namespace {

const PackageInfo kOrdinary{.PackageTitle = "画图", .ProgramFile = "bin\\画图.exe", .PackageDescription = "画图工具"};

TEST(PageLayoutTest, ShapesScaleTiesToEven) {
  const struct {
    float factor;
    int32_t bannerWidth, bannerHeight, topLine, shadowLine, highlightLine;
  } kDpis[] = {{1.25f, 564, 66, 64, 312, 314}, {1.5f, 676, 80, 76, 375, 376}};
  for (const auto& d : kDpis) {
    const auto band = HeaderBand(d.factor, d.factor);
    EXPECT_EQ(std::make_tuple(band[1].x2, band[1].y2, band[2].y1, band[3].y1, band[4].y2,
                              WelcomeBackground(d.factor, d.factor)[3].y1),
              std::make_tuple(d.bannerWidth, d.bannerHeight, d.topLine, d.shadowLine, d.highlightLine, d.shadowLine))
        << d.factor;
  }
}

TEST(PageLayoutTest, PaintTextPlacement) {
  const struct {
    int32_t alignWidth, width, left;
  } kCases[] = {
      {0, 80, 120},      {-5, 80, 120},     // left-aligned
      {325, 80, 242},    {325, 81, 242},    // centred; 242.5 rounds to even
      {325, 400, 82},                       // wider than the width: starts left of the anchor
      {10000, 80, 5080}, {10300, 80, 340},  // right edge at 120 + 300 above 10000
  };
  for (const auto& c : kCases) {
    const TextPlacement p = PlaceText(120, 64, c.alignWidth, c.width, 20);
    EXPECT_EQ(p.left, c.left) << c.alignWidth << " " << c.width;
    EXPECT_EQ(p.right - p.left, c.width);
  }
}

TEST(ShortcutPlanTest, OnlyCheckedBoxesActAndBothStartInTheFolder) {
  const struct {
    const char* desktop;
    int32_t shortcutCheck, launchCheck;
    bool shortcut, launch;
  } kCases[] = {{"C:\\Desktop\\", 1, 0, true, false}, {"C:\\Desktop\\", 0, 1, false, true},
                {"C:\\Desktop\\", 2, 2, false, false},
                {"", 1, 1, false, true}};  // no desktop folder: no link in the drive's root
  for (const auto& c : kCases) {
    const FinishPlan plan = PlanFinishActions({"D:\\A\\", c.desktop, c.shortcutCheck, c.launchCheck}, kOrdinary);
    EXPECT_EQ(plan.shortcut.has_value(), c.shortcut);
    EXPECT_EQ(plan.launch.has_value(), c.launch);
  }
  const FinishPlan plan = PlanFinishActions({"D:\\My Apps\\誠", "C:\\Users\\a\\Desktop", 1, 1}, kOrdinary);
  ASSERT_TRUE(plan.shortcut && plan.launch);
  EXPECT_EQ(plan.shortcut->linkPath, "C:\\Users\\a\\Desktop\\画图.lnk");
  EXPECT_EQ(plan.shortcut->workingFolder, "D:\\My Apps\\誠\\");
  EXPECT_EQ(plan.shortcut->targetPath, "D:\\My Apps\\誠\\bin\\画图.exe");
  EXPECT_EQ(plan.launch->file, plan.shortcut->targetPath);
  EXPECT_EQ(plan.launch->parameters, "D:\\My Apps\\誠\\");  // unquoted, spaces and all
}

TEST(FolderRulesTest, TargetFolderChecks) {
  const struct {
    const char* typed;
    FolderVerdict verdict;
    const char* folder;
  } kCases[] = {
      {"D:", FolderVerdict::BareDrive, ""},
      {"  D:\\  ", FolderVerdict::BareDrive, ""},
      {"DX", FolderVerdict::PathError, ""},
      {"\\\\server\\share", FolderVerdict::PathError, ""},
      {"D:/Games", FolderVerdict::PathError, ""},
      {"  D:\\Games\\X \t", FolderVerdict::Accepted, "D:\\Games\\X\\"},
      {"D:\\Games\\X\\", FolderVerdict::Accepted, "D:\\Games\\X\\"},
      {"D:\\誠", FolderVerdict::Accepted, "D:\\誠\\"},  // the last byte is 0x5C inside a character
      {"D:\\誠\\", FolderVerdict::Accepted, "D:\\誠\\"},
      // Other spellings of a drive's root, and of a folder.
      {"D:\\\\", FolderVerdict::BareDrive, ""},
      {"D:\\.", FolderVerdict::BareDrive, ""},
      {"D:\\x\\..", FolderVerdict::BareDrive, ""},
      {"D:\\誠\\..\\", FolderVerdict::BareDrive, ""},
      {"D:\\Games\\.\\Y\\..\\X", FolderVerdict::Accepted, "D:\\Games\\X\\"},
      {"D:\\誠\\x", FolderVerdict::Accepted, "D:\\誠\\x\\"},
      {"\\\\\\server\\share", FolderVerdict::PathError, ""},
  };
  for (const auto& c : kCases) {
    const FolderCheck check = CheckTargetFolder(c.typed);
    EXPECT_EQ(check.verdict, c.verdict) << c.typed;
    EXPECT_EQ(check.folder, c.folder) << c.typed;
  }
}

TEST(FolderPickerRulesTest, OkOnlyForDriveLetterFolders) {
  const struct {
    uint32_t message;
    const char* selection;
    PickerReply reply;
  } kCases[] = {
      {1, "", PickerReply::SelectInitialFolder},         {2, "C:\\Users\\a", PickerReply::Nothing},
      {2, "", PickerReply::DisableOk},                    // a virtual item
      {2, "\\\\server\\share", PickerReply::DisableOk},  // a network path
  };
  for (const auto& c : kCases) EXPECT_EQ(PickerCallbackReply(c.message, c.selection), c.reply) << c.selection;
}

TEST(ProgramStopRulesTest, StopsProgramsInsideTheFolderButNotTheInstaller) {
  const std::vector<RunningProcess> processes = {
      {4, "C:\\Windows\\explorer.exe"}, {7, "D:\\Games\\X\\setup.exe"},  // 7: the installer
      {9, "d:\\games\\x\\x.exe"},       {10, "D:\\Games\\XY\\X.EXE"},
      {11, "D:\\GAMES\\X\\BIN\\Y.EXE"}, {12, "x.exe"}};
  EXPECT_EQ(ProgramsToStop(processes, 7, "D:\\Games\\X\\"), (std::vector<size_t>{2, 4}));
  EXPECT_FALSE(IsInsideFolder("D:\\游戏\\象棋\\qp.exe", "D:\\游戏\\棋牌\\"));
  EXPECT_FALSE(IsInsideFolder("D:\\Games\\X\\x.exe", ""));
  // 發 and 癓 differ only in a second byte 0x6C / 0x4C: different folders, not a letter case.
  EXPECT_FALSE(IsInsideFolder("D:\\癓\\x.exe", "D:\\發\\"));
  EXPECT_FALSE(IsInsideFolder("D:\\發\\x.exe", "D:\\癓\\"));
  EXPECT_TRUE(IsInsideFolder("d:\\發\\game\\x.exe", "D:\\發\\GAME\\"));
}

class ScriptedProcess : public HeldProcess {
 public:
  ScriptedProcess(std::string module, std::string image, bool ended = false)
      : module_(std::move(module)), image_(std::move(image)), ended_(ended) {}
  std::string ModuleFileName() override { return calls += "module ", module_; }
  std::string FullImageName() override { return calls += "image ", image_; }
  bool HasEnded() override { return ended_; }
  void Terminate() override { calls += "terminate"; }
  std::string calls;

 private:
  std::string module_, image_;
  bool ended_;
};

// The path is read in order: the main module (which a 32-bit installer cannot read for a 64-bit
// program), the image name, the bare name. After the warning it is read again: a program that
// ended, or that now runs from elsewhere, is left alone.
TEST(ProgramStopRulesTest, ReadsThePathInOrderAndStopsOnlyWhatStillRunsFromTheFolder) {
  const struct {
    const char *module, *image;
    bool ended;
    const char *path, *calls;
  } kCases[] = {
      {"D:\\X\\bin\\a.exe", "D:\\X\\b.exe", false, "D:\\X\\bin\\a.exe", "module terminate"},
      {"", "D:\\X\\b.exe", false, "D:\\X\\b.exe", "module image terminate"},
      {"", "", false, "b.exe", "module image "},
      {"D:\\X\\a.exe", "", true, "D:\\X\\a.exe", ""},
      {"C:\\Other\\a.exe", "", false, "C:\\Other\\a.exe", "module "},
  };
  for (const auto& c : kCases) {
    ScriptedProcess process(c.module, c.image, c.ended);
    EXPECT_EQ(ImagePathOf(process, "b.exe"), c.path);
    process.calls.clear();
    StopIfStillInFolder(process, "D:\\X\\");
    EXPECT_EQ(process.calls, c.calls) << c.path;
  }
}

struct FakeCloseHost : CloseHost {
  bool downloading, extracting, stopConfirmed, answerYes;
  std::string asked;
  int downloadStops = 0, extractionStops = 0;

  FakeCloseHost(bool d, bool e, bool s, bool yes) : downloading(d), extracting(e), stopConfirmed(s), answerYes(yes) {}
  bool DownloadRunning() override { return downloading; }
  bool ExtractionRunning() override { return extracting; }
  bool StopConfirmed() override { return stopConfirmed; }
  bool AskYesNo(const char* question) override { return asked += question, answerYes; }
  void StopDownload() override { ++downloadStops; }
  void StopExtraction() override { ++extractionStops; }
};

constexpr const char* kDownload = "正在下载文件中，是否要强制停止下载？";
constexpr const char* kExtraction = "正在解压文件中，是否要强制停止解压？";

TEST(CloseConfirmationTest, OutcomesFollowTheRunningWork) {
  const struct {
    bool downloading, extracting, stopConfirmed, answerYes;
    int32_t result;
    const char* asked;
    int downloadStops, extractionStops;
  } kCases[] = {
      {false, false, false, false, 0, "", 0, 0},  // idle: closes without a question
      {true, false, false, true, 0, kDownload, 1, 0},
      {true, false, false, false, 1, kDownload, 0, 0},
      {false, true, false, true, 1, kExtraction, 0, 1},  // an extraction never lets Form1 close
      {false, true, false, false, 1, kExtraction, 0, 0},
      // a confirmed stop is not asked about again and cannot be answered away
      {true, false, true, false, 0, "", 1, 0},
      {false, true, true, false, 1, "", 0, 1},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.downloading << c.extracting << c.stopConfirmed << c.answerYes);
    FakeCloseHost host(c.downloading, c.extracting, c.stopConfirmed, c.answerYes);
    EXPECT_EQ(DecideClose(host), c.result);
    EXPECT_EQ(host.asked, c.asked);
    EXPECT_EQ(host.downloadStops, c.downloadStops);
    EXPECT_EQ(host.extractionStops, c.extractionStops);
  }
}

}  // namespace
