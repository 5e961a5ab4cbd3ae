#include "PackageRequest.h"

#include <algorithm>

#include "contracts/PackageValueRules.h"
#include "platform/GbkText.h"

namespace {

struct ValueOption {
  const char* Option;
  const std::string PackageRequest::*Text;
};

// In the order of kPackageInfoKeys.
constexpr ValueOption kValueOptions[] = {
    {"--title", &PackageRequest::Title},
    {"--program", &PackageRequest::ProgramFile},
    {"--version", &PackageRequest::Version},
    {"--date", &PackageRequest::Date},
    {"--description", &PackageRequest::Description},
};
static_assert(std::size(kValueOptions) == std::tuple_size_v<decltype(kPackageInfoKeys)>);

bool IsIdCharacter(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

bool IsPackageId(const std::string& id) {
  return !id.empty() && id.size() <= kPackageIdMaxBytes && std::all_of(id.begin(), id.end(), IsIdCharacter);
}

std::string EncodePackageValues(const PackageRequest& request, PackageInfo& gbk) {
  const std::string& id = request.Id;
  if (!IsPackageId(id)) {
    return "--id must be 1 to 3 ASCII letters or digits (the installer's marker holds <ID>.7z in six bytes), got '" +
           id + "'";
  }
  for (std::size_t i = 0; i < std::size(kValueOptions); ++i) {
    const ValueOption& option = kValueOptions[i];
    const PackageInfoKey& key = kPackageInfoKeys[i];
    const std::string& text = request.*option.Text;
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      return std::string(option.Option) + " must not contain line breaks or zero bytes";
    }
    std::optional<std::string> converted = Utf8ToGbk(text);
    // Files inside the package may have any name; the one the block names must be GBK.
    if (!converted && option.Text == &PackageRequest::ProgramFile) {
      return "--program names '" + text + "', a file name without a GBK form; the information block holds the " +
             "program file in GBK, so rename the program file (other files may keep any name)";
    }
    if (!converted) return std::string(option.Option) + " has text without a GBK form: '" + text + "'";
    if (converted->size() > key.MaxBytes) {
      return std::string(option.Option) + " is " + std::to_string(converted->size()) + " bytes in GBK, at most " +
             std::to_string(key.MaxBytes) + " are allowed: '" + text + "'";
    }
    gbk.*key.Value = std::move(*converted);
  }
  if (gbk.PackageTitle.empty()) return "--title must not be empty";
  if (gbk.ProgramFile.empty()) return "--program must not be empty (or give --extract-only)";
  if (IsExtractOnly(gbk) && gbk.PackageDescription.empty()) {
    return "an extract-only package needs --description: the name of the folder it is unpacked into";
  }
  // The installer refuses such a block, so it is never written.
  if (std::optional<PackageValueFault> fault = FindPackageValueFault(gbk)) {
    for (std::size_t i = 0; i < std::size(kValueOptions); ++i) {
      if (kPackageInfoKeys[i].Value != fault->Value) continue;
      return std::string(kValueOptions[i].Option) + " '" + request.*kValueOptions[i].Text + "' " + fault->Reason;
    }
  }
  return {};
}
