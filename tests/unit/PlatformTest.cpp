#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <tuple>
#include <vector>

#include "TestFiles.h"
#include "platform/File.h"
#include "platform/GbkText.h"
#include "platform/HeldFileRetry.h"
#include "platform/Sha256Extensions.h"
#include "platform/TextSearch.h"
#include "platform/TextSplit.h"
#include "platform/Utf8Text.h"

namespace {

using namespace testfiles;
using namespace std::string_literals;

// Each case starts in a fresh folder holding "old"; what is left: old|new|moved, "-" for no file.
TEST(PlatformFile, ActsOnTheFileItHoldsNeverOnWhatStandsAtItsName) {
  const std::tuple<const char*, std::function<bool(File&, const std::string&)>, std::string> cases[] = {
      {"created new, never over a file", [](File& f, auto& d) { return !f.CreateNew(d + "old"); }, "0123456789|-|-"},
      {"written in place, never truncated",
       [](File& f, auto& d) { return f.OpenWrite(d + "old") && f.WriteAt(12, "ab", 2); }, "0123456789\0\0ab|-|-"s},
      {"renamed through the handle, never over a file",
       [](File& f, auto& d) {
         return f.CreateNew(d + "new") && !f.RenameTo(d + "old") && f.RenameTo(d + "moved") && f.WriteAt(0, "x", 1);
       },
       "0123456789|-|x"},
      {"deleted through the handle after a rename",
       [](File& f, auto& d) { return f.CreateNew(d + "new") && f.RenameTo(d + "moved") && (f.Delete(), true); },
       "0123456789|-|-"},
      {"a file that took the name since is not deleted",
       [](File& f, auto& d) {
         return f.CreateReplacing(d + "new") && !std::rename((d + "old").c_str(), (d + "new").c_str()) &&
                (f.Delete(), true);
       },
       "-|0123456789|-"},
      {"deleted by name, read-only or missing",
       [](File&, auto& d) {
         return !chmod((d + "old").c_str(), 0444) && DeleteFileNamed(d + "old") && DeleteFileNamed(d + "old");
       },
       "-|-|-"},
  };
  for (const auto& [name, steps, leftOver] : cases) {
    ScratchFolder scratch;
    const std::string d = scratch.Path().string() + "/";
    WriteBytes(d + "old", "0123456789");
    File file;
    EXPECT_TRUE(steps(file, d)) << name;
    std::string left;
    for (const char* name : {"old", "new", "moved"})
      left += (*name == 'o' ? "" : "|") + (fs::exists(d + name) ? ReadBytes(d + name) : "-");
    EXPECT_EQ(left, leftOver) << name;
  }
}

// The one edge between the program's GBK texts and Windows' wide calls (and the publisher's
// UTF-8): each text comes back as the compiler wrote it.
TEST(GbkText, ProgramTextsRoundTripThroughUtf16AndUtf8) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"浏览(&B).....", u"浏览(&B)....."},
      {"　　　－－－－感谢你使用【岚舟软件】“”", u"　　　－－－－感谢你使用【岚舟软件】“”"},
      {"C:\\Program Files\\多语测试\\", u"C:\\Program Files\\多语测试\\"},
  };
  for (const auto& [gbk, utf16] : cases) {
    EXPECT_TRUE(Utf16FromGbk(gbk) == utf16) << gbk;
    EXPECT_EQ(GbkFromUtf16(utf16), gbk);
    EXPECT_EQ(Utf8ToGbk(GbkToUtf8(gbk)), gbk);
  }
  // Half a character shows as a replacement; a character without a GBK form has no GBK text,
  // or shows as "?" where it is only shown.
  EXPECT_TRUE(Utf16FromGbk(std::string("岚舟").substr(0, 3)) == u"岚\uFFFD");
  EXPECT_EQ(GbkToUtf8(std::string("岚舟").substr(0, 3)), "\xE5\xB2\x9A?");
  EXPECT_EQ(GbkFromUtf16(u"한국어"), std::nullopt);
  EXPECT_EQ(Utf8ToGbk("\xED\x95\x9C"), std::nullopt);
  EXPECT_EQ(GbkShownFromUtf8("bin\\\xED\x95\x9C\xE5\xB2\x9A.exe"), "bin\\?岚.exe");
  // Overlong forms, a surrogate, a lone continuation byte and a cut sequence are no UTF-8;
  // a prefix ends at a whole character.
  EXPECT_EQ(Utf8ToUtf16("a\xC0\xAF\xED\xA0\x80\x80\xE4\xB8"), u"a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
  const std::string korean = Utf16ToUtf8(u"한국어");  // three bytes a character
  const size_t prefixes[][2] = {{9, 9}, {8, 6}, {6, 6}, {2, 0}, {100, 9}};
  for (const auto& [max, kept] : prefixes) EXPECT_EQ(Utf8Prefix(korean, max), korean.substr(0, kept)) << max;
}

