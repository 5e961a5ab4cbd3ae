#pragma once

#include <string>
#include <vector>

// Splits text at every occurrence of delimiter. Returns the number of pieces, or -1 for
// an empty text (list left as it was). A trailing delimiter gives an empty last piece.
int SplitText(const std::string& text, const std::string& delimiter, std::vector<std::string>& list);

// Replaces every occurrence of find, left to right; inserted text is never searched again.
std::string ReplaceText(const std::string& text, const std::string& find, const std::string& with);
