// lzpack's signatures against openssl's own command line, on keys openssl makes.
#include <gtest/gtest.h>

#include <string>

#include "FileSigning.h"
#include "PemKey.h"
#include "TestFiles.h"
#include "contracts/SignatureLine.h"

namespace {

using namespace testfiles;

// DER of r||s as openssl dgst expects it: SEQUENCE of two minimal INTEGERs.
std::string DerSignature(const Signature& signature) {
  std::string sequence;
  for (int half = 0; half < 2; ++half) {
    std::string number(reinterpret_cast<const char*>(signature.data()) + 32 * half, 32);
    number.erase(0, std::min(number.find_first_not_of('\0'), number.size() - 1));
    if (static_cast<unsigned char>(number[0]) & 0x80) number.insert(0, 1, '\0');
    sequence += '\x02';
    sequence += static_cast<char>(number.size());
    sequence += number;
  }
  return std::string("\x30", 1) + static_cast<char>(sequence.size()) + sequence;
}

class FileSigningTest : public testing::Test {
 protected:
  ScratchFolder scratch_;
  const fs::path root_ = scratch_.Path();

  void SetUp() override {
    for (const char* name : {"publisher", "other"}) {
      const std::string pem = (root_ / name).string();
      ASSERT_EQ(RunShell("openssl ecparam -name prime256v1 -genkey -noout -out " + pem + ".pem && openssl ec -in " + pem +
                    ".pem -pubout -out " + pem + ".pub.pem").status,
                0);
    }
    WriteBytes(File(), RandomBytes(5000, 11));
  }

  fs::path File() const { return root_ / "package.7z"; }
  fs::path Key(const char* name) const { return root_ / name; }
};

TEST_F(FileSigningTest, OpensslAcceptsTheSignatureOnTheCoveredBytes) {
  const std::string original = ReadBytes(File());
  ASSERT_EQ(SignFileInPlace(File(), Key("publisher.pem")), "");
  const std::string signedFile = ReadBytes(File());
  ASSERT_EQ(signedFile.size(), original.size() + kSignatureLineSize);
  ASSERT_EQ(signedFile.substr(0, original.size()), original);
  const std::optional<SignatureLine> line = FindSignatureLine(signedFile, signedFile.size());
  ASSERT_TRUE(line);
  WriteBytes(root_ / "covered.bin", original);
  WriteBytes(root_ / "signature.der", DerSignature(line->signature));
  EXPECT_EQ(RunShell("openssl dgst -sha256 -verify " + Key("publisher.pub.pem").string() + " -signature " +
                     (root_ / "signature.der").string() + " " + (root_ / "covered.bin").string()).status, 0);
  EXPECT_EQ(VerifyFileSignature(File(), Key("publisher.pub.pem")), "");
}

TEST_F(FileSigningTest, VerifyRefusesEveryChangeAndAnotherKey) {
  const std::string unsignedBytes = ReadBytes(File());
  ASSERT_EQ(SignFileInPlace(File(), Key("publisher.pem")), "");
  const std::string good = ReadBytes(File());
  const std::size_t digits = unsignedBytes.size() + 2 + kSignatureTag.size();
  const struct {
    const char* name;
    std::size_t at;
  } flips[] = {{"first byte", 0}, {"a middle byte", 2500}, {"last covered byte", unsignedBytes.size() - 1},
               {"a signature digit", digits + 7}};
  for (const auto& flip : flips) {
    std::string changed = good;
    char& byte = changed[flip.at];
    byte = flip.at < digits ? static_cast<char>(byte ^ 1) : (byte == '0' ? '1' : '0');  // digits stay digits
    WriteBytes(File(), changed);
    EXPECT_NE(VerifyFileSignature(File(), Key("publisher.pub.pem")), "") << flip.name;
  }
  WriteBytes(File(), good);
  EXPECT_NE(VerifyFileSignature(File(), Key("other.pub.pem")), "");
  EXPECT_NE(VerifyFileSignature(File(), Key("publisher.pem")), "");  // a private key is no public key
  WriteBytes(File(), unsignedBytes);
  EXPECT_NE(VerifyFileSignature(File(), Key("publisher.pub.pem")), "");

  // Signing again replaces the line: the file keeps its size and holds for the new key only.
  WriteBytes(File(), good);
  ASSERT_EQ(SignFileInPlace(File(), Key("other.pem")), "");
  EXPECT_EQ(ReadBytes(File()).size(), good.size());
  EXPECT_EQ(VerifyFileSignature(File(), Key("other.pub.pem")), "");
  EXPECT_NE(VerifyFileSignature(File(), Key("publisher.pub.pem")), "");
}

TEST_F(FileSigningTest, PemKeysReadTheSamePointFromThePrivateAndThePublicFile) {
  const std::optional<EcPrivateKey> key = ParsePrivateKeyPem(ReadBytes(Key("publisher.pem")));
  const std::optional<EcPublicPoint> point = ParsePublicKeyPem(ReadBytes(Key("publisher.pub.pem")));
  const std::optional<EcPublicPoint> other = ParsePublicKeyPem(ReadBytes(Key("other.pub.pem")));
  ASSERT_TRUE(key && point && other);
  EXPECT_EQ(key->point.x, point->x);
  EXPECT_EQ(key->point.y, point->y);
  EXPECT_NE(other->x, point->x);
  EXPECT_FALSE(ParsePrivateKeyPem(ReadBytes(Key("publisher.pub.pem"))));
  EXPECT_FALSE(ParsePublicKeyPem(ReadBytes(Key("publisher.pem"))));
  ASSERT_EQ(RunShell("openssl ecparam -name secp384r1 -genkey -noout -out " + Key("p384.pem").string()).status, 0);
  EXPECT_FALSE(ParsePrivateKeyPem(ReadBytes(Key("p384.pem"))));
}

// Whoever reads the private key can sign for the publisher: lzpack says so, and still signs.
TEST_F(FileSigningTest, SigningWarnsWhenOthersMayReadThePrivateKey) {
  for (const fs::perms others : {fs::perms::none, fs::perms::group_read, fs::perms::others_read}) {
    fs::permissions(Key("publisher.pem"), fs::perms::owner_read | others);
    const ShellRun run = RunShell(std::string(LZPACK_PROGRAM) + " sign " + Quoted(File()) + " --key " +
                                  Quoted(Key("publisher.pem")));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("other users may read") != std::string::npos, others != fs::perms::none) << run.output;
  }
}

}  // namespace
