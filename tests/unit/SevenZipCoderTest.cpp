#include <gtest/gtest.h>

#include "ArchiveError.h"
#include "CoderMethods.h"
#include "PackStreamSource.h"
#include "SevenZipTestFiles.h"

namespace {

using namespace sevenzip_test;

constexpr uint64_t kPpmd = 0x030401, kBzip2 = 0x040202;

std::string SampleText() {
  std::string text;
  for (int i = 0; i < 12000; ++i) text += "entry " + std::to_string(i * 7919 % 3000) + " of the table\n";
  return text + RandomBytes(20000, 7);
}

// Two bzip2 streams back to back, as parallel compressors write them.
std::string TwoBzip2Streams() {
  ScratchFolder scratch;
  std::string text = SampleText();
  WriteBytes(scratch.Path() / "a", text.substr(0, 150000));
  WriteBytes(scratch.Path() / "b", text.substr(150000));
  EXPECT_EQ(RunShell("cd " + Quoted(scratch.Path()) + " && bzip2 -1 a b").status, 0);
  return ReadBytes(scratch.Path() / "a.bz2") + ReadBytes(scratch.Path() / "b.bz2");
}

std::vector<uint8_t> PpmdProperties(unsigned order, uint32_t memory) {
  return {uint8_t(order), uint8_t(memory), uint8_t(memory >> 8), uint8_t(memory >> 16), uint8_t(memory >> 24)};
}

enum class Outcome { Original, NotOriginal, Damaged, Unsupported };

struct CoderCase {
  const char* label;
  uint64_t method;
  std::string (*packed)();
  std::vector<uint8_t> properties;
  long flipAt;      // byte to invert, from the end when negative; 0: none
  long truncateTo;  // 0: keep the length
  Outcome expected;
  std::string (*original)() = SampleText;
};

std::string PpmdAtLimits() { return PackedBy7z(SampleText(), "-m0=PPMd:o=32:mem=64k"); }
std::string PpmdOrder2() { return PackedBy7z(SampleText(), "-m0=PPMd:o=2:mem=64k"); }
std::string Bzip2By7z() { return PackedBy7z(SampleText(), "-m0=BZip2"); }
// A block that repeats itself: its inverse transform is several cycles, not one.
std::string PeriodicText() {
  std::string text;
  for (int i = 0; i < 4000; ++i) text += "abc";
  return text;
}
std::string Bzip2PeriodicBy7z() { return PackedBy7z(PeriodicText(), "-m0=BZip2"); }
std::string Nothing() { return std::string(64, '\0'); }

class SevenZipCoderTest : public testing::TestWithParam<CoderCase> {};

// Whatever the stream holds, a decoder gives the original, other bytes (PPMd has no
// check of its own) or a clean failure; the sanitizer build catches any stray access. The
// streams unchanged are in SevenZipArchiveTest's rows with the same switches.
TEST_P(SevenZipCoderTest, DecodesOrFailsCleanly) {
  const CoderCase& c = GetParam();
  std::string packed = c.packed();
  if (c.flipAt) packed[c.flipAt > 0 ? size_t(c.flipAt) : packed.size() + c.flipAt] ^= 0xFF;
  if (c.truncateTo) packed.resize(size_t(c.truncateTo));
  // One byte of room more, as the folder decoder asks for to see the stream end.
  std::string original = c.original(), decoded(original.size() + 1, '\0');
  sevenzip::MemoryInStream memory(reinterpret_cast<const uint8_t*>(packed.data()), packed.size());
  sevenzip::PackStreamSource input(memory, 0, packed.size());
  sevenzip::ByteSource* inputs[] = {&input};
  Outcome outcome;
  try {
    auto decoder = sevenzip::FindCoderMethod(c.method)->make({inputs, c.properties, original.size()});
    size_t done = 0;
    while (size_t n = decoder->Read(reinterpret_cast<uint8_t*>(decoded.data()) + done, decoded.size() - done))
      done += n;
    decoded.resize(done);
    // Output past the declared size is damage to the folder decoder.
    outcome = done > original.size() ? Outcome::Damaged
              : decoded == original  ? Outcome::Original
                                     : Outcome::NotOriginal;
  } catch (const sevenzip::ArchiveError& e) {
    outcome = e.Kind() == sevenzip::ErrorKind::Damaged ? Outcome::Damaged : Outcome::Unsupported;
  }
  if (c.expected == Outcome::NotOriginal) {
    EXPECT_NE(outcome, Outcome::Original);
    EXPECT_NE(outcome, Outcome::Unsupported);
  } else {
    EXPECT_EQ(outcome, c.expected);
  }
}

const uint32_t kBudget = uint32_t(sevenzip::kMaxDecoderMemory);

INSTANTIATE_TEST_SUITE_P(
    Streams, SevenZipCoderTest,
    testing::Values(
        CoderCase{"PpmdOrder2", kPpmd, PpmdOrder2, PpmdProperties(2, 1 << 16), 0, 0, Outcome::Original},
        // Accepted limits get as far as the data, which these bytes are not.
        CoderCase{"PpmdSmallestMemory", kPpmd, Nothing, PpmdProperties(2, 2048), 0, 0, Outcome::Damaged},
        CoderCase{"PpmdHighestOrderWholeBudget", kPpmd, Nothing, PpmdProperties(64, kBudget), 0, 0, Outcome::Damaged},
        CoderCase{"PpmdOrder1", kPpmd, Nothing, PpmdProperties(1, 1 << 16), 0, 0, Outcome::Unsupported},
        CoderCase{"PpmdOrder65", kPpmd, Nothing, PpmdProperties(65, 1 << 16), 0, 0, Outcome::Unsupported},
        CoderCase{"PpmdMemoryTooSmall", kPpmd, Nothing, PpmdProperties(6, 2047), 0, 0, Outcome::Unsupported},
        CoderCase{"PpmdAboveBudget", kPpmd, Nothing, PpmdProperties(6, kBudget + 1), 0, 0, Outcome::Unsupported},
        CoderCase{"PpmdPropertiesShort", kPpmd, Nothing, {6, 0, 0, 1}, 0, 0, Outcome::Unsupported},
        CoderCase{"PpmdFlippedEarly", kPpmd, PpmdAtLimits, PpmdProperties(32, 1 << 16), 100, 0, Outcome::NotOriginal},
        CoderCase{"PpmdFlippedLate", kPpmd, PpmdAtLimits, PpmdProperties(32, 1 << 16), -300, 0, Outcome::NotOriginal},
        CoderCase{"PpmdWrongModel", kPpmd, PpmdAtLimits, PpmdProperties(4, 1 << 20), 0, 0, Outcome::NotOriginal},
        CoderCase{"PpmdTruncated", kPpmd, PpmdAtLimits, PpmdProperties(32, 1 << 16), 0, 5000, Outcome::Damaged},
        CoderCase{"Bzip2TwoStreams", kBzip2, TwoBzip2Streams, {}, 0, 0, Outcome::Original},
        CoderCase{"Bzip2PeriodicBlock", kBzip2, Bzip2PeriodicBy7z, {}, 0, 0, Outcome::Original, PeriodicText},
        CoderCase{"Bzip2FlippedInTables", kBzip2, Bzip2By7z, {}, 20, 0, Outcome::Damaged},
        CoderCase{"Bzip2FlippedInData", kBzip2, Bzip2By7z, {}, 5000, 0, Outcome::Damaged},
        CoderCase{"Bzip2FlippedStreamCrc", kBzip2, Bzip2By7z, {}, -2, 0, Outcome::Damaged},
        CoderCase{"Bzip2SecondStreamFlipped", kBzip2, TwoBzip2Streams, {}, -40, 0, Outcome::Damaged},
        CoderCase{"Bzip2Truncated", kBzip2, Bzip2By7z, {}, 0, 3000, Outcome::Damaged},
        CoderCase{"Bzip2NotBzip2", kBzip2, Nothing, {}, 0, 0, Outcome::Damaged}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
