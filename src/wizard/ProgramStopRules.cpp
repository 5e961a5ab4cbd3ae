#include "wizard/ProgramStopRules.h"

#include "support/GbkPath.h"

std::string ImagePathOf(ProcessPathReader& process, std::string_view bareName) {
  std::string path = process.ModuleFileName();
  if (path.empty()) path = process.FullImageName();
  if (path.empty()) path = bareName;
  return path;
}

void StopIfStillInFolder(HeldProcess& process, std::string_view folder) {
  if (!process.HasEnded() && IsInsideFolder(ImagePathOf(process, ""), folder)) process.Terminate();
}

bool IsInsideFolder(std::string_view imagePath, std::string_view folder) {
  // An empty folder would be inside every path; no such folder passes the folder checks.
  if (folder.empty()) return false;
  return UpperAsciiLetters(imagePath).find(UpperAsciiLetters(folder)) != std::string::npos;
}

std::vector<size_t> ProgramsToStop(const std::vector<RunningProcess>& processes, uint32_t installerId,
                                   std::string_view folder) {
  std::vector<size_t> toStop;
  for (size_t i = 0; i < processes.size(); ++i) {
    if (processes[i].id != installerId && IsInsideFolder(processes[i].imagePath, folder)) toStop.push_back(i);
  }
  return toStop;
}

std::string RunningProgramWarning(std::string_view displayName, std::string_view imagePath) {
  const std::string rule(50, '-');
  return "发现目标文件夹中有【游戏或软件】运行中！！！\r\n\r\n" + rule + "\r\n" + std::string(displayName) +
         "\r\n\r\n" + std::string(imagePath) + "\r\n" + rule + "\r\n\r\n" +
         "为了避免自动强退【游戏造成逃跑】或【应用会丢失数据】的问题，" + "\r\n\r\n" +
         "请在【确定】前先把相关【游戏或应用】退出。";
}

int32_t StopPauseSteps(size_t stoppedCount) { return stoppedCount > 0 ? 100 : 0; }
