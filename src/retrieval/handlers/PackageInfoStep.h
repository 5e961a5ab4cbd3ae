#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "contracts/PackageInfo.h"

// What the package-information step needs from its surroundings; the Windows side is
// WindowsPackageStep.
class PackageStepHost {
 public:
  virtual ~PackageStepHost() = default;
  // FetchFile: true when the folder now holds the complete file.
  virtual bool Fetch(const std::string& fileName, const std::string& displayName) = 0;
  virtual bool StopConfirmed() = 0;  // AbortRequested == 1
  virtual std::optional<PackageInfo> ReadInfo(const std::string& folder, const std::string& fileName) = 0;
  // The download-failure message (OK only).
  virtual void ShowDownloadFailed() = 0;
  // True when the publisher's signature holds on the downloaded file, and always without a built-in key;
  // a file that passed stays held against writers until it is deleted.
  virtual bool SignatureHolds(const std::string& path) = 0;
  // The file-error message with Retry and Cancel (no block, or not the publisher's file);
  // true for Retry.
  virtual bool AskRetryFileError(const std::string& text) = 0;
  virtual void DeleteFile(const std::string& path) = 0;
  virtual void StorePackage(const PackageInfo& info) = 0;  // the process-wide Package
  virtual void ShowWelcomePage() = 0;                      // the welcome page, then a repaint
  virtual void PostStartMessage() = 0;
  // Ends the program with exit code 0; the step returns right after asking for it.
  virtual void EndProgram() = 0;
};

// The package file name: the marker without leading and trailing blanks.
std::string PackageNameFromMarker(std::string_view marker);

// Handler of the start message: downloads the package into the run's own folder (empty when
// it could not be made), checks the publisher's signature, reads its information block,
// stores the package values and shows the welcome page.
void RunPackageInfoStep(PackageStepHost& host, const std::string& runFolder, const std::string& packageName);
