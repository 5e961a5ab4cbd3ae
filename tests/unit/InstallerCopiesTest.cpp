// The template's copies, written by its own copy mode and by lzpack copies, from small PE
// files signed by osslsigncode and from hostile headers.
#include <gtest/gtest.h>

#include <map>

#include "TestFiles.h"
#include "contracts/InstallerCopies.h"
#include "retrieval/package/PackageCopy.h"

namespace {

using namespace testfiles;

class MemoryFiles : public CopyFileOperations {
 public:
  std::string ReadWholeFile(const std::string& path) override { return files.count(path) ? files[path] : ""; }
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
    files[path] = failWrites ? bytes.substr(0, 9) : bytes;
    return !failWrites;
  }
  void RemoveFile(const std::string& path) override { files.erase(path); }
  std::map<std::string, std::string> files;
  bool failWrites = false;
};

// One section holding the marker at 0x210; the checksum at 0x98, the security entry at 0xD8
// (PE32) or 0xE8 (PE32+).
std::string SmallPe(bool pe32Plus) {
  std::string pe(0x400, '\0');
  const std::uint32_t machine = pe32Plus ? 0x18664 : 0x1014C, magic = pe32Plus ? 0x20B : 0x10B;
  const std::size_t o = 0x58, dirs = pe32Plus ? 112 : 96, base = o + (pe32Plus ? 24 : 28), s = o + dirs + 128;
  const std::pair<std::size_t, std::uint32_t> fields[] = {
      {0, 0x5A4D},          {0x3C, 0x40},     {0x40, 0x4550},   {0x44, machine},  {0x54, (dirs + 128) | 0x1020000},
      {o, magic},           {o + 16, 0x1000}, {base, 0x400000}, {o + 32, 0x1000}, {o + 36, 0x200},
      {o + 40, 4},          {o + 48, 4},      {o + 56, 0x2000}, {o + 60, 0x200},  {o + 68, 2},
      {o + dirs - 4, 16},   {s + 8, 0x200},   {s + 12, 0x1000}, {s + 16, 0x200},  {s + 20, 0x200},
      {s + 36, 0x60000020}, {0x200, 0xC3}};
  for (const auto& [at, value] : fields) pe.replace(at, 4, LittleEndian(value, 4));
  return pe.replace(0x210, 6, kTemplateMarker);
}

class InstallerCopiesTest : public testing::Test {
 protected:
  ScratchFolder scratch_;
  void SetUp() override {
    ASSERT_EQ(Run("openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -subj /CN=P").status, 0);
  }
  ShellRun Run(const std::string& command) { return RunShell("cd " + Quoted(scratch_.Path()) + " && " + command); }
  std::string Signed(const std::string& image) {
    WriteBytes(scratch_.Path() / "unsigned.exe", image);
    const std::string sign = "osslsigncode sign -certs cert.pem -key key.pem -in unsigned.exe -out signed.exe";
    EXPECT_EQ(Run("rm -f signed.exe && " + sign).status, 0);
    return ReadBytes(scratch_.Path() / "signed.exe");
  }
};

// A copy is the template with its marker, minus the certificate table: a signature on it
// would never match. Hostile security entries are refused, never followed. That osslsigncode
// finds no signature and the checksum right, and signs a copy again, is the signing suite's.
TEST_F(InstallerCopiesTest, CopiesCarryNoSignatureAndHostileEntriesAreRefused) {
  using Fault = CopySource::Fault;
  const std::string pe32 = SmallPe(false), signed32 = Signed(pe32), signed64 = Signed(SmallPe(true));
  const auto entry = [&pe32](std::uint32_t offset, std::uint32_t size) {
    std::string image = pe32;
    return image.replace(0xD8, 8, LittleEndian(offset, 4) + LittleEndian(size, 4));
  };
  const std::tuple<const char*, std::string, Fault> cases[] = {
      {"unsigned", pe32, Fault::None},
      {"signed PE32", signed32, Fault::None},
      {"signed PE32+", signed64, Fault::None},
      {"not a PE file", "MZ" + std::string(100, 'x') + kTemplateMarker, Fault::None},
      {"table outside the file", entry(0x10000, 0x100), Fault::DamagedCertificateTable},
      {"end wrapping round to the file's", entry(0xFFFFFF00, 0x500), Fault::DamagedCertificateTable},
      {"size of -1", entry(0x300, 0xFFFFFFFF), Fault::DamagedCertificateTable},
      {"table inside the headers", entry(0x10, 0x3F0), Fault::DamagedCertificateTable},
      {"table not at the end", signed32 + "appended", Fault::DamagedCertificateTable},
      {"marker only in the table", entry(0x210, 0x1F0), Fault::NoMarker},
  };
  for (const auto& [name, image, fault] : cases) {
    SCOPED_TRACE(name);
    const CopySource source(image, kTemplateMarker);
    ASSERT_EQ(source.Problem(), fault);
    if (fault != Fault::None) continue;
    const bool wasSigned = image == signed32 || image == signed64;
    EXPECT_EQ(source.SignatureRemoved(), wasSigned);
    std::string copy = source.CopyFor("188"), expected = image.substr(0, wasSigned ? 0x400 : image.size());
    expected.replace(expected.find(kTemplateMarker), 6, "188.7z");
    if (!wasSigned) {
      EXPECT_EQ(copy, expected);
      continue;
    }
    // Only the checksum and the cleared entry differ from the template's bytes.
    expected.replace(image == signed64 ? 0xE8 : 0xD8, 8, 8, '\0');
    EXPECT_EQ(copy.replace(0x98, 4, 4, '\0'), expected.replace(0x98, 4, 4, '\0'));
  }
}

// lzpack copies writes the template with each package's marker, or refuses and writes
// nothing; that its copies of a signed template are the template's own is the signing suite's.
TEST_F(InstallerCopiesTest, LzpackWritesTheTemplatesOwnCopies) {
  const std::string plain = SmallPe(false);
  const struct {
    const char* name;
    std::string image, ids;
    int status;
    const char* says;
    std::vector<std::string> written;
  } cases[] = {
      {"chosen IDs", plain, " --ids 5,188", 0, "Wrote", {"5", "188"}},
      {"no marker", "MZ not a template", "", 1, "is not an installer template", {}},
      {"two markers", std::string(plain).replace(0x300, 6, kTemplateMarker), "", 1, "more than once", {}},
      {"an ID the template skips", plain, " --ids 5,0", 1, "got '0'", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path out = scratch_.Path() / c.name;
    WriteBytes(scratch_.Path() / "template.exe", c.image);
    const ShellRun run = RunShell(std::string(LZPACK_PROGRAM) + " copies " + Quoted(scratch_.Path() / "template.exe") +
                                  " --out " + Quoted(out) + c.ids);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
    EXPECT_EQ(fs::exists(out) ? std::distance(fs::directory_iterator(out), fs::directory_iterator()) : 0,
              std::ssize(c.written));
    for (const std::string& id : c.written) {
      EXPECT_EQ(ReadBytes(out / InstallerCopyName(id)), std::string(plain).replace(0x210, 6, MarkerFor(id))) << id;
    }
  }
  // A copy the template cannot write completely is removed.
  MemoryFiles templateRun;
  templateRun.files = {{"C:\\t\\t.exe", plain}};
  templateRun.failWrites = true;
  EXPECT_EQ(WritePackageCopies("C:\\t\\", "t.exe", kTemplateMarker, templateRun), 0);
  EXPECT_EQ(templateRun.files.size(), 1u);
}

}  // namespace
