#include "TemplateCopies.h"

#include <cstdint>
#include <optional>

#include "PackageRequest.h"
#include "Utf8Path.h"
#include "WholeFile.h"
#include "contracts/InstallerCopies.h"
#include "platform/File.h"
#include "platform/LeadingNumber.h"
#include "platform/TextSplit.h"

namespace {

// Far above any installer; the whole template is held in memory with one copy at a time.
constexpr std::uintmax_t kTemplateMaxBytes = 64 << 20;

// The publisher's list, or the template's own. An ID the template would skip is refused
// rather than dropped without a word.
std::string IdsToCopy(const std::string& given, std::vector<std::string>& ids) {
  if (given.empty()) {
    ids = CopyEntries(kPackageIdList, "|");
    return {};
  }
  SplitText(given, ",", ids);
  for (const std::string& id : ids) {
    if (!IsPackageId(id) || LeadingNumber(id) <= 0) {
      return "--ids takes IDs of 1 to 3 letters or digits that start with a number above 0, got '" + id + "'";
    }
  }
  return {};
}

std::string TemplateProblem(const CopySource& source, const std::string& name) {
  switch (source.Problem()) {
    case CopySource::Fault::NoMarker:
      return name + " is not an installer template: its marker " + kTemplateMarker + " is not in it";
    case CopySource::Fault::DamagedCertificateTable:
      return name + " is damaged: its security entry names a certificate table that does not end the file";
    case CopySource::Fault::None: break;
  }
  if (source.MarkerRepeated()) {
    return name + " holds its marker " + kTemplateMarker +
           " more than once, so the copies could not be told apart: not an installer template";
  }
  return {};
}

}  // namespace

CopiesResult WriteTemplateCopies(const CopiesRequest& request) {
  CopiesResult result;
  const std::string name = "'" + Utf8FromPath(request.Template) + "'";
  std::vector<std::string> ids;
  if (result.Error = IdsToCopy(request.Ids, ids); !result.Error.empty()) return result;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(request.Template, error);
  if (error || size > kTemplateMaxBytes) {
    result.Error = error ? "cannot read " + name : name + " is too large for an installer template";
    return result;
  }
  std::optional<std::string> program = ReadWholeFile(request.Template);
  if (!program) {
    result.Error = "cannot read " + name;
    return result;
  }
  const CopySource source(std::move(*program), kTemplateMarker);
  if (result.Error = TemplateProblem(source, name); !result.Error.empty()) return result;
  result.SignatureRemoved = source.SignatureRemoved();

  std::filesystem::create_directories(request.OutFolder, error);
  for (const std::string& id : ids) {
    const std::filesystem::path copy = request.OutFolder / InstallerCopyName(id);
    if (error || !ReplaceWholeFile(copy, source.CopyFor(id))) {
      result.Error = "cannot write '" + Utf8FromPath(copy) + "'";
      for (const std::filesystem::path& written : result.Written) DeleteFileNamed(written.native());
      result.Written.clear();
      return result;
    }
    result.Written.push_back(copy);
  }
  return result;
}
