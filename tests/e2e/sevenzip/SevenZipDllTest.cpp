// Loads dist/7-zip32.dll and calls it through its six export names the way the installer
// does.  sevenzip_dll_tests.exe --dll=DLL_PATH --data=DATA_DIR
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Harness.h"
#include "contracts/SevenZipInterface.h"

namespace {

struct CallbackCall {
    UINT state;
    uint32_t size, written;
    std::string name;
};
std::vector<CallbackCall> gCalls;

constexpr UINT kProbeMessage = WM_APP + 7;
bool gPostedMessageSeen = false, gPostedBeforeFirstCallback = false;

BOOL WINAPI RecordingCallback(HWND, UINT, UINT state, LPVOID record) {
    SevenZipProgressRecord copy;  // all 1080 bytes copied first, as the installer does
    std::memcpy(&copy, record, sizeof copy);
    if (gCalls.empty()) gPostedBeforeFirstCallback = gPostedMessageSeen;
    gCalls.push_back({state, copy.entrySize, copy.bytesWritten,
                      std::string(copy.entryName, strnlen(copy.entryName, sizeof copy.entryName))});
    return TRUE;
}

template <typename Function>
Function Export(HMODULE library, const char* name) {
    const auto bound = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    EXPECT_NE(bound, nullptr) << name;
    return bound;
}

// The installer's calls, by export name, with the caller's window as owner: the packed tree
// comes out (every coder is the native oracle suite's), a message posted to the window is
// dispatched before the first callback, and every entry is reported.
TEST(SevenZipDllTest, UnpacksReportingEveryEntryAndKeepsDispatchingTheCallersMessages) {
    const HMODULE library = LoadLibraryA(HarnessArgument("dll").c_str());
    ASSERT_NE(library, nullptr) << HarnessArgument("dll");
    const auto sevenZip = Export<int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD)>(library, "SevenZip");
    const auto check = Export<BOOL(WINAPI*)(LPCSTR, int)>(library, "SevenZipCheckArchive");
    const auto getBackground = Export<BOOL(WINAPI*)()>(library, "SevenZipGetBackGroundMode");
    const auto setBackground = Export<BOOL(WINAPI*)(BOOL)>(library, "SevenZipSetBackGroundMode");
    const auto setCursor = Export<BOOL(WINAPI*)(BOOL)>(library, "SevenZipSetCursorMode");
    const auto setOwner = Export<BOOL(WINAPI*)(HWND, SevenZipCallback)>(library, "SevenZipSetOwnerWindowEx");
    ASSERT_FALSE(HasFailure());

    WNDCLASSA wc = {};
    wc.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) WINAPI -> LRESULT {
        gPostedMessageSeen |= message == kProbeMessage;
        return DefWindowProcA(window, message, wParam, lParam);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SevenZipProbe";
    RegisterClassA(&wc);
    const HWND window = CreateWindowA("SevenZipProbe", "", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, kProbeMessage, 0, 0);
    const std::string data = HarnessArgument("data"), package = data + "\\package.7z";
    const std::string target = FreshFolder("解压 目标");  // a space to quote; no trailing "\"
    ASSERT_NE(check(package.c_str(), 0), 0);
    if (getBackground()) {
        setBackground(FALSE);
        setCursor(FALSE);
    }
    setOwner(window, RecordingCallback);
    const std::string command = "x \"" + package + "\" -hide -y \"" + target + "\\\" *";
    char output[1] = {'?'};
    ASSERT_EQ(sevenZip(nullptr, command.c_str(), output, 0), 0);
    DestroyWindow(window);
    EXPECT_TRUE(gPostedBeforeFirstCallback);
    ExpectSameTree(data + "\\tree", target);
    const size_t entries = TreeOf(data + "\\tree").size();
    EXPECT_EQ(entries, 9u);

    // Every entry starts with state 0; state 1 follows while it is written, up to its size.
    size_t starts = 0;
    bool sawChineseName = false;
    for (size_t i = 0; i < gCalls.size(); ++i) {
        const CallbackCall& c = gCalls[i];
        sawChineseName |= c.name == "文档\\说明 文件.txt";
        if (c.state == kSevenZipEntryStart) {
            ++starts;
            EXPECT_EQ(c.written, 0u);
            const std::string path = target + "\\" + c.name;
            EXPECT_TRUE(FileExists(path) || FolderExists(path)) << c.name;
            continue;
        }
        ASSERT_EQ(c.state, kSevenZipEntryWriting);
        EXPECT_EQ(c.name, gCalls[i - 1].name);
        EXPECT_GT(c.written, gCalls[i - 1].written);
        const bool last = i + 1 == gCalls.size() || gCalls[i + 1].state == kSevenZipEntryStart;
        EXPECT_TRUE(!last || c.written == c.size) << c.name << " ends at " << c.written << " of " << c.size;
    }
    EXPECT_EQ(starts, entries);
    EXPECT_TRUE(sawChineseName);
}

}  // namespace
