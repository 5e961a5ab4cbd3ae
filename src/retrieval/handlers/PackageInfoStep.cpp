#include "retrieval/handlers/PackageInfoStep.h"

#include "contracts/PackageValueRules.h"
#include "retrieval/package/PackageInfoTexts.h"

std::string PackageNameFromMarker(std::string_view marker) {
  const std::size_t first = marker.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = marker.find_last_not_of(' ');
  return std::string(marker.substr(first, last - first + 1));
}

namespace {

// The package is deleted; Retry runs the whole step again, download included.
void RefusePackage(PackageStepHost& host, const std::string& path, const std::string& text) {
  const bool retry = host.AskRetryFileError(text);
  host.DeleteFile(path);
  if (retry) {
    host.PostStartMessage();
  } else {
    host.EndProgram();
  }
}

}  // namespace

void RunPackageInfoStep(PackageStepHost& host, const std::string& runFolder, const std::string& packageName) {
  // Without a folder of its own the run has nowhere to put the package: as a failed download.
  if (runFolder.empty()) {
    host.ShowDownloadFailed();
    host.EndProgram();
    return;
  }
  const std::string path = runFolder + packageName;
  // The folder is new for this run, so the package is always fetched: nothing that stood in
  // TEMP before is read.
  if (!host.Fetch(packageName, std::string(kPackageDownloadDisplayName))) {
    // A stop the user asked for needs no message.
    if (!host.StopConfirmed()) {
      host.ShowDownloadFailed();
      host.DeleteFile(path);
    }
    host.EndProgram();
    return;
  }
  if (!host.SignatureHolds(path)) {
    RefusePackage(host, path, PackageNotPublishersText(path));
    return;
  }
  host.ShowWelcomePage();

  std::optional<PackageInfo> info = host.ReadInfo(runFolder, packageName);
  // Values that would lead out of the target folder or the desktop make the block unusable.
  if (!info || FindPackageValueFault(*info)) {
    RefusePackage(host, path, PackageFileErrorText(path));
    return;
  }
  host.StorePackage(*info);
  host.ShowWelcomePage();
}
