#include "wizard/InstallSteps.h"

PageMove BareDriveMove() { return {.folder = FolderFill::InstallFolderAndTitle}; }

PageMove ButtonsDisabledMove() { return {.buttons = ButtonChange::Disable}; }

// The buttons stay disabled through the pause; the extraction's end enables them.
PageMove ProgramsStoppedMove() { return {.pageAfter = kExtractionPage}; }

PageMove ExtractionPageMove() { return {.pageAfter = kExtractionPage, .header = HeaderChange::ExtractionPage}; }

PageMove ReturnToFolderPageMove() {
  return {.pageAfter = kFolderPage, .header = HeaderChange::FolderPage, .buttons = ButtonChange::Enable};
}

PageMove ExtractionDoneMove() {
  return {.pageAfter = kFinishPage,
          .header = HeaderChange::FinishPage,
          .caption = CaptionChange::Finish,
          .buttons = ButtonChange::Enable};
}
