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

// The ways a process's image path is read through a handle held on it; each gives empty
// text when it cannot.
class ProcessPathReader {
 public:
  virtual ~ProcessPathReader() = default;
  // The main module's file: fails from a 32-bit process for a 64-bit one.
  virtual std::string ModuleFileName() = 0;
  // The image name as the system keeps it, readable across that boundary.
  virtual std::string FullImageName() = 0;
};

// The main module's path, else the full image name, else the snapshot's bare executable name.
std::string ImagePathOf(ProcessPathReader& process, std::string_view bareName);

// A process found running from the folder, held open from the list to its stop: while the
// warning is shown it may end, and its number may pass to another program.
class HeldProcess : public ProcessPathReader {
 public:
  virtual bool HasEnded() = 0;
  virtual void Terminate() = 0;
};

// After the warning: terminated only while it still runs from the folder (its path read
// again through the handle).
void StopIfStillInFolder(HeldProcess& process, std::string_view folder);

// True when the image path lies in the folder (which ends with "\"), ASCII letter case
// ignored. Both sides are read as GBK characters: only single-byte letters are upper-cased.
bool IsInsideFolder(std::string_view imagePath, std::string_view folder);

// The positions in the list of the processes to warn about and stop, in snapshot order;
// never the installer itself.
std::vector<size_t> ProgramsToStop(const std::vector<RunningProcess>& processes, uint32_t installerId,
                                   std::string_view folder);

std::string RunningProgramWarning(std::string_view displayName, std::string_view imagePath);

// After stopping anything, the progress bar runs from 1 to 100 with a 50 ms pumped wait each:
// about five seconds for the stopped programs to let go of their files. No pause otherwise.
constexpr int32_t kStopPauseStepMs = 50;
int32_t StopPauseSteps(size_t stoppedCount);
