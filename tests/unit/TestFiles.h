#pragma once
// Scratch folders, files and shell runs for the unit tests, and a fake folder tree.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "support/EnsureFolder.h"
#include "support/GbkPath.h"

namespace testfiles {

namespace fs = std::filesystem;

// A fresh folder, removed afterwards; its name holds the test's and the process's, since
// ctest runs the tests side by side.
class ScratchFolder {
 public:
  ScratchFolder() {
    static int count = 0;
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name() + "-" + std::to_string(getpid());
    for (char& c : name) c = c == '/' ? '_' : c;
    path_ = fs::temp_directory_path() / ("unit-" + name + "-" + std::to_string(++count));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchFolder() { fs::remove_all(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(size, '\0');
  for (auto& c : s) c = char(gen());
  return s;
}

inline std::string LittleEndian(uint64_t value, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += char(value >> (8 * i));
  return s;
}

inline std::string Quoted(const fs::path& p) { return "'" + p.string() + "'"; }

struct ShellRun {
  int status;
  std::string output;  // stdout and stderr
};

inline ShellRun RunShell(const std::string& command) {
  ShellRun run{-1, {}};
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// A file system of drive roots and folders; creating works only below an existing folder.
class FakeFolders : public FolderOperations {
 public:
  explicit FakeFolders(std::set<std::string> folders) : folders_(std::move(folders)) {}
  bool FolderExists(const std::string& path) override { return folders_.count(path) > 0; }
  void CreateFolder(const std::string& path) override {
    created.push_back(path);
    const auto parent = path.substr(0, AfterLastSeparator(path) - 1);
    if (FolderExists(parent)) folders_.insert(path);
  }
  std::vector<std::string> created;

 private:
  std::set<std::string> folders_;
};

}  // namespace testfiles
