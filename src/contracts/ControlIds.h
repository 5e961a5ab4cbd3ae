#pragma once

// Form1's controls by ID; creation order is also the Tab order.
inline constexpr int kProgressHintId = 1000;
inline constexpr int kLaunchCheckId = 1001;
inline constexpr int kShortcutCheckId = 1002;
inline constexpr int kBrowseButtonId = 1003;
inline constexpr int kFolderGroupId = 1004;
inline constexpr int kFolderEditId = 1005;
inline constexpr int kProgressBarId = 1006;
inline constexpr int kBackButtonId = 1007;
inline constexpr int kCancelButtonId = 2;
inline constexpr int kNextButtonId = 1008;
