// lzpack: makes package archives for the installer, shows their information block and
// tests them with the installer's own reader; signs them; writes the template's copies.
#include <cstdio>

#include "FileSigning.h"
#include "PackageReport.h"
#include "PackageTest.h"
#include "PackageToolOptions.h"
#include "PackageWriter.h"
#include "PublisherSafety.h"
#include "TemplateCopies.h"
#include "Utf8Arguments.h"
#include "Utf8Path.h"
#ifdef _WIN32
#include "platform/SystemLibrariesWin32.h"
#endif

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "lzpack: %s\n", message.c_str());
  return 1;
}

// Whoever can read the private key can sign what every installer of the publisher runs.
void WarnIfOthersMayRead(const std::filesystem::path& privateKey) {
  if (!OthersMayRead(privateKey)) return;
  std::fprintf(stderr,
               "lzpack: warning: other users may read the private key '%s'; make it readable by its owner only "
               "(chmod 600)\n",
               Utf8FromPath(privateKey).c_str());
}

int Pack(const PackageRequest& request) {
  if (!request.SignKey.empty()) WarnIfOthersMayRead(request.SignKey);
  PackageWriteResult result = WritePackage(request);
  if (!result.Error.empty()) return Fail(result.Error + "; no package written");
  std::fputs(result.Tested.c_str(), stdout);
  std::printf("Wrote %s\nUpload it to both download hosts as /dowfile/%s\n", Utf8FromPath(result.Output).c_str(),
              UploadName(request.Id).c_str());
  return 0;
}

int Info(const std::filesystem::path& package) {
  std::string text = DescribePackage(package);
  if (text.empty()) return Fail("no information block in the last 2000 bytes of '" + Utf8FromPath(package) + "'");
  std::fputs(text.c_str(), stdout);
  return 0;
}

int Sign(const ToolOptions& options) {
  WarnIfOthersMayRead(options.KeyFile);
  if (std::string error = SignFileInPlace(options.PackageFile, options.KeyFile); !error.empty()) return Fail(error);
  std::printf("Signed %s\n", Utf8FromPath(options.PackageFile).c_str());
  return 0;
}

int Verify(const ToolOptions& options) {
  if (std::string error = VerifyFileSignature(options.PackageFile, options.KeyFile); !error.empty()) return Fail(error);
  std::printf("The signature of %s holds\n", Utf8FromPath(options.PackageFile).c_str());
  return 0;
}

int Test(const std::filesystem::path& package) {
  PackageTestResult result = TestPackage(package);
  if (!result.Error.empty())
    return Fail(Utf8FromPath(package) + ": " + result.Error + "; the installer would not unpack it");
  std::fputs(result.Report.c_str(), stdout);
  std::printf("The installer will unpack %s\n", Utf8FromPath(package).c_str());
  return 0;
}

int Copies(const CopiesRequest& request) {
  const CopiesResult result = WriteTemplateCopies(request);
  if (!result.Error.empty()) return Fail(result.Error + "; no copies written");
  for (const std::filesystem::path& copy : result.Written) std::printf("Wrote %s\n", Utf8FromPath(copy).c_str());
  if (result.SignatureRemoved) {
    std::puts(
        "The template's Authenticode signature is left out of the copies, where it would not match; sign each copy");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The publisher may run it from a folder of downloads too.
  RestrictDllSearchToSystem32();
#endif
  UseUtf8Console();
  ToolOptions options;
  if (std::string error = ParseToolOptions(Utf8Arguments(argc, argv), options); !error.empty()) {
    return Fail(error + " (lzpack --help shows the usage)");
  }
  switch (options.Command) {
    case ToolCommand::Pack: return Pack(options.Request);
    case ToolCommand::Info: return Info(options.PackageFile);
    case ToolCommand::Sign: return Sign(options);
    case ToolCommand::Verify: return Verify(options);
    case ToolCommand::Test: return Test(options.PackageFile);
    case ToolCommand::Copies: return Copies(options.Copies);
    case ToolCommand::Help: break;
  }
  std::fputs(ToolUsage().c_str(), stdout);
  return 0;
}
