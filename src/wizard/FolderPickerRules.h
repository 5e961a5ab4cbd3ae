#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// File-system folders only, in the resizable dialog with an edit field (the flags by name in
// FolderPickerWin32.cpp).
constexpr uint32_t kFolderPickerFlags = 0x5B;

std::string FolderPickerTitle(std::string_view displayName);

// What the picker's callback does for a message (BFFM_INITIALIZED 1, BFFM_SELCHANGED 2).
enum class PickerReply {
  Nothing,
  SelectInitialFolder,  // open on the edit box's text as typed, existing or not
  DisableOk,
};

// selectionPath: the new selection's file-system path, empty when it has none.
PickerReply PickerCallbackReply(uint32_t message, std::string_view selectionPath);

// OK only for a drive-letter path: network paths and virtual items are refused.
bool PickerAllowsOk(std::string_view path);
