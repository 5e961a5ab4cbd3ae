#include "retrieval/handlers/PackageInfoStep.h"

#include "retrieval/package/PackageInfoTexts.h"

std::string PackageNameFromMarker(std::string_view marker) {
  const std::size_t first = marker.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = marker.find_last_not_of(' ');
  return std::string(marker.substr(first, last - first + 1));
}

void RunPackageInfoStep(PackageStepHost& host, const std::string& tempFolder, const std::string& packageName) {
  const std::string path = tempFolder + packageName;
  if (!host.FileExists(path) && !host.Fetch(packageName, std::string(kPackageDownloadDisplayName))) {
    // A stop the user asked for needs no message.
    if (!host.StopConfirmed()) {
      host.ShowDownloadFailed();
      host.DeleteFile(path);
    }
    host.EndProgram();
    return;
  }
  host.ShowWelcomePage();

  std::optional<PackageInfo> info = host.ReadInfo(tempFolder, packageName);
  if (!info) {
    const bool retry = host.AskRetryFileError(PackageFileErrorText(path));
    host.DeleteFile(path);
    if (retry) {
      host.PostStartMessage();
    } else {
      host.EndProgram();
    }
    return;
  }
  host.StorePackage(*info);
  host.ShowWelcomePage();
}
