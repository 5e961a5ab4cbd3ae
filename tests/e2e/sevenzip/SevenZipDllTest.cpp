// Loads dist/7-zip32.dll and calls it through its six export names the way the installer
// does.  sevenzip_dll_tests.exe DLL_PATH DATA_DIR  (Unix paths; Wine maps them under Z:)
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

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

std::string gDllPath;
std::string gDataDir;  // ends with "\"

std::string WindowsPath(const std::string& unixPath) {
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

std::string Ansi(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), s.data(), size, nullptr, nullptr);
    return s;
}

fs::path FromAnsi(const std::string& text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), int(text.size()), nullptr, 0);
    std::wstring w(size_t(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), int(text.size()), w.data(), size);
    return fs::path(w);
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Each path below root mapped to its bytes; folders map to "<folder>".
std::map<fs::path, std::string> TreeOf(const fs::path& root) {
    std::map<fs::path, std::string> tree;
    for (const auto& e : fs::recursive_directory_iterator(root))
        tree[fs::relative(e.path(), root)] = e.is_directory() ? "<folder>" : ReadAll(e.path());
    return tree;
}

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
        library_ = LoadLibraryA(gDllPath.c_str());
        ASSERT_NE(library_, nullptr) << gDllPath;
        sevenZip_ = Export<SevenZipFn>(library_, "SevenZip");
        check_ = Export<CheckArchiveFn>(library_, "SevenZipCheckArchive");
        getBackground_ = Export<GetBackGroundModeFn>(library_, "SevenZipGetBackGroundMode");
        setBackground_ = Export<SetModeFn>(library_, "SevenZipSetBackGroundMode");
        setCursor_ = Export<SetModeFn>(library_, "SevenZipSetCursorMode");
        setOwner_ = Export<SetOwnerWindowExFn>(library_, "SevenZipSetOwnerWindowEx");
    }

    void SetUp() override {
        ASSERT_TRUE(sevenZip_ && check_ && getBackground_ && setBackground_ && setCursor_ && setOwner_);
        gCalls.clear();
        gPostedMessageSeen = gPostedBeforeFirstCallback = false;
        target_ = gDataDir + "解压目标 " + testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        fs::remove_all(FromAnsi(target_));
        fs::create_directories(FromAnsi(target_));
    }

    // The installer's calls: owner window and callback, then the command it builds.
    int ExtractLikeTheInstaller(const std::string& archive, HWND owner = nullptr) {
        if (getBackground_()) {
            setBackground_(FALSE);
            setCursor_(FALSE);
        }
        setOwner_(owner, RecordingCallback);
        std::string command = "x \"" + archive + "\" -hide -y \"" + target_ + "\" *";
        char output[1] = {'?'};
        return sevenZip_(nullptr, command.c_str(), output, 0);
    }

    static HMODULE library_;
    static SevenZipFn sevenZip_;
    static CheckArchiveFn check_;
    static GetBackGroundModeFn getBackground_;
    static SetModeFn setBackground_, setCursor_;
    static SetOwnerWindowExFn setOwner_;
    std::string target_;
};

HMODULE SevenZipDllTest::library_;
SevenZipFn SevenZipDllTest::sevenZip_;
CheckArchiveFn SevenZipDllTest::check_;
GetBackGroundModeFn SevenZipDllTest::getBackground_;
SetModeFn SevenZipDllTest::setBackground_;
SetModeFn SevenZipDllTest::setCursor_;
SetOwnerWindowExFn SevenZipDllTest::setOwner_;

// Each archive of the corpus, one per coder, unpacks through the exports to what 7z x made.
TEST_F(SevenZipDllTest, UnpacksEveryCoderLikeSevenZip) {
    std::ifstream list(FromAnsi(gDataDir + "corpus.txt"));
    size_t rows = 0;
    for (std::string name; std::getline(list, name); ++rows) {
        SCOPED_TRACE(name);
        std::string archive = gDataDir + "corpus\\" + name + ".7z";
        EXPECT_NE(check_(archive.c_str(), 0), 0);
        fs::remove_all(FromAnsi(target_));
        ASSERT_EQ(ExtractLikeTheInstaller(archive), 0);
        auto expected = TreeOf(FromAnsi(gDataDir + "expected\\" + name)), unpacked = TreeOf(FromAnsi(target_));
        EXPECT_EQ(unpacked.size(), expected.size());
        for (const auto& [path, bytes] : expected) {
            auto found = unpacked.find(path);
            EXPECT_TRUE(found != unpacked.end() && found->second == bytes) << Ansi(path.wstring());
        }
    }
    EXPECT_GE(rows, 4u);
}

TEST_F(SevenZipDllTest, ReportsEveryEntryToTheCallback) {
    std::string package = gDataDir + "package.7z";
    ASSERT_NE(check_(package.c_str(), 0), 0);
    ASSERT_EQ(ExtractLikeTheInstaller(package), 0);
    fs::path target = FromAnsi(target_);
    size_t entries = TreeOf(FromAnsi(gDataDir + "tree")).size();
    EXPECT_EQ(entries, 9u);

    // Every entry starts with state 0; state 1 follows while it is written, up to its size.
    size_t starts = 0;
    for (size_t i = 0; i < gCalls.size(); ++i) {
        const CallbackCall& c = gCalls[i];
        if (c.state == 0) {
            ++starts;
            EXPECT_EQ(c.written, 0u);
            EXPECT_TRUE(fs::exists(target / FromAnsi(c.name))) << c.name;
            continue;
        }
        ASSERT_EQ(c.state, 1u);
        EXPECT_EQ(c.name, gCalls[i - 1].name);
        EXPECT_GT(c.written, gCalls[i - 1].written);
        bool last = i + 1 == gCalls.size() || gCalls[i + 1].state == 0;
        if (last) {
            EXPECT_EQ(c.written, c.size) << c.name;
        }
    }
    EXPECT_EQ(starts, entries);
    bool sawChineseName = false;
    for (const auto& c : gCalls) sawChineseName |= c.name == "文档\\说明 文件.txt";
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
    EXPECT_EQ(ExtractLikeTheInstaller(gDataDir + "package.7z", window), 0);
    EXPECT_TRUE(gPostedBeforeFirstCallback);
    DestroyWindow(window);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: sevenzip_dll_tests DLL_PATH DATA_DIR\n");
        return 2;
    }
    gDllPath = WindowsPath(argv[1]);
    gDataDir = WindowsPath(argv[2]) + "\\";
    return RUN_ALL_TESTS();
}
