#include "wizard/PageTexts.h"

#include "pages/PageModel.h"

namespace {

enum class TextGroup : uint8_t { HeaderBand, Welcome, Folder, Extraction, FinishOrdinary, FinishExtractOnly };

struct GroupedText {
  TextGroup group;
  PageText text;
};

constexpr FontFace kYaHei = FontFace::YaHei;
constexpr FontFace kSong = FontFace::Song;
constexpr FontFace kHei = FontFace::Hei;

// Weight 1 on the "宋体" texts is what they request, not a typo for 100 or 400.
// Colours are those the texts appear in, including the ones drawn in whatever colour the
// previous text left in the DC.
constexpr GroupedText kPageTexts[] = {
    {TextGroup::HeaderBand, {TextSource::SiteText, nullptr, 12, 242, 0, kYaHei, 9, 400, kShadowColour}},
    {TextGroup::HeaderBand, {TextSource::PageTitle, nullptr, 13, 7, 0, kHei, 14, 700, kBlack}},
    {TextGroup::HeaderBand, {TextSource::PageSubtitle, nullptr, 22, 33, 0, kYaHei, 9, 400, kBlack}},

    {TextGroup::Welcome,
     {TextSource::Fixed, "欢迎您使用岚舟软件，即将安装以下软件。", 123, 20, 0, kSong, 12, 1, kBlack}},
    {TextGroup::Welcome, {TextSource::Fixed, "欢迎安装岚舟工作室制作的软件", 14, 258, 0, kYaHei, 12, 400, kPurple}},
    {TextGroup::Welcome, {TextSource::Fixed, "岚舟软件", 145, 218, 0, kSong, 16, 700, kLeafGreen}},
    {TextGroup::Welcome, {TextSource::Fixed, "绝对保证无毒无害无污染", 238, 224, 0, kYaHei, 12, 400, kRed}},
    {TextGroup::Welcome, {TextSource::Fixed, "单击 【下一步(&H)】 继续。", 281, 180, 0, kYaHei, 9, 400, kBlack}},
    {TextGroup::Welcome,
     {TextSource::Fixed, "这个向导将指引你完成本软件的安装进程。", 130, 152, 0, kYaHei, 9, 400, kBlack}},
    {TextGroup::Welcome, {TextSource::DisplayName, nullptr, 120, 64, 325, kSong, 18, 1, kBlue}},
    {TextGroup::Welcome, {TextSource::VersionLine, nullptr, 120, 104, 325, kYaHei, 9, 400, kBlue}},

    {TextGroup::Folder,
     {TextSource::Fixed, "安装向导将安装软件到下列文件夹中。要安装到不同的文件夹，单击【浏览(B)】", 10, 63, 0, kYaHei,
      9, 400, kBlack}},
    {TextGroup::Folder, {TextSource::Fixed, "并选择其他文件夹。单击【下一步】", 20, 86, 0, kYaHei, 9, 400, kBlack}},
    {TextGroup::Folder,
     {TextSource::Fixed, "本软件为绿色无污染软件，安装只是复制文件到此文件夹中，并不会在其他任何地", 5, 109, 0, kYaHei,
      9, 400, kGreen}},
    {TextGroup::Folder,
     {TextSource::Fixed, "方残留东西，所以无卸载。不要时直接删除即可，重装系统后也可以直接使用。", 5, 127, 0, kYaHei, 9,
      400, kGreen}},

    {TextGroup::Extraction, {TextSource::Fixed, "正在解压缩文件到目标文件夹中...", 29, 93, 0, kYaHei, 18, 400, kBlack}},

    {TextGroup::FinishOrdinary, {TextSource::Fixed, "请选择你要执行的操作", 13, 65, 0, kYaHei, 9, 400, kBlack}},
    {TextGroup::FinishOrdinary,
     {TextSource::Fixed, "本软件无自动卸载程序，不需要时直接删除目标文件夹中所有文件即可。", 15, 189, 0, kYaHei, 9, 400,
      kBlack}},
    {TextGroup::FinishOrdinary,
     {TextSource::Fixed, "注意：如果杀毒软件提示或者拦截，请点允许通过才可以正常使用", 15, 216, 0, kYaHei, 9, 400,
      kRed}},
    {TextGroup::FinishOrdinary, {TextSource::Fixed, "岚舟软件", 300, 109, 0, kSong, 16, 1, kRed}},
    {TextGroup::FinishOrdinary, {TextSource::Fixed, "绝对保证无毒无害无污染", 253, 138, 0, kYaHei, 12, 400, kRed}},

    {TextGroup::FinishExtractOnly, {TextSource::Fixed, "岚舟软件", 150, 90, 0, kSong, 24, 1, kRed}},
    {TextGroup::FinishExtractOnly, {TextSource::Fixed, "绝对保证无毒无害无污染", 103, 138, 0, kYaHei, 16, 400, kRed}},
    {TextGroup::FinishExtractOnly,
     {TextSource::Fixed, "安装其实就是解压缩文件，不用时直接删除即可。", 15, 189, 0, kYaHei, 9, 400, kRed}},
    {TextGroup::FinishExtractOnly,
     {TextSource::Fixed, "已经完成安装工作，点击完成退出。", 230, 216, 0, kYaHei, 9, 400, kBlue}},
};

void Append(std::vector<PageText>& texts, TextGroup group) {
  for (const GroupedText& row : kPageTexts) {
    if (row.group == group) texts.push_back(row.text);
  }
}

}  // namespace

const char* FaceName(FontFace face) {
  switch (face) {
    case FontFace::Song: return "宋体";
    case FontFace::Hei: return "黑体";
    default: return "Microsoft YaHei";
  }
}

std::vector<PageText> PageTexts(int32_t page, bool extractOnly) {
  std::vector<PageText> texts;
  switch (page) {
    case kWelcomePage: Append(texts, TextGroup::Welcome); break;
    case kDownloadPage: Append(texts, TextGroup::HeaderBand); break;
    case kFolderPage:
      Append(texts, TextGroup::HeaderBand);
      Append(texts, TextGroup::Folder);
      break;
    case kExtractionPage:
      Append(texts, TextGroup::HeaderBand);
      Append(texts, TextGroup::Extraction);
      break;
    case kFinishPage:
      Append(texts, TextGroup::HeaderBand);
      Append(texts, extractOnly ? TextGroup::FinishExtractOnly : TextGroup::FinishOrdinary);
      break;
    default: break;
  }
  return texts;
}

std::string TextOf(const PageText& item, const PageTextValues& values) {
  switch (item.source) {
    case TextSource::Fixed: return item.text;
    case TextSource::SiteText: return SiteText;
    case TextSource::PageTitle: return std::string(values.pageTitle);
    case TextSource::PageSubtitle: return std::string(values.pageSubtitle);
    case TextSource::DisplayName: return std::string(values.displayName);
    case TextSource::VersionLine: return std::string(values.versionLine);
  }
  return {};
}

std::string WelcomeVersionLine(const PackageInfo& package) {
  return package.PackagePath.empty() ? std::string() : VersionLine(package);
}
