#include "app/DialogKeys.h"

namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

bool IsFormClassName(const std::string& className) { return className.rfind("FORM_", 0) == 0; }

bool IsEditLikeClassName(const std::string& className, const std::string& richEditClass) {
  const std::string upper = UpperAscii(className);
  return upper == "EDIT" || (!richEditClass.empty() && upper == UpperAscii(richEditClass));
}
