#include <gtest/gtest.h>

#include "EntryPath.h"
#include "SevenZipTestFiles.h"
#include "SevenZipTinyWriter.h"
#include "TargetFolder.h"
#include "TextConversion.h"
#include "extract/ExtractionCommand.h"

namespace {

using namespace sevenzip_test;

TEST(SevenZipPath, SplitsSafeNamesAndRefusesEscapes) {
    const struct {
        std::u16string name;
        std::vector<std::u16string> parts;
    } safe[] = {
        {u"dir/sub\\file", {u"dir", u"sub", u"file"}},
        {u"./a//b/", {u"a", u"b"}},
        {u"..foo/x..", {u"..foo", u"x.."}},
        {u"文档/说明.txt", {u"文档", u"说明.txt"}},
        {u"CONSOLE", {u"CONSOLE"}},
        {u"COM10.txt", {u"COM10.txt"}},
        {u"xnul", {u"xnul"}},
    };
    for (const auto& c : safe) EXPECT_EQ(sevenzip::SafePathParts(c.name), c.parts) << sevenzip::Utf16ToUtf8(c.name);
    // Ways out of the target folder, drive and stream names, parts Windows trims to dots,
    // and device names, whatever their case, extension, trailing blanks or superscript digit.
    const std::u16string refused[] = {
        u"",     u".",           u"../x",        u"a/../../x", u"/etc/passwd", u"\\\\server\\share\\x", u"C:\\x",
        u"c:x",  u"a/b:stream",  u"... /x",      u"a/.. /x",   u"CON",         u"dir/nul.txt",        u"aux.tar.gz",
        u"CON.", u"prn  ",       u"Com1 .log",   u"lpt9/x",    u"CONOUT$",     u"COM\u00B9"};
    for (const auto& name : refused) EXPECT_FALSE(sevenzip::SafePathParts(name)) << sevenzip::Utf16ToUtf8(name);
}

TEST(SevenZipPath, ArchiveWithEscapingNameIsRefusedWhole) {
    const std::u16string names[] = {u"dir/second.txt", u"sub/../../x", u"C:\\x", u"..\\x"};
    for (const auto& name : names) {
        SCOPED_TRACE(sevenzip::Utf16ToUtf8(name));
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

// Target folders are GBK text: 0x5C as the second byte of "嘰" is no separator.
TEST(SevenZipPath, TargetFolderSplitsAtWholeCharacters) {
    struct Case {
        std::string path;
        char separator;
        std::vector<std::string> steps;
        bool endsWithSeparator;
    };
    const Case cases[] = {
        {"D:\\嘰\\软件\\", '\\', {"D:", "D:\\嘰", "D:\\嘰\\软件"}, true},
        {"D:\\软件\\嘰", '\\', {"D:", "D:\\软件", "D:\\软件\\嘰"}, false},
        {"\\\\server\\share\\x\\", '\\', {"\\\\server", "\\\\server\\share", "\\\\server\\share\\x"}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sevenzip::FolderTreeSteps(c.path, c.separator), c.steps) << c.path;
        EXPECT_EQ(sevenzip::EndsWithSeparator(c.path), c.endsWithSeparator) << c.path;
    }
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
    for (const char* line : {"x \"a.7z\" -y \"D:\\嘰\" *", "e \"a.7z\" -y \"out\\\" *", "x \"a.7z\" -hide -y *",
                             "x \"a.7z\" -hide -y -pSecret \"out\\\" *", "x \"a.7z\" -y \"out\\\" *.txt"}) {
        EXPECT_FALSE(sevenzip::ParseSevenZipCommand(line).has_value()) << line;
    }
}

}  // namespace
