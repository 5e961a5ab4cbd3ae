#include "TargetFolder.h"

#include "FileIO.h"
#include "support/GbkPath.h"

namespace sevenzip {
namespace {

std::vector<std::string> SplitAt(const std::string& path, char separator) {
    if (separator == '\\') return SplitPathPieces(path);
    std::vector<std::string> pieces(1);
    for (char c : path) {
        if (c == separator)
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

}  // namespace

bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '/' || EndsWithBackslash(path));
}

std::vector<std::string> FolderTreeSteps(const std::string& path, char separator) {
    std::vector<std::string> steps;
    std::string prefix;
    bool first = true;
    for (const std::string& piece : SplitAt(path, separator)) {
        if (!first) prefix += separator;
        first = false;
        prefix += piece;
        if (!piece.empty()) steps.push_back(prefix);
    }
    return steps;
}

bool CreateFolderTree(const std::string& path) {
    std::vector<std::string> steps = FolderTreeSteps(path, kPathSeparator);
    for (const std::string& step : steps) CreateFolder(step);  // outer ones may exist or be drives
    return !steps.empty() && CreateFolder(steps.back());
}

}  // namespace sevenzip
