#pragma once

#include <cstdint>

#include "contracts/ProgramIdentity.h"

constexpr const char* kCloseQuestionTitle = kPublisherTitle;
constexpr const char* kStopDownloadQuestion = "正在下载文件中，是否要强制停止下载？";
constexpr const char* kStopExtractionQuestion = "正在解压文件中，是否要强制停止解压？";

// What the close confirmation needs from its surroundings: the shared flags and a Yes/No
// question (MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 under kCloseQuestionTitle).
class CloseHost {
 public:
  virtual ~CloseHost() = default;
  virtual bool DownloadRunning() = 0;    // DownloadState > 0
  virtual bool ExtractionRunning() = 0;  // Extracting == 1
  virtual bool StopConfirmed() = 0;      // AbortRequested == 1
  virtual bool AskYesNo(const char* question) = 0;
  // DownloadState = 2, AbortRequested = 1, then a plain 100 ms sleep.
  virtual void StopDownload() = 0;
  // AbortRequested = 1.
  virtual void StopExtraction() = 0;
};

// The WM_CLOSE decision: 0 lets Form1 close, 1 keeps it.
int32_t DecideClose(CloseHost& host);
