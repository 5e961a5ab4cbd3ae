#include <gtest/gtest.h>

#include "EntryPath.h"
#include "SevenZipTestFiles.h"
#include "SevenZipTinyWriter.h"
#include "TargetFolder.h"
#include "extract/Extraction.h"
#include "platform/Utf8Text.h"

namespace {

using namespace sevenzip_test;

TEST(SevenZipPath, SplitsSafeNamesAndRefusesEscapes) {
  const std::pair<std::u16string, std::vector<std::u16string>> safe[] = {
      {u"dir/sub\\file", {u"dir", u"sub", u"file"}},
      {u"./a//b/", {u"a", u"b"}},
      {u".", {}},  // the folder packed, as bsdtar names it: the target folder itself
      {u"./", {}},
      // Look-alikes of ":", "/", "\\" and ".." are plain characters to the wide calls.
      {u"a\uFF1Ab/\uFF0E\uFF0E", {u"a\uFF1Ab", u"\uFF0E\uFF0E"}},
      {u"x\u2215y\u2044z\uFF3C\u2025", {u"x\u2215y\u2044z\uFF3C\u2025"}},
      {u"\uFF23\uFF2F\uFF2E/COM\u2074", {u"\uFF23\uFF2F\uFF2E", u"COM\u2074"}},
      {u"..foo/x..", {u"..foo", u"x.."}},
      {u"CONSOLE", {u"CONSOLE"}},
      {u"COM10.txt", {u"COM10.txt"}},
      {u"xnul", {u"xnul"}},
  };
  for (const auto& [name, parts] : safe) EXPECT_EQ(sevenzip::SafePathParts(name), parts) << Utf16ToUtf8(name);
  // Ways out of the target folder, drive and stream names, parts Windows trims to dots,
  // and device names, whatever their case, extension, trailing blanks or superscript digit.
  const std::u16string refused[] = {
      u"",          u"/",      u"../x",    u"a/../../x", u"/etc/passwd", u"\\\\s\\sh\\x", u"C:\\x", u"c:x",
      u"a/b:s",     u"... /x", u"a/.. /x", u"CON",       u"dir/nul.txt", u"aux.tar.gz",   u"CON.",  u"prn  ",
      u"Com1 .log", u"lpt9/x", u"CONOUT$", u"COM\u00B9", u"./..",        u"a/./../.."};
  for (const auto& name : refused) EXPECT_FALSE(sevenzip::SafePathParts(name)) << Utf16ToUtf8(name);
}

// What other archivers put into a header that 7z never writes.
TEST(SevenZipPath, PlacesEveryEntryAs7zDoes) {
  // The path on POSIX and on Windows, nullptr when refused; Windows drops the last dots and
  // blanks of a name.
  const std::tuple<std::u16string, bool, const char*, const char*> cases[] = {
      {u"./dir/file.txt", false, "dir/file.txt", "dir\\file.txt"},
      {u".", true, "", ""},
      {u".", false, nullptr, nullptr},     // a file cannot be the target folder
      {u"", false, "package", "package"},  // no name: the archive's
      {u"dir/", false, "dir", "dir"},
      {u"a. /b..", true, "a. /b..", "a\\b"},
      {u"/abs", true, nullptr, nullptr},
  };
  for (const auto& [name, isDirectory, onPosix, onWindows] : cases) {
    const sevenzip::Entry entry{.name = name, .isDirectory = isDirectory};
    for (bool windows : {false, true}) {
      const char* expected = windows ? onWindows : onPosix;
      auto path = sevenzip::EntryRelativePath(entry, u"package", windows ? '\\' : '/', windows);
      EXPECT_EQ(path.value_or("(refused)"), expected ? expected : "(refused)") << Utf16ToUtf8(name);
    }
  }
  EXPECT_EQ(sevenzip::UnnamedEntryName("C:\\Temp\\a.b.7z"), u"a.b");
  EXPECT_EQ(sevenzip::UnnamedEntryName("/tmp/.7z"), u".7z");
}

// One entry leading out refuses the whole archive: nothing is written, not even the
// harmless first entry. The first row is sound.
TEST(SevenZipPath, ArchiveWithEscapingNameIsRefusedWhole) {
  for (const std::u16string name : {u"dir/second.txt", u"sub/../../x", u"C:\\x", u"..\\x"}) {
    SCOPED_TRACE(Utf16ToUtf8(name));
    ScratchFolder scratch;
    const fs::path archive = scratch.Path() / "crafted.7z", target = scratch.Path() / "a" / "target";
    WriteBytes(archive, WriteTinyArchive({{u"first.txt", "first"}, {name, "second"}}));
    const bool sound = name == u"dir/second.txt";
    ASSERT_TRUE(!sound || RunShell("7z t " + Quoted(archive)).status == 0);
    EXPECT_EQ(sevenzip::CheckArchiveFile(archive.string()), sound);
    EXPECT_EQ(Extract(archive, target), sound ? sevenzip::kResultOk : sevenzip::kResultUnsafePath);
    EXPECT_EQ(Tree(scratch.Path()).size(), sound ? 6u : 1u);
  }
}

// A link planted below the target folder is never written through, whatever it points at.
TEST(SevenZipPath, NeverWritesThroughALinkInTheTarget) {
  // A link below the target folder, what it points at, the entry.
  const std::tuple<const char*, const char*, std::u16string> cases[] = {
      {"sub", "outside", u"sub/x.txt"},
      {"deep", "outside", u"deep/new/x.txt"},
      {"file.txt", "outside/victim.txt", u"file.txt"},
      {"dangling.txt", "outside/missing.txt", u"dangling.txt"},
      {"folder", "outside", u"folder/"},
  };
  for (const auto& [link, linkTo, entry] : cases) {
    SCOPED_TRACE(link);
    ScratchFolder scratch;
    const fs::path target = scratch.Path() / "target", outside = scratch.Path() / "outside";
    WriteBytes(outside / "victim.txt", "kept");
    fs::create_directories(target);
    fs::create_symlink(scratch.Path() / linkTo, target / link);
    WriteBytes(scratch.Path() / "planted.7z", WriteTinyArchive({{entry, "new"}}));
    EXPECT_EQ(Extract(scratch.Path() / "planted.7z", target), sevenzip::kResultWriteFailed);
    EXPECT_EQ(Tree(outside), (std::map<std::string, std::string>{{"victim.txt", "kept"}}));
  }
}

// Inside the library the target folder is UTF-8, whose bytes never hold a stray "\".
TEST(SevenZipPath, TargetFolderSplitsAtWholeCharacters) {
  const std::string utf8 = Utf16ToUtf8(u"D:\\嘰\\한국어\\");
  const std::tuple<std::string, char, std::vector<std::string>> cases[] = {
      {utf8, '\\', {"D:", utf8.substr(0, 6), utf8.substr(0, utf8.size() - 1)}},
      {"\\\\server\\share\\x\\", '\\', {"\\\\server", "\\\\server\\share", "\\\\server\\share\\x"}},
      {"/tmp//x/", '/', {"/tmp", "/tmp//x"}},
  };
  for (const auto& [path, separator, steps] : cases)
    EXPECT_EQ(sevenzip::FolderTreeSteps(path, separator), steps) << path;
}

// The installer's command line, exactly, and the library reading its two paths back.
TEST(SevenZipCommand, ReadsTheCommandTheInstallerWrites) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"C:\\Temp\\188.7z", "D:\\岚舟软件\\象棋\\", "x \"C:\\Temp\\188.7z\" -hide -y \"D:\\岚舟软件\\象棋\\\" *"},
      {"C:\\My T\\188.7z", "D:\\My Apps\\X", "x \"C:\\My T\\188.7z\" -hide -y \"D:\\My Apps\\X\\\" *"},
      // 誠 ends with the byte 0x5C: still no backslash of its own.
      {"C:\\t\\1.7z", "D:\\誠", "x \"C:\\t\\1.7z\" -hide -y \"D:\\誠\\\" *"},
  };
  for (const auto& [archive, folder, line] : cases) {
    EXPECT_EQ(ExtractionCommandLine(archive, folder), line);
    const auto command = sevenzip::ParseSevenZipCommand(line);
    ASSERT_TRUE(command.has_value()) << line;
    EXPECT_EQ(command->archive, archive);
    EXPECT_EQ(line, "x \"" + command->archive + "\" -hide -y \"" + command->targetFolder + "\" *");
  }
  // Other spellings of it, and what the library refuses: no backslash at the target's
  // end, another command, no target, a password, a selection of files.
  const auto other = sevenzip::ParseSevenZipCommand("X \"a.7z\" \"out\\\" *.*");
  ASSERT_TRUE(other.has_value());
  EXPECT_EQ(other->archive + " " + other->targetFolder, "a.7z out\\");
  for (const char* line : {"x \"a.7z\" -y \"D:\\out\" *", "e \"a.7z\" -y \"out\\\" *", "x \"a.7z\" -hide -y *",
                           "x \"a.7z\" -hide -y -pSecret \"out\\\" *", "x \"a.7z\" -y \"out\\\" *.txt"}) {
    EXPECT_FALSE(sevenzip::ParseSevenZipCommand(line).has_value()) << line;
  }
}

}  // namespace
