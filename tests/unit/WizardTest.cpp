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
  // The align width, the width, where it starts.
  const int32_t kCases[][3] = {
      {0, 80, 120},      {-5, 80, 120},     // left-aligned
      {325, 80, 242},    {325, 81, 242},    // centred; 242.5 rounds to even
      {325, 400, 82},                       // wider than the width: starts left of the anchor
      {10000, 80, 5080}, {10300, 80, 340},  // right edge at 120 + 300 above 10000
  };
  for (const auto& [alignWidth, width, left] : kCases) {
    const TextPlacement p = PlaceText(120, 64, alignWidth, width, 20);
    EXPECT_EQ(p.left, left) << alignWidth << " " << width;
    EXPECT_EQ(p.right - p.left, width);
  }
}

TEST(ShortcutPlanTest, OnlyCheckedBoxesActAndBothStartInTheFolder) {
  const std::tuple<const char*, int32_t, int32_t, bool, bool> kCases[] = {
      {"C:\\Desktop\\", 1, 0, true, false},
      {"C:\\Desktop\\", 0, 1, false, true},
      {"C:\\Desktop\\", 2, 2, false, false},
      {"", 1, 1, false, true}};  // no desktop folder: no link in the drive's root
  for (const auto& [desktop, shortcutCheck, launchCheck, shortcut, launch] : kCases) {
    const FinishPlan plan = PlanFinishActions({"D:\\A\\", desktop, shortcutCheck, launchCheck}, kOrdinary);
    EXPECT_EQ(plan.shortcut.has_value(), shortcut);
    EXPECT_EQ(plan.launch.has_value(), launch);
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
  using enum FolderVerdict;
  const std::tuple<const char*, FolderVerdict, const char*> kCases[] = {
      {"D:", BareDrive, ""},
      {"  D:\\  ", BareDrive, ""},
      {"DX", PathError, ""},
      {"\\\\server\\share", PathError, ""},
      {"D:/Games", PathError, ""},
      {"  D:\\Games\\X \t", Accepted, "D:\\Games\\X\\"},
      {"D:\\誠", Accepted, "D:\\誠\\"},  // the last byte is 0x5C inside a character
      {"D:\\誠\\", Accepted, "D:\\誠\\"},
      // Other spellings of a drive's root, and of a folder.
      {"D:\\\\", BareDrive, ""},
      {"D:\\.", BareDrive, ""},
      {"D:\\x\\..", BareDrive, ""},
      {"D:\\誠\\..\\", BareDrive, ""},
      {"D:\\Games\\.\\Y\\..\\X", Accepted, "D:\\Games\\X\\"},
      {"D:\\誠\\x", Accepted, "D:\\誠\\x\\"},
      {"\\\\\\server\\share", PathError, ""},
  };
  for (const auto& [typed, verdict, folder] : kCases) {
    const FolderCheck check = CheckTargetFolder(typed);
    EXPECT_EQ(check.verdict, verdict) << typed;
    EXPECT_EQ(check.folder, folder) << typed;
  }
}

TEST(FolderPickerRulesTest, OkOnlyForDriveLetterFolders) {
  const std::tuple<uint32_t, const char*, PickerReply> kCases[] = {
      {1, "", PickerReply::SelectInitialFolder},
      {2, "C:\\Users\\a", PickerReply::Nothing},
      {2, "", PickerReply::DisableOk},                   // a virtual item
      {2, "\\\\server\\share", PickerReply::DisableOk},  // a network path
  };
  for (const auto& [message, selection, reply] : kCases)
    EXPECT_EQ(PickerCallbackReply(message, selection), reply) << selection;
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
  const std::tuple<const char*, const char*, bool, const char*, const char*> kCases[] = {
      {"D:\\X\\bin\\a.exe", "D:\\X\\b.exe", false, "D:\\X\\bin\\a.exe", "module terminate"},
      {"", "D:\\X\\b.exe", false, "D:\\X\\b.exe", "module image terminate"},
      {"", "", false, "b.exe", "module image "},
      {"D:\\X\\a.exe", "", true, "D:\\X\\a.exe", ""},
      {"C:\\Other\\a.exe", "", false, "C:\\Other\\a.exe", "module "},
  };
  for (const auto& [mainModule, image, ended, path, calls] : kCases) {
    ScriptedProcess process(mainModule, image, ended);
    EXPECT_EQ(ImagePathOf(process, "b.exe"), path);
    process.calls.clear();
    StopIfStillInFolder(process, "D:\\X\\");
    EXPECT_EQ(process.calls, calls) << path;
  }
}

struct FakeCloseHost : CloseHost {
  bool downloading, extracting, stopConfirmed, answerYes;
  std::string calls;

  FakeCloseHost(bool d, bool e, bool s, bool yes) : downloading(d), extracting(e), stopConfirmed(s), answerYes(yes) {}
  bool DownloadRunning() override { return downloading; }
  bool ExtractionRunning() override { return extracting; }
  bool StopConfirmed() override { return stopConfirmed; }
  bool AskYesNo(const char* question) override { return calls += question, answerYes; }
  void StopDownload() override { calls += " stop download"; }
  void StopExtraction() override { calls += " stop extraction"; }
};

// Closing while idle, and No to either question, are the shell's, downloads' and install
// suites' under Wine.
TEST(CloseConfirmationTest, OutcomesFollowTheRunningWork) {
  const std::string download = "正在下载文件中，是否要强制停止下载？",
                    extraction = "正在解压文件中，是否要强制停止解压？";
  const struct {
    bool downloading, extracting, stopConfirmed, answerYes;
    int32_t result;
    std::string calls;
  } kCases[] = {
      {true, false, false, true, 0, download + " stop download"},
      {false, true, false, true, 1, extraction + " stop extraction"},  // an extraction never lets Form1 close
      // a confirmed stop is not asked about again and cannot be answered away
      {true, false, true, false, 0, " stop download"},
      {false, true, true, false, 1, " stop extraction"},
  };
  for (const auto& c : kCases) {
    FakeCloseHost host(c.downloading, c.extracting, c.stopConfirmed, c.answerYes);
    EXPECT_EQ(DecideClose(host), c.result) << c.calls;
    EXPECT_EQ(host.calls, c.calls);
  }
}

}  // namespace
