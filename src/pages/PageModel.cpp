#include "pages/PageModel.h"

#include <span>
#include <utility>

#include "state/WizardState.h"

namespace {

enum class PackageKind { Any, Ordinary, ExtractOnly };

struct Transition {
  int32_t page;
  PackageKind when;
  PageMove move;
};

// Next, by page. The install action itself decides where it ends (page 4, or back to 2).
constexpr Transition kNextTable[] = {
    {kWelcomePage,
     PackageKind::Ordinary,
     {.pageAfter = kFolderPage, .header = HeaderChange::FolderPage, .folder = FolderFill::InstallFolderAndTitle}},
    // The folder page is skipped: unpack at once into the folder named after the description.
    {kWelcomePage,
     PackageKind::ExtractOnly,
     {.folder = FolderFill::InstallFolderAndDescription, .action = WizardAction::RunInstallAction}},
    {kFolderPage, PackageKind::Any, {.action = WizardAction::RunInstallAction}},
    // Back from the finish page does not undo the extraction; Next returns without redoing it.
    {kExtractionPage,
     PackageKind::Any,
     {.pageAfter = kFinishPage, .header = HeaderChange::FinishPage, .caption = CaptionChange::Finish}},
    {kFinishPage, PackageKind::Ordinary, {.action = WizardAction::RunFinishActions}},
    {kFinishPage, PackageKind::ExtractOnly, {.action = WizardAction::PostClose}},
};

// Back, by page. Back to the welcome page leaves the header texts as they are.
constexpr Transition kBackTable[] = {
    {kFolderPage, PackageKind::Any, {.pageAfter = kWelcomePage}},
    {kExtractionPage, PackageKind::Any, {.pageAfter = kFolderPage, .header = HeaderChange::FolderPage}},
    {kFinishPage,
     PackageKind::Any,
     {.pageAfter = kExtractionPage, .header = HeaderChange::ExtractionPage, .caption = CaptionChange::Next}},
};

bool Applies(PackageKind when, bool extractOnly) {
  switch (when) {
    case PackageKind::Ordinary: return !extractOnly;
    case PackageKind::ExtractOnly: return extractOnly;
    case PackageKind::Any: break;
  }
  return true;
}

// Pages without a row (the download page, Back on the welcome page) do nothing.
PageMove Lookup(std::span<const Transition> table, int32_t page, const PackageInfo& package) {
  const bool extractOnly = IsExtractOnly(package);
  for (const Transition& row : table) {
    if (row.page == page && Applies(row.when, extractOnly)) return row.move;
  }
  return {};
}

std::string Quoted(std::string_view before, std::string_view title, std::string_view after) {
  return std::string(before) + "“" + std::string(title) + "”" + std::string(after);
}

}  // namespace

HeaderTexts HeaderFor(HeaderChange change, const PackageInfo& package) {
  switch (change) {
    case HeaderChange::FolderPage: return FolderPageHeader(package);
    case HeaderChange::ExtractionPage: return ExtractionPageHeader(package);
    case HeaderChange::FinishPage: return FinishPageHeader(package);
    case HeaderChange::Keep: break;
  }
  return {};
}

HeaderTexts FolderPageHeader(const PackageInfo& package) {
  return {"选择安装位置", Quoted("选择", package.PackageTitle, "的安装文件夹")};
}

HeaderTexts ExtractionPageHeader(const PackageInfo& package) {
  return {"解压缩文件", Quoted("解压", package.PackageTitle, "的安装包")};
}

HeaderTexts FinishPageHeader(const PackageInfo& package) {
  return {IsExtractOnly(package) ? "安装完成" : "安装选项", Quoted("感谢你使用", package.PackageTitle, "")};
}

PageMove NextMove(int32_t page, const PackageInfo& package) { return Lookup(kNextTable, page, package); }

PageMove BackMove(int32_t page, const PackageInfo& package) { return Lookup(kBackTable, page, package); }

// Cancel only asks to close; the close confirmation decides whether Form1 goes.
PageMove CancelMove() { return {.action = WizardAction::PostClose}; }

bool ApplyPageMove(const PageMove& move, const PackageInfo& package) {
  if (move.header != HeaderChange::Keep) {
    HeaderTexts header = HeaderFor(move.header, package);
    PageTitle = std::move(header.title);
    PageSubtitle = std::move(header.subtitle);
  }
  if (move.pageAfter == kPageUnchanged) return false;
  CurrentPage = move.pageAfter;
  return true;
}

std::string FolderFillText(FolderFill fill, std::string_view installFolder, const PackageInfo& package) {
  switch (fill) {
    case FolderFill::InstallFolderAndTitle: return std::string(installFolder) + package.PackageTitle;
    case FolderFill::InstallFolderAndDescription: return std::string(installFolder) + package.PackageDescription;
    case FolderFill::Keep: break;
  }
  return {};
}

const char* CaptionText(CaptionChange change) {
  switch (change) {
    case CaptionChange::Next: return kNextCaption;
    case CaptionChange::Finish: return kFinishCaption;
    case CaptionChange::Keep: break;
  }
  return nullptr;
}
