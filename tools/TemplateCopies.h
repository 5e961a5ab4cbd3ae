#pragma once
// lzpack copies: the template's per-package installers, written without Windows, byte for
// byte as the template writes them itself.

#include <filesystem>
#include <string>
#include <vector>

struct CopiesRequest {
  std::filesystem::path Template;
  std::filesystem::path OutFolder;
  std::string Ids;  // "99,100": the IDs to make copies for; empty: the template's own list
};

struct CopiesResult {
  std::string Error;  // empty on success; nothing is left behind otherwise
  std::vector<std::filesystem::path> Written;
  bool SignatureRemoved = false;  // the template was Authenticode-signed
};

CopiesResult WriteTemplateCopies(const CopiesRequest& request);
