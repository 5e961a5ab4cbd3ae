#pragma once

#include <windows.h>

#include <string>

// The Browse button's click handler (arguments as for every click handler); returns 0.
int OnBrowseClicked(int senderIndex, HWND form, HWND sender, int controlId);

// The shell's folder picker, opened on initialFolder; the chosen folder's path, or empty
// text when cancelled or when the choice has no file-system path.
std::string BrowseForFolder(HWND owner, const std::string& title, const std::string& initialFolder);
