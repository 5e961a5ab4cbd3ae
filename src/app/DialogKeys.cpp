#include "app/DialogKeys.h"

#include "platform/AsciiText.h"

bool IsFormClassName(const std::string& className) { return className.rfind("FORM_", 0) == 0; }

bool IsEditLikeClassName(const std::string& className, const std::string& richEditClass) {
  const std::string upper = UpperAscii(className);
  return upper == "EDIT" || (!richEditClass.empty() && upper == UpperAscii(richEditClass));
}
