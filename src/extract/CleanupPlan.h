#pragma once

#include <string>
#include <string_view>

// What Form1's destruction releases and deletes. Before any package information was read
// (packagePath empty) nothing: there is nothing of ours to remove yet.
struct CleanupPlan {
  bool releaseLibrary = false;
  std::string packagePath;  // empty: nothing to delete
  std::string libraryPath;
};

CleanupPlan CleanupOnDestroy(std::string_view packagePath, std::string_view tempFolder);
