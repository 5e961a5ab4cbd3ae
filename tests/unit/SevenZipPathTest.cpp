#include <gtest/gtest.h>

#include "EntryPath.h"
#include "TextConversion.h"
#include "SevenZipTestFiles.h"
#include "TargetFolder.h"
#include "SevenZipTinyWriter.h"

namespace {

using namespace sevenzip_test;

TEST(SevenZipPath, SplitsSafeNamesAndRefusesEscapes) {
    struct Case {
        std::u16string name;
        std::vector<std::u16string> parts;  // empty: refused
    };
    const Case cases[] = {
        {u"dir/sub\\file", {u"dir", u"sub", u"file"}},
        {u"./a//b/", {u"a", u"b"}},
        {u"..foo/x..", {u"..foo", u"x.."}},
        {u"文档/说明.txt", {u"文档", u"说明.txt"}},
        {u"", {}},
        {u".", {}},
        {u"../x", {}},
        {u"a/../../x", {}},
        {u"/etc/passwd", {}},
        {u"\\\\server\\share\\x", {}},
        {u"C:\\x", {}},
        {u"c:x", {}},
        {u"a/b:stream", {}},
        {u"... /x", {}},
        {u"a/.. /x", {}},
        {u"CON", {}},
        {u"dir/nul.txt", {}},
        {u"aux.tar.gz", {}},
        {u"CON.", {}},
        {u"prn  ", {}},
        {u"Com1 .log", {}},
        {u"lpt9/x", {}},
        {u"CONOUT$", {}},
        {u"COM\u00B9", {}},
        {u"CONSOLE", {u"CONSOLE"}},
        {u"COM10.txt", {u"COM10.txt"}},
        {u"xnul", {u"xnul"}},
    };
    for (const auto& c : cases) {
        auto parts = sevenzip::SafePathParts(c.name);
        if (c.parts.empty()) {
            EXPECT_FALSE(parts.has_value()) << sevenzip::Utf16ToUtf8(c.name);
        } else {
            ASSERT_TRUE(parts.has_value()) << sevenzip::Utf16ToUtf8(c.name);
            EXPECT_EQ(*parts, c.parts) << sevenzip::Utf16ToUtf8(c.name);
        }
    }
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

TEST(SevenZipCommand, ParsesTheInstallersCommandOnly) {
    struct Case {
        const char* line;
        const char* archive;  // nullptr: refused
        const char* target;
    };
    const Case cases[] = {
        {"x \"C:\\Temp\\188.7z\" -hide -y \"D:\\岚舟软件\\App\\\" *", "C:\\Temp\\188.7z", "D:\\岚舟软件\\App\\"},
        {"x \"C:\\My Files\\a b.7z\" -hide -y \"C:\\Program Files\\A B\\\" *", "C:\\My Files\\a b.7z",
         "C:\\Program Files\\A B\\"},
        {"X \"a.7z\" \"out\\\" *.*", "a.7z", "out\\"},
        {"x \"a.7z\" -y \"D:\\嘰\" *", nullptr, nullptr},
        {"e \"a.7z\" -y \"out\\\" *", nullptr, nullptr},
        {"x \"a.7z\" -hide -y *", nullptr, nullptr},
        {"x \"a.7z\" -hide -y -pSecret \"out\\\" *", nullptr, nullptr},
        {"x \"a.7z\" -y \"out\\\" *.txt", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        auto command = sevenzip::ParseSevenZipCommand(c.line);
        if (!c.archive) {
            EXPECT_FALSE(command.has_value()) << c.line;
            continue;
        }
        ASSERT_TRUE(command.has_value()) << c.line;
        EXPECT_EQ(command->archive, c.archive);
        EXPECT_EQ(command->targetFolder, c.target);
    }
}

}  // namespace
