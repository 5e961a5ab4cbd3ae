#include "forms/Form1Controls.h"

namespace {

constexpr char kControlFont[] = "微软雅黑,9,0";

}  // namespace

const std::array<ControlRow, 10> kForm1Controls{{
    {kProgressHintId, "Static", "进度条提示", kHintLabelStyle, 0, 12, 198, 400, 14, kControlFont,
     ControlColours::TextOnButtonFace, InitialState::None},
    {kLaunchCheckId, "Button", "完成后立即启动软件", kCheckBoxStyle, 0, 31, 99, 134, 18, kControlFont,
     ControlColours::TextOnButtonFace, InitialState::Checked},
    {kShortcutCheckId, "Button", "在桌面添加快捷方式", kCheckBoxStyle, 0, 31, 126, 149, 13, kControlFont,
     ControlColours::TextOnButtonFace, InitialState::Checked},
    {kBrowseButtonId, "Button", "浏览(&B).....", kHiddenButtonStyle, 0, 324, 203, 95, 25, kControlFont,
     ControlColours::Off, InitialState::None},
    {kFolderGroupId, "Button", "选择目标文件夹", kGroupBoxStyle, kExTransparent, 10, 151, 424, 88, kControlFont,
     ControlColours::TextOnButtonFace, InitialState::None},
    {kFolderEditId, "Edit", "", kEditStyle, 0, 23, 175, 396, 21, kControlFont, ControlColours::TextOnWindow,
     InitialState::UnlimitedText},
    {kProgressBarId, "MSCTLS_PROGRESS32", "", kProgressStyle, kExClientEdge, 11, 215, 421, 24, "", ControlColours::Off,
     InitialState::ProgressAt80},
    {kBackButtonId, "Button", "上一步", kVisibleButtonStyle, 0, 217, 256, 63, 24, kControlFont, ControlColours::Off,
     InitialState::None},
    {kCancelButtonId, "Button", "取消", kVisibleButtonStyle, 0, 367, 256, 63, 24, kControlFont, ControlColours::Off,
     InitialState::None},
    {kNextButtonId, "Button", "下一步", kVisibleButtonStyle, 0, 293, 256, 63, 24, kControlFont, ControlColours::Off,
     InitialState::None},
}};

ScreenPoint CentredOrigin(int screenWidth, int screenHeight, int width, int height) {
  return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}
