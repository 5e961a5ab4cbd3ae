#pragma once
// Files, folders and `7z` runs for the 7z reader's tests.
#include <map>

#include "SevenZipCommand.h"
#include "TestFiles.h"

namespace sevenzip_test {

using namespace testfiles;

// x86-like bytes: many CALL/JMP opcodes with near and far targets, so BCJ has work to do.
inline std::string CodeLikeBytes(size_t size, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s;
  while (s.size() < size) {
    const unsigned pick = gen() % 4;
    if (pick == 0) {
      s += char(0xE8 + gen() % 2);
      uint32_t target = gen() % 3 == 0 ? gen() : gen() % 0x10000;
      if (gen() % 2) target = uint32_t(-int32_t(target));
      s += LittleEndian(target, 4);
    } else {
      s += char(pick == 1 ? 0x0F : gen() % 32);
    }
  }
  s.resize(size);
  return s;
}

// An x86 Windows program as far as 7z looks (MZ and PE headers, i386): 7z filters it with
// BCJ, or BCJ2 at -mx=9.
inline std::string X86Program(size_t codeSize, unsigned seed) {
  std::string h(0x200, '\0');
  h.replace(0, 2, "MZ"), h[0x3C] = char(0x80), h.replace(0x80, 2, "PE");
  // i386, one section, optional header size, executable 32-bit, PE32
  const std::pair<size_t, uint16_t> fields[] = {{0x84, 0x14C}, {0x86, 1}, {0x94, 0xE0}, {0x96, 0x102}, {0x98, 0x10B}};
  for (const auto& [at, value] : fields) h.replace(at, 2, LittleEndian(value, 2));
  return h + CodeLikeBytes(codeSize, seed);
}

// Code of other processors: the branch and address forms that the ARM, ARMT, ARM64, PPC,
// SPARC and RISCV filters convert, among plain words.
inline std::string BranchLikeBytes(size_t size, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s;
  auto le = [&s](uint32_t v) { s += LittleEndian(v, 4); };
  auto be = [&s](uint32_t v) { s += {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
  while (s.size() < size) {
    uint32_t r = gen(), reg = 1 + gen() % 31;
    switch (gen() % 10) {
      case 0: le(0xEB000000 | (r & 0xFFFFFF)); break;                         // ARM BL
      case 1: le(0xF800F000 | (r & 0x07FF07FF)); break;                       // Thumb BL pair
      case 2: le(0x94000000 | (r & 0x03FFFFFF)); break;                       // ARM64 BL
      case 3: le(0x90000000 | (r & 0x60FFFFFF)); break;                       // ARM64 ADRP, near and far pages
      case 4: le(0x6F | (gen() % 2 ? 1 : 5) << 7 | (r & 0xFFFFF000)); break;  // RISCV JAL ra/t0
      case 5:  // RISCV AUIPC and the JALR or ADDI that uses its register (x2: the look-alike form)
        le(0x17 | reg << 7 | (r & 0xFFFFF000));
        le((gen() % 2 ? 0xE7 : 0x13 | reg << 7) | reg << 15 | (gen() & 0xFFF) << 20);
        break;
      case 6: be(0x48000001 | (r & 0x03FFFFFC)); break;                                      // PPC bl
      case 7: be(r % 2 ? 0x40000000 | (r & 0x3FFFFF) : 0x7FC00000 | (r & 0x3FFFFF)); break;  // SPARC call
      default: le(r % 3 ? r & 0x00FF00FF : r); break;
    }
  }
  s.resize(size);
  return s;
}

// Packs everything inside folder with 7z and the given switches.
inline void Make7z(const fs::path& folder, const fs::path& archive, const std::string& switches) {
  const std::string command = "cd " + Quoted(folder) + " && 7z a " + switches + " " + Quoted(archive) + " .";
  ASSERT_EQ(RunShell(command).status, 0) << switches;
}

// The packed stream 7z writes for one file of these bytes: behind the signature header, up
// to the plain header.
inline std::string PackedBy7z(const std::string& content, const std::string& switches) {
  ScratchFolder scratch;
  WriteBytes(scratch.Path() / "in" / "data", content);
  Make7z(scratch.Path() / "in", scratch.Path() / "a.7z", switches + " -mhc=off");
  const std::string archive = ReadBytes(scratch.Path() / "a.7z");
  uint64_t packedSize = 0;  // the next header's offset
  for (int i = 7; i >= 0; --i) packedSize = packedSize << 8 | uint8_t(archive[12 + i]);
  return archive.substr(32, size_t(packedSize));
}

// Each path below root mapped to its content; folders map to "<folder>".
inline std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> tree;
  if (!fs::exists(root)) return tree;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    tree[fs::relative(e.path(), root).string()] = e.is_directory() ? "<folder>" : ReadBytes(e.path());
  }
  return tree;
}

// Records every progress call (state 0: an entry starts, 1: bytes written) and asks to
// stop once stopAfter calls were made.
struct RecordingObserver : sevenzip::ExtractObserver {
  struct Call {
    unsigned state;
    std::string name;
    uint64_t size, written;
  };
  explicit RecordingObserver(size_t stopAfter = SIZE_MAX) : stopAfter(stopAfter) {}
  bool OnEntryStart(const sevenzip::ExtractProgress& p) override { return Record(0, p); }
  bool OnEntryWritten(const sevenzip::ExtractProgress& p) override { return Record(1, p); }
  bool Record(unsigned state, const sevenzip::ExtractProgress& p) {
    calls.push_back({state, p.name, p.size, p.written});
    return calls.size() < stopAfter;
  }
  size_t stopAfter;
  std::vector<Call> calls;
};

// Extracts through the command line exactly as the installer builds it.
inline int Extract(const fs::path& archive, const fs::path& target, sevenzip::ExtractObserver* observer = nullptr) {
  RecordingObserver none;
  const std::string line = "x \"" + archive.string() + "\" -hide -y \"" + target.string() + "/\" *";
  return sevenzip::RunSevenZipCommand(line, observer ? *observer : none);
}

}  // namespace sevenzip_test