// The clock moves by each pause and by each try's own time; the user may stop at a pause.
TEST(HeldFileRetry, WaitsOnlyForAHeldFileAndOnlyWithinTheBound) {
  struct Clock : RetryClock {
    uint32_t now = 0;
    int pauses = 0, stopAtPause = 0;  // 0: never
    uint32_t NowMs() override { return now; }
    bool Pause(uint32_t milliseconds) override { return now += milliseconds, ++pauses != stopAtPause; }
  };
  const struct {
    const char* name;
    std::vector<uint32_t> errors;  // per try, 0 for success; the last one repeats
    uint32_t tryMs;
    int stopAtPause, tries;
    bool done;
    uint32_t lastedMs;
  } cases[] = {
      {"free at once", {0}, 0, 0, 1, true, 0},
      {"sharing violation, access denied, lock violation, then free", {32, 5, 33, 0}, 0, 0, 4, true, 300},
      {"a missing file is final", {2, 0}, 0, 0, 1, false, 0},
      {"a full disk is final", {112, 0}, 0, 0, 1, false, 0},
      {"held for good: given up at the bound", {32}, 0, 0, 101, false, 10000},
      {"slow tries count toward the bound", {32}, 3000, 0, 4, false, 12300},
      {"the user stops during the third pause", {32}, 0, 3, 3, false, 300},
  };
  for (const auto& c : cases) {
    Clock clock;
    clock.stopAtPause = c.stopAtPause;
    int tries = 0;
    const bool done = RetryWhileHeld(clock, [&] {
      const uint32_t error = c.errors[std::min<std::size_t>(tries++, c.errors.size() - 1)];
      clock.now += c.tryMs;
      return error == 0 ? FileAnswer::Done : AnswerForError(error);
    });
    EXPECT_EQ(std::tuple(done, tries, clock.now), std::tuple(c.done, c.tries, c.lastedMs)) << c.name;
  }
}

TEST(TextHelpers, SplitReplaceAndSearch) {
  // The pieces; {"kept"}: -1, the list left as it was.
  const std::tuple<const char*, const char*, std::vector<std::string>> splits[] = {
      {"a,b,", ",", {"a", "b", ""}}, {"a\r\nb", "\r\n", {"a", "b"}}, {"abc", "", {"abc"}}, {"", ",", {"kept"}}};
  for (const auto& [text, delimiter, pieces] : splits) {
    std::vector<std::string> list{"kept"};
    EXPECT_EQ(SplitText(text, delimiter, list), *text ? int(pieces.size()) : -1) << text;
    EXPECT_EQ(list, pieces) << text;
  }
  EXPECT_EQ(ReplaceText("aaa", "a", "aa"), "aaaaaa");  // inserted text is not searched again
  EXPECT_EQ(ReplaceText("abc", "", "x"), "abc");
  EXPECT_EQ(TextBetween("k=1;k=2;", "k=", ";"), "1");
  EXPECT_EQ(TextBetween("k=1", "k=", ";"), "");
  EXPECT_EQ(TextAfter("k=1;k=2;", "k="), "1;k=2;");
  EXPECT_EQ(TextAfter("x=1", "k="), "");
}

TEST(ExtensionSha256, KnownDigestsWholeAndInUnevenPieces) {
  if (!ExtensionSha256::Available()) GTEST_SKIP() << "this CPU has no SHA extensions";
  const std::pair<std::string, const char*> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      // 56 bytes: the length no longer fits the block, so padding takes a second one.
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& [input, expected] : cases) {
    for (const size_t piece : {input.size() + 1, size_t(1), size_t(63), size_t(65), size_t(4097)}) {
      ExtensionSha256 hash;
      hash.Start();
      for (size_t at = 0; at < input.size(); at += piece)
        hash.Add(input.data() + at, std::min(piece, input.size() - at));
      uint8_t digest[32];
      hash.Finish(digest);
      char hex[65];
      for (int i = 0; i < 32; ++i) std::snprintf(hex + 2 * i, 3, "%02x", digest[i]);
      EXPECT_STREQ(hex, expected) << input.size() << " bytes in pieces of " << piece;
    }
  }
}

}  // namespace
