#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "contracts/PackageInfo.h"
#include "state/WizardState.h"

struct HeaderTexts {
  std::string title;
  std::string subtitle;
};

HeaderTexts FolderPageHeader(const PackageInfo& package);
HeaderTexts ExtractionPageHeader(const PackageInfo& package);
HeaderTexts FinishPageHeader(const PackageInfo& package);

constexpr const char* kNextCaption = "下一步";
constexpr const char* kFinishCaption = "完成";

// What a move sets; Keep leaves the current value.
enum class HeaderChange : uint8_t { Keep, FolderPage, ExtractionPage, FinishPage };
enum class CaptionChange : uint8_t { Keep, Next, Finish };
enum class FolderFill : uint8_t { Keep, InstallFolderAndTitle, InstallFolderAndDescription };
enum class ButtonChange : uint8_t { Keep, Disable, Enable };  // Next, Cancel, Back and Browse together

// Work the Win32 layer carries out after the page state is updated.
enum class WizardAction : uint8_t { None, RunInstallAction, RunFinishActions, PostClose };

constexpr int32_t kPageUnchanged = -1;

struct PageMove {
  int32_t pageAfter = kPageUnchanged;
  HeaderChange header = HeaderChange::Keep;
  CaptionChange caption = CaptionChange::Keep;
  FolderFill folder = FolderFill::Keep;
  ButtonChange buttons = ButtonChange::Keep;
  WizardAction action = WizardAction::None;
};

// A file is being fetched: the download page, whose header texts the fetch sets itself.
inline constexpr PageMove kDownloadPageMove{.pageAfter = kDownloadPage};
// The package is here and checked: the welcome page.
inline constexpr PageMove kWelcomePageMove{.pageAfter = kWelcomePage};
// The install action's moves, in the order it reaches them.
// A bare drive was typed: offer the default folder instead; the page stays.
inline constexpr PageMove kBareDriveMove{.folder = FolderFill::InstallFolderAndTitle};
// Nothing may be pressed while programs are stopped and while the archive library unpacks.
inline constexpr PageMove kButtonsDisabledMove{.buttons = ButtonChange::Disable};
// Running programs were stopped: the extraction page (header texts unchanged) for the pause;
// the buttons stay disabled through it, the extraction's end enables them.
inline constexpr PageMove kProgramsStoppedMove{.pageAfter = kExtractionPage};
// Before and after the library is fetched (a download shows page 0 meanwhile).
inline constexpr PageMove kExtractionPageMove{.pageAfter = kExtractionPage, .header = HeaderChange::ExtractionPage};
// The folder could not be created, or extraction failed: back on the folder page with every
// button usable (Browse too), so another folder can be chosen.
inline constexpr PageMove kReturnToFolderPageMove{
    .pageAfter = kFolderPage, .header = HeaderChange::FolderPage, .buttons = ButtonChange::Enable};
inline constexpr PageMove kExtractionDoneMove{.pageAfter = kFinishPage,
                                              .header = HeaderChange::FinishPage,
                                              .caption = CaptionChange::Finish,
                                              .buttons = ButtonChange::Enable};

// The header texts a change asks for; empty for Keep.
HeaderTexts HeaderFor(HeaderChange change, const PackageInfo& package);

PageMove NextMove(int32_t page, const PackageInfo& package);
PageMove BackMove(int32_t page, const PackageInfo& package);
PageMove CancelMove();

// Writes CurrentPage, PageTitle and PageSubtitle as the move says; true when the page was
// set, which always asks for a repaint.
bool ApplyPageMove(const PageMove& move, const PackageInfo& package);

// The folder edit box text a fill asks for; empty for Keep.
std::string FolderFillText(FolderFill fill, std::string_view installFolder, const PackageInfo& package);

// The Next caption a change asks for; null for Keep.
const char* CaptionText(CaptionChange change);
