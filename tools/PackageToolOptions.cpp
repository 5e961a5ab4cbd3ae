#include "PackageToolOptions.h"

#include <algorithm>
#include <string_view>

#include "Utf8Path.h"
#include "platform/GbkText.h"

namespace {

struct TextOption {
  std::string_view Name;
  std::string PackageRequest::*Text;
};

constexpr TextOption kTextOptions[] = {
    {"--id", &PackageRequest::Id},
    {"--title", &PackageRequest::Title},
    {"--program", &PackageRequest::ProgramFile},
    {"--version", &PackageRequest::Version},
    {"--date", &PackageRequest::Date},
    {"--description", &PackageRequest::Description},
};

std::string ParsePackOptions(const std::vector<std::string>& arguments, PackageRequest& request) {
  bool haveFolder = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    std::string_view argument = arguments[i];
    if (argument == "--extract-only") {
      request.ProgramFile = GbkToUtf8(kExtractOnlyProgramFile);
      continue;
    }
    if (!argument.starts_with("--")) {
      if (haveFolder) return "more than one folder given: '" + arguments[i] + "'";
      request.Folder = PathFromUtf8(arguments[i]);
      haveFolder = true;
      continue;
    }
    if (i + 1 == arguments.size()) return std::string(argument) + " needs a value";
    const std::string& value = arguments[++i];
    if (argument == "--output") {
      request.Output = PathFromUtf8(value);
      continue;
    }
    if (argument == "--sign") {
      request.SignKey = PathFromUtf8(value);
      continue;
    }
    auto option = std::find_if(std::begin(kTextOptions), std::end(kTextOptions),
                               [&](const TextOption& o) { return o.Name == argument; });
    if (option == std::end(kTextOptions)) return "unknown option " + std::string(argument);
    request.*option->Text = value;
  }
  if (!haveFolder) return "no folder given";
  return {};
}

// sign <file> --key <private.pem> and verify <file> --key <public.pem>.
std::string ParseSigningOptions(const std::vector<std::string>& arguments, ToolOptions& options) {
  if (arguments.size() != 4 || arguments[2] != "--key") return arguments[0] + " takes a file and --key <key file>";
  options.Command = arguments[0] == "sign" ? ToolCommand::Sign : ToolCommand::Verify;
  options.PackageFile = PathFromUtf8(arguments[1]);
  options.KeyFile = PathFromUtf8(arguments[3]);
  return {};
}

// copies <template> --out <folder> [--ids <id,id,...>]
std::string ParseCopiesOptions(const std::vector<std::string>& arguments, CopiesRequest& request) {
  bool haveTemplate = false, haveOut = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument != "--out" && argument != "--ids") {
      if (haveTemplate || argument.starts_with("--")) return "copies does not take '" + argument + "'";
      request.Template = PathFromUtf8(argument);
      haveTemplate = true;
      continue;
    }
    if (i + 1 == arguments.size()) return argument + " needs a value";
    const std::string& value = arguments[++i];
    if (argument == "--ids") {
      if (value.empty()) return "--ids needs at least one ID";
      request.Ids = value;
    } else {
      request.OutFolder = PathFromUtf8(value);
      haveOut = true;
    }
  }
  if (!haveTemplate || !haveOut) return "copies takes a template and --out <folder>";
  return {};
}

}  // namespace

std::string ParseToolOptions(const std::vector<std::string>& arguments, ToolOptions& options) {
  if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
    options.Command = ToolCommand::Help;
    return {};
  }
  if (arguments[0] == "info" || arguments[0] == "test") {
    if (arguments.size() != 2) return arguments[0] + " takes exactly one package file";
    options.Command = arguments[0] == "info" ? ToolCommand::Info : ToolCommand::Test;
    options.PackageFile = PathFromUtf8(arguments[1]);
    return {};
  }
  if (arguments[0] == "sign" || arguments[0] == "verify") return ParseSigningOptions(arguments, options);
  if (arguments[0] == "copies") {
    options.Command = ToolCommand::Copies;
    return ParseCopiesOptions(arguments, options.Copies);
  }
  if (arguments[0] == "pack") {
    options.Command = ToolCommand::Pack;
    return ParsePackOptions(arguments, options.Request);
  }
  return "unknown command '" + arguments[0] + "'";
}

std::string ToolUsage() {
  // A UTF-8 literal: the terminal shows UTF-8, while plain literals are compiled to GBK.
  constexpr std::u8string_view kUsage =
      u8R"(Usage:
  lzpack pack <folder> --id <ID> --title <title> (--program <file> | --extract-only)
              [--version <version>] [--date <date>] [--description <text>] [--output <file>]
              [--sign <private key>]
  lzpack info <package>
  lzpack sign <file> --key <private key>
  lzpack verify <file> --key <public key>
  lzpack test <package>
  lzpack copies <template> --out <folder> [--ids <ID>,<ID>,...]

pack   Compresses everything in <folder> into a 7z archive and appends the package
       information block (GBK) that the installer reads. Texts are UTF-8; in GBK the
       title and version may hold at most 29 bytes, the program file 99, the date 19 and
       the description 199 (a Chinese character takes 2 bytes).
         --id           1 to 3 letters or digits; the installer with marker <ID>.7z fetches it
         --program      the program to start after installing, relative to <folder>, with "\"
                        between subfolders (bin\app.exe); it must exist in <folder>
                        and its name must have a GBK form (other files may have any name)
         --extract-only the package is only unpacked (program file "解压缩"); then
                        --description names the folder it is unpacked into
         --output       the package file to write; default <ID>.7z in the current folder
         --sign         sign the package as lzpack sign does
       Upload the package to each download host as /dowfile/<id>.rar (ID in lower case).
       Before naming the package, pack tests it as test does and writes nothing it fails.
info   Prints the information block of an existing package.
sign   Signs a package or 7-zip32.dll in place (a line appended at its end, replacing an
       earlier signature): an installer built with the public key uses only signed files.
       The key is an EC P-256 private key in PEM:
         openssl ecparam -name prime256v1 -genkey -noout -out publisher.pem
verify Exits with 0 only when the file's signature holds for the public key:
         openssl ec -in publisher.pem -pubout -out publisher.pub.pem
test   Tells whether the installer will unpack the package: finds the information block,
       checks the archive and its entry names as the installer's library does and decodes
       every entry in memory with its CRC; prints the coders used. Exits non-zero, saying
       which entry or coder fails, when the installer would not unpack it.
copies Writes the per-package installers of installer-template.exe into <folder>, as the
       template writes them beside itself when it runs: lzin-<ID>.exe for each ID of its
       built-in list (or of --ids), each the template with the marker <ID>.7z. A template
       signed with Authenticode gives copies without its signature (it would not match
       them); sign each copy instead:
         osslsigncode sign -certs cert.pem -key key.pem -in lzin-188.exe -out signed/lzin-188.exe

pack needs 7-Zip's command-line program: 7z (Debian p7zip-full), on Windows 7z.exe on PATH.
)";
  return std::string(kUsage.begin(), kUsage.end());
}
