#include "TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

std::string WindowsPathFromUnix(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string windows = "Z:" + path;
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  return windows;
}

std::string TestProgramFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

std::string FreshFolder(const std::string& name) {
  const std::string scratch = TestProgramFolder() + "scratch";
  CreateDirectoryA(scratch.c_str(), nullptr);
  const std::string folder = scratch + "\\" + name;
  RemoveTree(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void MakeFolders(const std::string& folder) {
  for (auto at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1)) {
    CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryA(folder.c_str(), nullptr);
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::string& path) {
  // Full sharing, so that a file the installer holds open (for writing too) can be read.
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::string bytes;
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[65536];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  CloseHandle(file);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

namespace {

void CollectTree(const std::string& root, const std::string& relative, std::map<std::string, std::string>& tree) {
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((root + "\\" + relative + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string leaf = entry.cFileName;
    if (leaf == "." || leaf == "..") continue;
    const std::string name = relative + leaf;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      tree[name + "\\"];
      CollectTree(root, name + "\\", tree);
    } else {
      tree[name] = ReadFileBytes(root + "\\" + name);
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

std::vector<std::string> NamesOf(const std::map<std::string, std::string>& tree) {
  std::vector<std::string> names;
  for (const auto& entry : tree) names.push_back(entry.first);
  return names;
}

}  // namespace

std::map<std::string, std::string> TreeOf(const std::string& folder) {
  std::map<std::string, std::string> tree;
  CollectTree(folder, "", tree);
  return tree;
}

void ExpectSameTree(const std::string& expected, const std::string& actual) {
  const auto want = TreeOf(expected), got = TreeOf(actual);
  ASSERT_FALSE(want.empty()) << expected;
  ASSERT_EQ(NamesOf(got), NamesOf(want)) << actual;
  for (const auto& [name, bytes] : want) EXPECT_TRUE(got.at(name) == bytes) << name;
}
