#include "contracts/PackageValueRules.h"

#include <array>

#include "platform/AsciiText.h"
#include "support/GbkPath.h"

namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

constexpr std::string_view kForbiddenCharacters = "\\/:*?\"<>|";

// Windows opens these as devices in every folder, whatever the extension.
bool IsDeviceName(std::string_view name) {
  std::string stem = UpperAscii(TrimBlanks(name.substr(0, name.find('.')), " "));
  // "COM1" and the like: three letters and one digit from 1 to 9.
  if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9') stem.resize(3), stem += '#';
  constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN", "AUX", "NUL", "COM#", "LPT#"};
  for (std::string_view device : kDevices) {
    if (stem == device) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> NameFault(std::string_view name) {
  if (name.empty()) return "is empty";
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(byte)) {
      // The second byte may be "\" or "|"; it belongs to the character.
      if (++i == name.size()) return "ends in half a character";
      continue;
    }
    if (byte < 0x20 || byte == 0x7F) return "holds a control character";
    if (kForbiddenCharacters.find(name[i]) != std::string_view::npos)
      return "holds the character " + std::string(1, name[i]);
  }
  if (name == "." || name == "..") return "is \".\" or \"..\"";
  if (name.back() == '.' || name.back() == ' ') return "ends in \".\" or a blank";
  if (IsDeviceName(name)) return "is a device name";
  return std::nullopt;
}

std::optional<PackageValueFault> FindPackageValueFault(const PackageInfo& info) {
  if (std::optional<std::string> fault = NameFault(info.PackageTitle)) {
    return PackageValueFault{&PackageInfo::PackageTitle, "is not a plain name: it " + *fault};
  }
  if (IsExtractOnly(info)) {
    if (std::optional<std::string> fault = NameFault(info.PackageDescription)) {
      return PackageValueFault{&PackageInfo::PackageDescription,
                               "names the folder of an extract-only package and is not a plain name: it " + *fault};
    }
    return std::nullopt;
  }
  for (const std::string& piece : SplitPathPieces(info.ProgramFile)) {
    if (std::optional<std::string> fault = NameFault(piece)) {
      return PackageValueFault{&PackageInfo::ProgramFile,
                               "must be a path inside the folder, names joined by \"\\\": a name in it " + *fault};
    }
  }
  return std::nullopt;
}
