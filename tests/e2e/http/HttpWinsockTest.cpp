// HttpDownload over WinSock on its worker thread, reporting through the window sink.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "state/DownloadState.h"
#include "retrieval/http/HttpDownload.h"
#include "retrieval/http/HttpProgressWin32.h"

namespace {

std::string gHostsDir;  // the served folder, as a Windows path

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TempPath(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

// Runs the download on its own thread, as the installer does, and gathers the progress
// messages it posts to a message-only window.
struct ThreadedDownload {
  explicit ThreadedDownload(const std::string& url, const std::string& output) {
    window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    WindowProgressSink sink(window);
    request.url = url;
    request.outputPath = output;
    request.progress = &sink;
    request.settings.silenceLimitMs = 10000;
    HANDLE thread = CreateThread(nullptr, 0, HttpDownloadThread, &request, 0, nullptr);
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) Drain();
    CloseHandle(thread);
    Drain();
    DestroyWindow(window);
  }

  void Drain() {
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
      if (message.message == kDownloadProgressMessage) {
        lastWritten = message.wParam;
        lastTotal = message.lParam;
        ++progressMessages;
      }
    }
  }

  HWND window;
  DownloadRequest request;
  int progressMessages = 0;
  WPARAM lastWritten = 0;
  LPARAM lastTotal = 0;
};

TEST(HttpWinsock, FetchesFromHostOne) {
  const std::string expected = ReadWholeFile(gHostsDir + "\\sample.bin");
  const std::string output = TempPath("sample.bin.tmp");
  ThreadedDownload download("http://127.0.0.2/dowfile/sample.bin", output);
  EXPECT_EQ(download.request.result, static_cast<int64_t>(expected.size()));
  EXPECT_EQ(ReadWholeFile(output), expected);
  ASSERT_GE(download.progressMessages, 1);
  EXPECT_EQ(download.lastTotal, static_cast<LPARAM>(expected.size()));
  EXPECT_EQ(DownloadState.load(), kDownloadIdle);
  DeleteFileA(output.c_str());
}

TEST(HttpWinsock, FollowsAnAbsoluteRedirectAndResumesAfterAReset) {
  const std::string expected = ReadWholeFile(gHostsDir + "\\sample.bin");
  const std::string output = TempPath("moved.bin.tmp");
  ThreadedDownload download("http://127.0.0.2/a/sample.bin?redirect=absolute&to=127.0.0.3&reset=20000", output);
  EXPECT_EQ(download.request.result, static_cast<int64_t>(expected.size()));
  EXPECT_EQ(ReadWholeFile(output), expected);
  DeleteFileA(output.c_str());
}

TEST(HttpWinsock, FailuresLeaveNoFile) {
  const std::string output = TempPath("failed.bin.tmp");
  {
    ThreadedDownload download("http://127.0.0.2/dowfile/sample.bin?status=404", output);
    EXPECT_EQ(download.request.result, 0);
    EXPECT_EQ(download.request.errorText, "");
  }
  {
    // Nothing listens on 127.0.0.4.
    ThreadedDownload download("http://127.0.0.4/dowfile/sample.bin", output);
    EXPECT_EQ(download.request.result, 7);
    EXPECT_EQ(download.request.errorText, " 连接到主机出错:10061\r\n可能被杀毒软件拦截了");
  }
  EXPECT_EQ(GetFileAttributesA(output.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: HttpWinsockTest <served folder>\n");
    return 2;
  }
  // Wine maps drive Z: to the Unix root.
  gHostsDir = std::string("Z:") + argv[1];
  for (char& c : gHostsDir) {
    if (c == '/') c = '\\';
  }
  return RUN_ALL_TESTS();
}
