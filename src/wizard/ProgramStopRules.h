#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr const char* kRunningProgramTitle = "请退出【应用或游戏】";

struct RunningProcess {
  uint32_t id;
  std::string imagePath;  // full path of the main module, or the bare name when unreadable
};

// The ways a process's image path is read; each gives empty text when it cannot.
class ProcessPathReader {
 public:
  virtual ~ProcessPathReader() = default;
  // The main module's file: fails from a 32-bit process for a 64-bit one.
  virtual std::string ModuleFileName(uint32_t processId) = 0;
  // The image name as the system keeps it, readable across that boundary.
  virtual std::string FullImageName(uint32_t processId) = 0;
};

// The main module's path, else the full image name, else the snapshot's bare executable name.
std::string ImagePathOf(ProcessPathReader& reader, uint32_t processId, std::string_view bareName);

// True when the image path lies in the folder (which ends with "\"), ASCII letter case
// ignored. Both sides are read as GBK characters: only single-byte letters are upper-cased.
bool IsInsideFolder(std::string_view imagePath, std::string_view folder);

// The processes to warn about and stop, in snapshot order; never the installer itself.
std::vector<RunningProcess> ProgramsToStop(const std::vector<RunningProcess>& processes, uint32_t installerId,
                                           std::string_view folder);

std::string RunningProgramWarning(std::string_view displayName, std::string_view imagePath);

// After stopping anything, the progress bar runs from 1 to 100 with a 50 ms pumped wait each:
// about five seconds for the stopped programs to let go of their files. No pause otherwise.
constexpr int32_t kStopPauseStepMs = 50;
int32_t StopPauseSteps(size_t stoppedCount);
