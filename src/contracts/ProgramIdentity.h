#pragma once

#include <string>

// The program's name and version, fixed by the build (the version resource repeats them).
inline constexpr char ProductTitle[] = "安装岚舟软件";

struct VersionNumbers {
  int major, minor, revision, build;
};
inline constexpr VersionNumbers FileVersion{3, 1, 2, 525};

// The module path split after its last ":", "/" or "\": the folder keeps that character.
struct ModulePath {
  std::string folder;
  std::string fileName;
};
ModulePath SplitModulePath(const std::string& path);

// Form1's title, for example 安装岚舟软件 V3.1.2.525 版.
std::string WindowTitleFor(const VersionNumbers& version);
