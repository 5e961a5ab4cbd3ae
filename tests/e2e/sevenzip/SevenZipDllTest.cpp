// Loads dist/7-zip32.dll and calls it through its six export names the way the installer
// does.  sevenzip_dll_tests.exe --dll=DLL_PATH --data=DATA_DIR
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Harness.h"
#include "contracts/SevenZipInterface.h"

namespace {

struct Exports {
    int(WINAPI* sevenZip)(HWND, LPCSTR, LPSTR, DWORD);
    BOOL(WINAPI* check)(LPCSTR, int);
    BOOL(WINAPI* getBackground)();
    BOOL(WINAPI* setBackground)(BOOL);
    BOOL(WINAPI* setCursor)(BOOL);
    BOOL(WINAPI* setOwner)(HWND, SevenZipCallback);
} gDll;

std::string Data(const std::string& relative) { return HarnessArgument("data") + "\\" + relative; }

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

class SevenZipDllTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const HMODULE library = LoadLibraryA(HarnessArgument("dll").c_str());
        ASSERT_NE(library, nullptr) << HarnessArgument("dll");
        const auto bind = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::decay_t<decltype(function)>>(
                reinterpret_cast<void*>(GetProcAddress(library, name)));
        };
        bind(gDll.sevenZip, "SevenZip");
        bind(gDll.check, "SevenZipCheckArchive");
        bind(gDll.getBackground, "SevenZipGetBackGroundMode");
        bind(gDll.setBackground, "SevenZipSetBackGroundMode");
        bind(gDll.setCursor, "SevenZipSetCursorMode");
        bind(gDll.setOwner, "SevenZipSetOwnerWindowEx");
    }

    void SetUp() override {
        ASSERT_TRUE(gDll.sevenZip && gDll.check && gDll.getBackground && gDll.setBackground && gDll.setCursor && gDll.setOwner);
        gCalls.clear();
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

// Unpacking with the caller's window as owner: a message posted to it is dispatched before
// the first callback, and every entry is reported.
TEST_F(SevenZipDllTest, ReportsEveryEntryAndKeepsDispatchingTheCallersMessages) {
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
    const std::string package = Data("package.7z");
    ASSERT_NE(gDll.check(package.c_str(), 0), 0);
    ASSERT_EQ(ExtractLikeTheInstaller(package, window), 0);
    DestroyWindow(window);
    EXPECT_TRUE(gPostedBeforeFirstCallback);
    const size_t entries = TreeOf(Data("tree")).size();
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
            const std::string path = target_ + "\\" + c.name;
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
