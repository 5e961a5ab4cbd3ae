#include "forms/LoadStepWin32.h"

#include <string>

#include "contracts/InstallerCopies.h"
#include "contracts/ProgramIdentity.h"
#include "contracts/WindowMessages.h"
#include "platform/GbkText.h"
#include "retrieval/download/RunFolderWin32.h"
#include "retrieval/handlers/LoadFolders.h"
#include "retrieval/handlers/PackageInfoStep.h"
#include "retrieval/handlers/PackageRunClaimWin32.h"
#include "retrieval/package/PackageCopy.h"
#include "retrieval/package/PackageCopyWin32.h"
#include "state/AppStateWin32.h"
#include "state/BuildConfig.h"
#include "state/RetrievalState.h"
#include "support/ControlHelpersWin32.h"

namespace {

// Empty text when the variable is unset. Read wide: the system's code page may have no form
// for the user's folder names.
std::string EnvironmentValue(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
  return length > 0 && length < size ? GbkPathFromWide(value.c_str()) : std::string();
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
      SettleFolders(EnvironmentValue(L"TEMP"), EnvironmentValue(L"ProgramFiles"), FileSystemFolders());
  TempFolder = folders.tempFolder;
  InstallFolder = folders.installFolder;
  SetControlText(form, WindowTitleFor(FileVersion));

  const std::string marker = CurrentMarker();
  if (IsTemplateMarker(marker)) {
    WritePackageCopies(ProgramFolder, ProgramFileName, marker, FileSystemCopyFiles());
  } else {
    // A second start of the same package's installer only shows the first one.
    if (!ClaimPackageRun(PackageNameFromMarker(marker), form)) ExitProcess(0);
    RunFolder = MakeRunFolder(TempFolder);
    PostMessageW(form, kStartMessage, 0, 0);
  }
  return 0;
}
