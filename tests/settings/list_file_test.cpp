#include "settings/list_file.h"

#include <gtest/gtest.h>

#include "platform/text_lines.h"

namespace settings {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitTextLines, LineRules) {
  struct Case {
    std::string bytes;
    Lines lines;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"*.tmp", {"*.tmp"}},
      {"*.tmp\r\n", {"*.tmp"}},
      {"*.tmp\r\n*.chk\r\n", {"*.tmp", "*.chk"}},
      {"*.tmp\r\n*.chk", {"*.tmp", "*.chk"}},  // last line without a break
      {"*.tmp\r\n\r\n", {"*.tmp", ""}},        // a final empty line is an entry
      {"\r\n", {""}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},  // empty line in the middle
      {"a\nb\n", {"a", "b"}},              // bare LF
      {"a\rb\r\n", {"ab"}},                // lone CR dropped
      {"a\r", {"a"}},
      {"  padded  \r\n", {"  padded  "}},  // blanks kept
      {"a\r\nb\x1A"
       "c\r\nd\r\n",
       {"a", "b"}},  // Ctrl-Z ends the file
      {"\x1A"
       "a\r\n",
       {}},
      {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
      {"\xCE\x91\xCE\x92.tmp\r\n", {"\xCE\x91\xCE\x92.tmp"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::SplitTextLines(c.bytes), c.lines) << c.bytes;
}

TEST(FormatListFile, CrLfAfterEveryEntryAndRoundTrips) {
  EXPECT_EQ(FormatListFile({}), "");
  EXPECT_EQ(FormatListFile({""}), "\r\n");
  const Lines entries = {"*.tmp", "", " a b ", "\xC3\x84.txt"};
  EXPECT_EQ(FormatListFile(entries), "*.tmp\r\n\r\n a b \r\n\xC3\x84.txt\r\n");
  EXPECT_EQ(platform::SplitTextLines(FormatListFile(entries)), entries);
}

TEST(LowerAsciiLetters, OnlyAToZChange) {
  EXPECT_EQ(LowerAsciiLetters("THUMBS.DB"), "thumbs.db");
  EXPECT_EQ(LowerAsciiLetters("\xC3\x84RGER.TXT"), "\xC3\x84rger.txt");  // Ä stays
  EXPECT_EQ(LowerAsciiLetters("\xCE\x91@[`{Z"), "\xCE\x91@[`{z");
  EXPECT_EQ(ExceptionListLowerOf({"A.B", "c.D"}), (Lines{"a.b", "c.d"}));
}

}  // namespace
}  // namespace settings
