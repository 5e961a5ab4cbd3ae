#include "retrieval/handlers/LoadStep.h"

#include <string>

#include "state/AppState.h"
#include "state/BuildConfig.h"
#include "contracts/InstallerCopies.h"
#include "contracts/ProgramIdentity.h"
#include "retrieval/download/RunFolder.h"
#include "retrieval/handlers/CustomMessages.h"
#include "retrieval/handlers/LoadFolders.h"
#include "retrieval/handlers/PackageInfoStep.h"
#include "retrieval/handlers/PackageRunClaim.h"
#include "retrieval/package/PackageCopy.h"
#include "state/RetrievalState.h"
#include "retrieval/package/PackageCopyWin32.h"
#include "support/PageImages.h"

namespace {

// Empty text when the variable is unset.
std::string EnvironmentValue(const char* name) {
  std::string value(MAX_PATH, '\0');
  DWORD length = GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
  if (length >= value.size()) {
    value.resize(length);
    length = GetEnvironmentVariableA(name, value.data(), length);
  }
  value.resize(length < value.size() ? length : 0);
  return value;
}

}  // namespace

// Byte by byte through volatile, so the marker is read from the image and never folded
// into a second copy by the compiler.
std::string CurrentMarker() {
  std::string marker(kMarkerLength, '\0');
  for (std::size_t i = 0; i < kMarkerLength; ++i) marker[i] = PackageMarker[i];
  return marker;
}

int OnForm1Load(HWND form, LPARAM) {
  const SettledFolders folders =
      SettleFolders(EnvironmentValue("TEMP"), EnvironmentValue("ProgramFiles"), FileSystemFolders());
  TempFolder = folders.tempFolder;
  InstallFolder = folders.installFolder;
  SetWindowTextA(form, WindowTitleFor(FileVersion).c_str());
  LoadPageImages();

  const std::string marker = CurrentMarker();
  if (IsTemplateMarker(marker)) {
    WritePackageCopies(ProgramFolder, ProgramFileName, marker, FileSystemCopyFiles());
  } else {
    // A second start of the same package's installer only shows the first one.
    if (!ClaimPackageRun(PackageNameFromMarker(marker), form)) ExitProcess(0);
    RunFolder = MakeRunFolder(TempFolder);
    PostMessageA(form, kStartMessage, 0, 0);
  }
  return 0;
}
