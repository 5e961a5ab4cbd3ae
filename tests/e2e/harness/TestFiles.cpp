#include "Harness.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/GbkText.h"

namespace {

// Paths are GBK, as the suites' literals and the installer's texts, whatever the code page.
// Trees are walked through the wide calls in the "\\?\" form: names in any script, paths
// longer than MAX_PATH. Names come back as UTF-8.

std::string Utf8Text(const std::wstring& wide) {
  std::string text(wide.size() * 3, '\0');
  text.resize(
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), int(text.size()), nullptr, nullptr));
  return text;
}

std::wstring LongPath(const std::string& gbkPath) { return L"\\\\?\\" + std::wstring(WideText(gbkPath)); }

// visit(name, isFolder) for each entry of the folder but "." and "..".
template <typename Visit>
void ForEachEntry(const std::wstring& folder, Visit visit) {
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") visit(name, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
}

std::string ReadWholeFile(const std::wstring& path) {
  // Full sharing, so that a file the installer holds open (for writing too) can be read.
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::string bytes;
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[65536];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  CloseHandle(file);
  return bytes;
}

void CollectTree(const std::wstring& folder, const std::string& prefix, std::map<std::string, std::string>& tree) {
  ForEachEntry(folder, [&](const std::wstring& name, bool isFolder) {
    const std::string key = prefix + Utf8Text(name);
    if (!isFolder) {
      tree[key] = ReadWholeFile(folder + L"\\" + name);
      return;
    }
    tree[key + "\\"];
    CollectTree(folder + L"\\" + name, key + "\\", tree);
  });
}

void RemoveWideTree(const std::wstring& folder) {
  ForEachEntry(folder, [&](const std::wstring& name, bool isFolder) {
    const std::wstring path = folder + L"\\" + name;
    if (isFolder) return RemoveWideTree(path);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  });
  RemoveDirectoryW(folder.c_str());
}

bool HasAttributes(const std::string& path, DWORD directory) {
  const DWORD attributes = GetFileAttributesW(WideText(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == directory;
}

}  // namespace

std::string WindowsPathFromUnix(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string windows = "Z:" + path;
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return windows;
}

std::string HarnessArgument(const std::string& name) {
  // GoogleTest takes its own arguments out of the list and may leave it shorter than __argc.
  const std::string prefix = "--" + name + "=";
  for (int i = 1; i < __argc && __argv[i]; ++i) {
    if (std::string(__argv[i]).rfind(prefix, 0) == 0) return WindowsPathFromUnix(__argv[i] + prefix.size());
  }
  return {};
}

std::string FreshFolder(const std::string& name) {
  char program[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, program, sizeof program);
  const std::string folder = std::string(program, std::strrchr(program, '\\') + 1) + "scratch\\" + name;
  RemoveWideTree(LongPath(folder));
  MakeFolders(folder);
  return folder;
}

void MakeFolders(const std::string& folder) {
  for (auto at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1)) {
    CreateDirectoryW(WideText(folder.substr(0, at)), nullptr);
  }
  CreateDirectoryW(WideText(folder), nullptr);
}

bool FolderExists(const std::string& path) { return HasAttributes(path, FILE_ATTRIBUTE_DIRECTORY); }
bool FileExists(const std::string& path) { return HasAttributes(path, 0); }

std::string ReadFileBytes(const std::string& path) { return ReadWholeFile(std::wstring(WideText(path))); }

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  const HANDLE file =
      CreateFileW(WideText(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  return whole;
}

std::string RunFileIn(const std::string& tempFolder, const std::string& name) {
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(WideText(tempFolder + "\\lzin-*"), &entry);
  if (search == INVALID_HANDLE_VALUE) return {};
  FindClose(search);
  return tempFolder + "\\" + GbkFromWide(entry.cFileName).value_or("") + "\\" + name;
}

std::map<std::string, std::string> TreeOf(const std::string& folder) {
  std::map<std::string, std::string> tree;
  CollectTree(LongPath(folder), "", tree);
  return tree;
}

void ExpectSameTree(const std::string& expected, const std::string& actual) {
  SCOPED_TRACE(actual);
  const auto want = TreeOf(expected), got = TreeOf(actual);
  ASSERT_FALSE(want.empty()) << expected;
  for (const auto& [name, bytes] : want) EXPECT_TRUE(got.count(name) && got.at(name) == bytes) << name;
  for (const auto& entry : got) EXPECT_TRUE(want.count(entry.first)) << "extra " << entry.first;
}
