#include "retrieval/download/RunFolderWin32.h"

#include <windows.h>
#include <ntsecapi.h>
#include <sddl.h>

#include "platform/File.h"
#include "platform/GbkText.h"
#include "platform/HeldFileRetry.h"
#include "state/RetrievalState.h"
#include "state/TrustState.h"
#include "support/ScopedWin32.h"

namespace {

constexpr int kNameAttempts = 4;
// Owned by the administrators; only they and SYSTEM have any access, nothing inherited from TEMP.
constexpr char kElevatedFolderSecurity[] = "O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

bool RunsElevated() {
  AutoCloseHandle token;
  HANDLE opened = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
  token.Reset(opened);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) && elevation.TokenIsElevated;
}

std::string RandomName() {
  unsigned char bytes[16];
  if (!RtlGenRandom(bytes, sizeof bytes)) return {};
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = "lzin-";
  for (const unsigned char byte : bytes) {
    name += kHex[byte >> 4];
    name += kHex[byte & 15];
  }
  return name;
}

// Deletes what is in the folder, then the folder. A link inside is removed, never followed.
void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(WideText(folder + "*"), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      // Only the installer's own files are in it, and their names are ASCII.
      const std::string name = GbkFromWide(entry.cFileName).value_or(".");
      if (name == "." || name == "..") continue;
      const std::string path = folder + name;
      const DWORD attributes = entry.dwFileAttributes;
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileNamed(PathFromGbk(path));
      } else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        RemoveDirectoryW(WideText(path));
      } else {
        RemoveTree(path + "\\");
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RetryWhileHeld(
      [&] { return RemoveDirectoryW(WideText(folder)) ? FileAnswer::Done : AnswerForError(GetLastError()); });
}

}  // namespace

std::string MakeRunFolder(const std::string& tempFolder) {
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, FALSE};
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (RunsElevated()) {
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kElevatedFolderSecurity, SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
      return {};
    }
    security.lpSecurityDescriptor = descriptor;
  }
  std::string made;
  // A name that exists already is never taken over: another one is drawn.
  for (int attempt = 0; attempt < kNameAttempts && made.empty(); ++attempt) {
    const std::string name = RandomName();
    if (name.empty()) break;
    const std::string folder = tempFolder + name;
    if (CreateDirectoryW(WideText(folder), &security)) made = folder + "\\";
  }
  if (descriptor) LocalFree(descriptor);
  return made;
}

void RemoveRunFolder() {
  CheckedPackage.Close();
  CheckedLibrary.Close();
  if (!RunFolder.empty()) RemoveTree(RunFolder);
}

void EndProgramNow() {
  RemoveRunFolder();
  ExitProcess(0);
}
