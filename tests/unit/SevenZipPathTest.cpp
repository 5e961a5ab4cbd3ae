#include <gtest/gtest.h>

#include "EntryPath.h"
#include "SevenZipTestFiles.h"
#include "SevenZipTinyWriter.h"
#include "TargetFolder.h"
#include "platform/Utf8Text.h"
#include "extract/Extraction.h"

namespace {

using namespace sevenzip_test;

TEST(SevenZipPath, SplitsSafeNamesAndRefusesEscapes) {
    const struct {
        std::u16string name;
        std::vector<std::u16string> parts;
    } safe[] = {
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
    for (const auto& c : safe) EXPECT_EQ(sevenzip::SafePathParts(c.name), c.parts) << Utf16ToUtf8(c.name);
    // Ways out of the target folder, drive and stream names, parts Windows trims to dots,
    // and device names, whatever their case, extension, trailing blanks or superscript digit.
    const std::u16string refused[] = {
        u"",     u"/",           u"../x",        u"a/../../x", u"/etc/passwd", u"\\\\server\\share\\x", u"C:\\x",
        u"c:x",  u"a/b:stream",  u"... /x",      u"a/.. /x",   u"CON",         u"dir/nul.txt",        u"aux.tar.gz",
        u"CON.", u"prn  ",       u"Com1 .log",   u"lpt9/x",    u"CONOUT$",     u"COM\u00B9",         u"./..",
        u"a/./../.."};
    for (const auto& name : refused) EXPECT_FALSE(sevenzip::SafePathParts(name)) << Utf16ToUtf8(name);
}

// What other archivers put into a header that 7z never writes.
TEST(SevenZipPath, PlacesEveryEntryAs7zDoes) {
    const struct {
        std::u16string name;
        bool isDirectory;
        const char* posix;    // nullptr: refused
        const char* windows;  // Windows drops the last dots and blanks of a name
    } cases[] = {
        {u"./dir/file.txt", false, "dir/file.txt", "dir\\file.txt"},
        {u".", true, "", ""},
        {u".", false, nullptr, nullptr},  // a file cannot be the target folder
        {u"", false, "package", "package"},  // no name: the archive's
        {u"dir/", false, "dir", "dir"},
        {u"a. /b..", true, "a. /b..", "a\\b"},
        {u"/abs", true, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const sevenzip::Entry entry{.name = c.name, .isDirectory = c.isDirectory};
        for (bool windows : {false, true}) {
            const char* expected = windows ? c.windows : c.posix;
            auto path = sevenzip::EntryRelativePath(entry, u"package", windows ? '\\' : '/', windows);
            EXPECT_EQ(path.has_value(), expected != nullptr) << Utf16ToUtf8(c.name);
            if (path && expected) EXPECT_EQ(*path, expected) << Utf16ToUtf8(c.name);
        }
    }
    EXPECT_EQ(sevenzip::UnnamedEntryName("C:\\Temp\\a.b.7z"), u"a.b");
    EXPECT_EQ(sevenzip::UnnamedEntryName("/tmp/.7z"), u".7z");
}

TEST(SevenZipPath, ArchiveWithEscapingNameIsRefusedWhole) {
    const std::u16string names[] = {u"dir/second.txt", u"sub/../../x", u"C:\\x", u"..\\x"};
    for (const auto& name : names) {
        SCOPED_TRACE(Utf16ToUtf8(name));
        ScratchFolder scratch;
        fs::path archive = scratch.Path() / "crafted.7z", target = scratch.Path() / "a" / "target";
        auto bytes = WriteTinyArchive({{u"first.txt", "first"}, {name, "second"}});
        WriteBytes(archive, std::string(bytes.begin(), bytes.end()));
        if (name == names[0]) {  // the writer's archives are sound apart from what a case spoils
            ASSERT_EQ(RunShell("7z t " + Quoted(archive)).status, 0);
            ASSERT_EQ(Extract(archive, target), sevenzip::kResultOk);
            EXPECT_EQ(ReadBytes(target / "dir" / "second.txt"), "second");
            continue;
        }
        EXPECT_FALSE(sevenzip::CheckArchiveFile(archive.string()));
        EXPECT_EQ(Extract(archive, target), sevenzip::kResultUnsafePath);
        // Nothing written anywhere: not even the harmless first entry.
        EXPECT_EQ(Tree(scratch.Path()).size(), 1u);
    }
}

// A link planted below the target folder is never written through, whatever it points at.
TEST(SevenZipPath, NeverWritesThroughALinkInTheTarget) {
    const struct {
        const char* link;  // below the target folder
        const char* linkTo;
        std::u16string entry;
    } cases[] = {
        {"sub", "outside", u"sub/x.txt"},         {"deep", "outside", u"deep/new/x.txt"},
        {"file.txt", "outside/victim.txt", u"file.txt"}, {"dangling.txt", "outside/missing.txt", u"dangling.txt"},
        {"folder", "outside", u"folder/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.link);
        ScratchFolder scratch;
        const fs::path target = scratch.Path() / "target", outside = scratch.Path() / "outside";
        WriteBytes(outside / "victim.txt", "kept");
        fs::create_directories(target);
        fs::create_symlink(scratch.Path() / c.linkTo, target / c.link);
        auto bytes = WriteTinyArchive({{c.entry, "new"}});
        WriteBytes(scratch.Path() / "planted.7z", std::string(bytes.begin(), bytes.end()));
        EXPECT_EQ(Extract(scratch.Path() / "planted.7z", target), sevenzip::kResultWriteFailed);
        EXPECT_EQ(Tree(outside), (std::map<std::string, std::string>{{"victim.txt", "kept"}}));
    }
}

// Inside the library the target folder is UTF-8, whose bytes never hold a stray "\".
TEST(SevenZipPath, TargetFolderSplitsAtWholeCharacters) {
    const std::string utf8 = Utf16ToUtf8(u"D:\\嘰\\한국어\\");
    const struct {
        std::string path;
        char separator;
        std::vector<std::string> steps;
    } cases[] = {
        {utf8, '\\', {"D:", utf8.substr(0, 6), utf8.substr(0, utf8.size() - 1)}},
        {"\\\\server\\share\\x\\", '\\', {"\\\\server", "\\\\server\\share", "\\\\server\\share\\x"}},
        {"/tmp//x/", '/', {"/tmp", "/tmp//x"}},
    };
    for (const auto& c : cases) EXPECT_EQ(sevenzip::FolderTreeSteps(c.path, c.separator), c.steps) << c.path;
}

// Names travel as UTF-8 to the file calls; sound names in many scripts are in
// SevenZipArchiveTest's tree.
TEST(SevenZipPath, Utf8RefusesMalformedBytesAndCutsAtWholeCharacters) {
    // Overlong forms, a surrogate, a lone continuation byte and a cut sequence are no UTF-8.
    EXPECT_EQ(Utf8ToUtf16("a\xC0\xAF\xED\xA0\x80\x80\xE4\xB8"), u"a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    const std::string korean = Utf16ToUtf8(u"한국어");  // three bytes a character
    const struct {
        size_t max;
        size_t kept;
    } prefixes[] = {{9, 9}, {8, 6}, {6, 6}, {2, 0}, {100, 9}};
    for (const auto& p : prefixes) EXPECT_EQ(Utf8Prefix(korean, p.max), korean.substr(0, p.kept)) << p.max;
}

// The installer's command line, exactly, and the library reading its two paths back.
TEST(SevenZipCommand, ReadsTheCommandTheInstallerWrites) {
    const struct {
        const char *archive, *folder, *line;
    } cases[] = {
        {"C:\\Temp\\188.7z", "D:\\岚舟软件\\象棋\\", "x \"C:\\Temp\\188.7z\" -hide -y \"D:\\岚舟软件\\象棋\\\" *"},
        {"C:\\My Temp\\188.7z", "D:\\Program Files\\X", "x \"C:\\My Temp\\188.7z\" -hide -y \"D:\\Program Files\\X\\\" *"},
        // 誠 ends with the byte 0x5C: still no backslash of its own.
        {"C:\\t\\1.7z", "D:\\誠", "x \"C:\\t\\1.7z\" -hide -y \"D:\\誠\\\" *"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractionCommandLine(c.archive, c.folder), c.line);
        const auto command = sevenzip::ParseSevenZipCommand(c.line);
        ASSERT_TRUE(command.has_value()) << c.line;
        EXPECT_EQ(command->archive, c.archive);
        EXPECT_EQ(c.line, "x \"" + command->archive + "\" -hide -y \"" + command->targetFolder + "\" *");
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
