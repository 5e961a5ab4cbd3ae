#pragma once

// The end-to-end harness: starting a program under test with its own environment, finding
// and driving its windows as an accessibility tool would, capturing pixels, files and
// folders, the test program's arguments, and steering the test download host.

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "contracts/ControlIds.h"  // Form1's control IDs, for the suites

// A program under test, started as a child with environment variables of the test's
// choosing. Whatever is still running is terminated when the object goes.
class InstallerProcess {
 public:
  InstallerProcess() = default;
  InstallerProcess(const InstallerProcess&) = delete;
  InstallerProcess& operator=(const InstallerProcess&) = delete;
  ~InstallerProcess() { Terminate(); }

  // Starts program in its own folder with the parent's environment, after setting the
  // overrides (name, value) in it: they stay set in this process.
  bool Start(const std::string& program, const std::vector<std::pair<std::string, std::string>>& overrides);

  DWORD Id() const { return id_; }
  bool IsRunning() const;

  // The exit code once the process has ended within milliseconds, else nothing.
  std::optional<DWORD> WaitForExit(int milliseconds) const;

  void Terminate();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Finding and driving the windows of a program under test, as an accessibility tool would.

// A visible top-level window of process id, of any class, or null.
HWND FirstVisibleWindow(DWORD processId);

// Form1 of process id once it is visible, or null after milliseconds.
HWND WaitForForm1(DWORD processId, int milliseconds);

// Every window below parent, children's children too.
std::vector<HWND> ChildWindows(HWND parent);

std::string WindowText(HWND window);

// Sets an edit box's text as typing would leave it (WM_SETTEXT, which crosses processes).
void TypeText(HWND edit, const std::string& text);

// Posted, so a handler that opens a modal box does not block the test.
void Click(HWND button);
void PressKey(HWND window, WPARAM virtualKey);

struct MessageBoxInfo {
  HWND window = nullptr;
  std::string title;
  std::string text;
  std::vector<int> buttons;  // the IDs of its buttons
};

// The visible message boxes (#32770) of a process.
std::vector<MessageBoxInfo> FindMessageBoxes(DWORD processId);
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, int milliseconds);
void PressMessageBoxButton(const MessageBoxInfo& box, int buttonId);

// Waits until condition() holds, checking every 50 ms; false once milliseconds have passed
// on the clock (a slow condition check does not stretch the wait).
template <typename Condition>
bool WaitUntil(Condition condition, int milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
}

// Pixels of a window's client area as shown on the screen, 0x00RRGGBB, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;

  // 0xFFFFFFFF (no colour) outside the area, so a check off the edge fails instead of crashing.
  uint32_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
    return rgb[static_cast<std::size_t>(y) * width + x];
  }
};

// The screen's dots per inch (96 at 100 %, 120 at 125 %).
int ScreenDpi();

// Copies the client area from the screen (Form1 is topmost; under Xvfb no window manager
// draws over it).
Pixels CaptureClientArea(HWND window);

// 0x00RRGGBB of a COLORREF.
uint32_t RgbOf(COLORREF colour);

// A PNG file written by GDI+.
bool SavePng(const Pixels& pixels, const std::string& path);

// Files, folders and arguments of a test program running under Wine.

// "/a/b" becomes "Z:\a\b" (Wine maps Z: to /); anything else is returned unchanged.
std::string WindowsPathFromUnix(const std::string& path);

// The value of --name=... given to the test program (a Unix path made a Windows one), or
// empty text.
std::string HarnessArgument(const std::string& name);

// An empty folder scratch\<name> beside the test program, made anew; no trailing "\".
std::string FreshFolder(const std::string& name);

// Makes the folder and every missing folder above it.
void MakeFolders(const std::string& folder);

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);

// The whole file, or empty text when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Writes the bytes as the whole file; false when it cannot be written.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// The path of name in the folder of its own that an installer run made in tempFolder (the
// first one found); empty text while there is none.
std::string RunFileIn(const std::string& tempFolder, const std::string& name);

// Every entry below folder by its relative name in UTF-8, at any depth: files map to their
// bytes, folders (named with a trailing "\") to nothing.
std::map<std::string, std::string> TreeOf(const std::string& folder);

// The same names below both folders and the same bytes in each file (a failure names them).
void ExpectSameTree(const std::string& expected, const std::string& actual);

// Sets how the test download host answers the following requests, as
// GET /__control?<options> (see tests/servers/HostBehaviour.h); empty options restore the
// plain file server. Both host addresses share the setting unless host=<address> names one.
// True when the host accepted it.
bool SteerTestHost(const std::string& options);
