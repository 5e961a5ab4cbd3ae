#include "platform/TextSplit.h"

int SplitText(const std::string& text, const std::string& delimiter, std::vector<std::string>& list) {
  if (text.empty()) return -1;
  list.clear();
  if (delimiter.empty()) {
    // Nothing to split at: an empty delimiter would otherwise match everywhere.
    list.push_back(text);
    return 1;
  }
  std::string::size_type start = 0;
  for (auto at = text.find(delimiter); at != std::string::npos; at = text.find(delimiter, start)) {
    list.push_back(text.substr(start, at - start));
    start = at + delimiter.size();
  }
  list.push_back(text.substr(start));
  return static_cast<int>(list.size());
}

std::string ReplaceText(const std::string& text, const std::string& find, const std::string& with) {
  if (find.empty()) return text;
  std::string result;
  std::string::size_type start = 0;
  for (auto at = text.find(find); at != std::string::npos; at = text.find(find, start)) {
    result.append(text, start, at - start).append(with);
    start = at + find.size();
  }
  return result.append(text, start, std::string::npos);
}
