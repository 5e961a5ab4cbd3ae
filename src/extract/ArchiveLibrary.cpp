#include "extract/ArchiveLibrary.h"

#include "extract/ExtractionTexts.h"
#include "platform/HeldFileRetry.h"
#include "state/RetrievalState.h"
#include "state/TrustState.h"
#include "platform/GbkText.h"

namespace {

HMODULE gLibraryHandle = nullptr;
ArchiveLibrary gLibrary{};

template <typename Function>
bool LookUp(Function& function, const char* name) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(gLibraryHandle, name)));
  return function != nullptr;
}

// Every export is looked up at once; a library that lacks one is not used, rather than
// calling through a null address later.
bool LookUpExports() {
#define SEVENZIP_LOOK_UP(result, name, parameters) &&LookUp(gLibrary.name, #name)
  return true SEVENZIP_EXPORTS(SEVENZIP_LOOK_UP);
#undef SEVENZIP_LOOK_UP
}

}  // namespace

const ArchiveLibrary* LoadArchiveLibrary() {
  if (!gLibraryHandle) {
    const std::string path = RunFolder + kArchiveLibraryFile;
    RetryWhileHeld([&] {
      gLibraryHandle = LoadLibraryExW(WideText(path), nullptr, 0);
      return gLibraryHandle ? FileAnswer::Done : AnswerForError(GetLastError());
    });
    if (gLibraryHandle && !LookUpExports()) ReleaseArchiveLibrary();
    // Where the library offers UTF-8, the installer's text reaches it whole under any code page.
    SevenZipSetUtf8ModeCall setUtf8Mode = nullptr;
    gLibrary.utf8Text = gLibraryHandle && LookUp(setUtf8Mode, kSevenZipUtf8ModeExport) && setUtf8Mode(TRUE);
  }
  // Once mapped, the image is the loader's; the checked file need not be held any longer.
  CheckedLibrary.Close();
  return gLibraryHandle ? &gLibrary : nullptr;
}

void ReleaseArchiveLibrary() {
  if (gLibraryHandle) FreeLibrary(gLibraryHandle);
  gLibraryHandle = nullptr;
  gLibrary = {};
}
