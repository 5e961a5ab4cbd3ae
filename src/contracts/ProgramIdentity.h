#pragma once

#include <string>

#include "contracts/ProgramVersion.h"

// The program's name and version, fixed by the build.
inline constexpr char ProductTitle[] = "安装岚舟软件";

// The two message-box titles: failures of the installation, and the publisher's questions
// and package errors.
inline constexpr char kInstallTitle[] = "软件安装";
inline constexpr char kPublisherTitle[] = "岚舟软件安装";

// Form1's window class, by which the test harness finds it too.
inline constexpr char kForm1ClassName[] = "FORM_岚舟软件安装_FORM1_CLASS";

struct VersionNumbers {
  int major, minor, revision, build;
};
inline constexpr VersionNumbers FileVersion{PROGRAM_FILE_VERSION};

// The module path split after its last ":", "/" or "\": the folder keeps that character.
struct ModulePath {
  std::string folder;
  std::string fileName;
};
ModulePath SplitModulePath(const std::string& path);

// Form1's title, for example 安装岚舟软件 V3.1.2.525 版.
std::string WindowTitleFor(const VersionNumbers& version);
