// Loads dist/7-zip32.dll and calls it through its six export names the way the installer
// does.  sevenzip_dll_tests.exe --dll=DLL_PATH --data=DATA_DIR
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace {

using ArchiverCallback = BOOL(WINAPI*)(HWND, UINT, UINT, LPVOID);
using SevenZipFn = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);
using CheckArchiveFn = BOOL(WINAPI*)(LPCSTR, int);
using GetBackGroundModeFn = BOOL(WINAPI*)();
using SetModeFn = BOOL(WINAPI*)(BOOL);
using SetOwnerWindowExFn = BOOL(WINAPI*)(HWND, ArchiverCallback);

template <typename Fn>
Fn Export(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

struct Exports {
    SevenZipFn sevenZip;
    CheckArchiveFn check;
    GetBackGroundModeFn getBackground;
    SetModeFn setBackground, setCursor;
    SetOwnerWindowExFn setOwner;
} gDll;

std::string Data(const std::string& relative) { return HarnessArgument("data") + "\\" + relative; }

struct CallbackCall {
    UINT state;
    uint32_t size;
    uint32_t written;
    std::string name;
};

std::vector<CallbackCall> gCalls;
bool gPostedMessageSeen = false;
bool gPostedBeforeFirstCallback = false;

BOOL WINAPI RecordingCallback(HWND, UINT, UINT state, LPVOID record) {
    // Copy the first 1080 bytes first, as the installer does.
    unsigned char copy[1080];
    std::memcpy(copy, record, sizeof copy);
    CallbackCall call{state, 0, 0, std::string(reinterpret_cast<char*>(copy + 8), strnlen(reinterpret_cast<char*>(copy + 8), 513))};
    std::memcpy(&call.size, copy, 4);
    std::memcpy(&call.written, copy + 4, 4);
    if (gCalls.empty()) gPostedBeforeFirstCallback = gPostedMessageSeen;
    gCalls.push_back(call);
    return TRUE;
}

constexpr UINT kProbeMessage = WM_APP + 7;

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbeMessage) {
        gPostedMessageSeen = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class SevenZipDllTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const HMODULE library = LoadLibraryA(HarnessArgument("dll").c_str());
        ASSERT_NE(library, nullptr) << HarnessArgument("dll");
        gDll = {Export<SevenZipFn>(library, "SevenZip"), Export<CheckArchiveFn>(library, "SevenZipCheckArchive"),
                Export<GetBackGroundModeFn>(library, "SevenZipGetBackGroundMode"),
                Export<SetModeFn>(library, "SevenZipSetBackGroundMode"), Export<SetModeFn>(library, "SevenZipSetCursorMode"),
                Export<SetOwnerWindowExFn>(library, "SevenZipSetOwnerWindowEx")};
    }

    void SetUp() override {
        ASSERT_TRUE(gDll.sevenZip && gDll.check && gDll.getBackground && gDll.setBackground && gDll.setCursor && gDll.setOwner);
        gCalls.clear();
        gPostedMessageSeen = gPostedBeforeFirstCallback = false;
        target_ = FreshFolder(std::string("解压目标 ") + testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    // The installer's calls: owner window and callback, then the command it builds.
    int ExtractLikeTheInstaller(const std::string& archive, HWND owner = nullptr) {
        if (gDll.getBackground()) {
            gDll.setBackground(FALSE);
            gDll.setCursor(FALSE);
        }
        gDll.setOwner(owner, RecordingCallback);
        std::string command = "x \"" + archive + "\" -hide -y \"" + target_ + "\\\" *";
        char output[1] = {'?'};
        return gDll.sevenZip(nullptr, command.c_str(), output, 0);
    }

    std::string target_;  // no trailing "\"
};

// Each archive of the corpus, one per coder, unpacks through the exports to what 7z x made.
TEST_F(SevenZipDllTest, UnpacksEveryCoderLikeSevenZip) {
    std::ifstream list(Data("corpus.txt"));
    size_t rows = 0;
    for (std::string name; std::getline(list, name); ++rows) {
        SCOPED_TRACE(name);
        const std::string archive = Data("corpus\\" + name + ".7z");
        EXPECT_NE(gDll.check(archive.c_str(), 0), 0);
        RemoveTree(target_);
        ASSERT_EQ(ExtractLikeTheInstaller(archive), 0);
        ExpectSameTree(Data("expected\\" + name), target_);
    }
    EXPECT_GE(rows, 4u);
}

TEST_F(SevenZipDllTest, ReportsEveryEntryToTheCallback) {
    const std::string package = Data("package.7z");
    ASSERT_NE(gDll.check(package.c_str(), 0), 0);
    ASSERT_EQ(ExtractLikeTheInstaller(package), 0);
    const size_t entries = TreeOf(Data("tree")).size();
    EXPECT_EQ(entries, 9u);

    // Every entry starts with state 0; state 1 follows while it is written, up to its size.
    size_t starts = 0;
    bool sawChineseName = false;
    for (size_t i = 0; i < gCalls.size(); ++i) {
        const CallbackCall& c = gCalls[i];
        sawChineseName |= c.name == "文档\\说明 文件.txt";
        if (c.state == 0) {
            ++starts;
            EXPECT_EQ(c.written, 0u);
            const std::string path = target_ + "\\" + c.name;
            EXPECT_TRUE(FileExists(path) || FolderExists(path)) << c.name;
            continue;
        }
        ASSERT_EQ(c.state, 1u);
        EXPECT_EQ(c.name, gCalls[i - 1].name);
        EXPECT_GT(c.written, gCalls[i - 1].written);
        if (i + 1 == gCalls.size() || gCalls[i + 1].state == 0) {
            EXPECT_EQ(c.written, c.size) << c.name;
        }
    }
    EXPECT_EQ(starts, entries);
    EXPECT_TRUE(sawChineseName);
}

TEST_F(SevenZipDllTest, KeepsDispatchingTheCallersMessages) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProbeWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SevenZipProbe";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("SevenZipProbe", "", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, kProbeMessage, 0, 0);
    EXPECT_EQ(ExtractLikeTheInstaller(Data("package.7z"), window), 0);
    EXPECT_TRUE(gPostedBeforeFirstCallback);
    DestroyWindow(window);
}

}  // namespace
