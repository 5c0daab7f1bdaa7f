#include "platform/wildcard.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/platform/reference_wildcard.h"

namespace platform {
namespace {

using reference_wildcard::ReferenceExpression;
using reference_wildcard::ReferenceMatches;

struct Case {
  const char* pattern;
  const char* name;
  bool matches;
};

void ExpectRows(const Case* begin, const Case* end) {
  for (const Case* row = begin; row != end; ++row) {
    EXPECT_EQ(MatchesWildcard(row->pattern, row->name), row->matches)
        << "pattern '" << row->pattern << "', name '" << row->name << "'";
  }
}

struct Worked {
  const char* pattern;
  const char* expression;  // nullptr where the table gives none
  const char* name;
  bool matches;
};

// The documented table of how Windows decides, row by row.
TEST(Wildcard, WorkedCases) {
  const Worked rows[] = {
      {"*.*", "*", "README", true},
      {"*.", "<", "README", true},
      {"*.", nullptr, "readme.txt", false},
      {"*.tmp", "<.TMP", "a.b.tmp", true},
      {"*.tmp", nullptr, "document.tmp123", false},
      {"*.tmp.", "<.TMP", "a.tmp", true},
      {"*.tm?", "<.TM>", "a.tm", true},
      {"*.tm?", nullptr, "a.tmp", true},
      {"*.tm?", nullptr, "a.tmpx", false},
      {"?.txt", ">.TXT", "ab.txt", false},
      {"?.txt", nullptr, ".txt", true},
      {"??.txt", nullptr, "a.txt", true},
      {"a*.*", "A<\"*", "a", true},
      {"a*.*", nullptr, "abc.def", true},
      {"*.?", "<\">", "abc", true},
      {"*.?", nullptr, "a.bc", false},
      {"*.?", nullptr, "a.b", true},
      {"~*.*", "~<\"*", "~", true},
      {"~*.*", nullptr, "a~b.tmp", false},
      {"~*.*", nullptr, "~WRL0001.tmp", true},
      {"*~*", "*~*", "Quarterly report.docx", false},
      {"*.bak", "<.BAK", "file.bakup", false},
      {"*.bak", nullptr, "FILE.BAK", true},
      {"*.$$$", "<.$$$", "x.$$$", true},
      {"thumbs.db", nullptr, "Thumbs.db", true},
  };
  for (const Worked& row : rows) {
    if (row.expression) {
      EXPECT_EQ(ReferenceExpression(row.pattern), row.expression);
    }
    EXPECT_EQ(ReferenceMatches(row.pattern, row.name), row.matches) << row.pattern;
    EXPECT_EQ(MatchesWildcard(row.pattern, row.name), row.matches)
        << "pattern '" << row.pattern << "', name '" << row.name << "'";
  }
}

TEST(Wildcard, PatternRewriting) {
  const Case rows[] = {
      // trailing dots and blanks go; only a final dot means "no extension"
      {"*.tmp  ", "a.tmp", true},
      {"thumbs.db .", "thumbs.db", true},
      {"*. ", "readme.txt", true},
      {"*. .", "readme.txt", false},
      {"*.*.", "readme.txt", true},
      {"*.*.", "README", true},
      {"?.", "a", true},
      {"?.", "ab", false},
      {"?.", "a.txt", false},
      {"a*.", "abc", true},
      {"a*.", "abc.txt", false},
      {"a*.", "ab.", true},
      {"*.", "a.b.c", false},
      {"*.", "a.b.", true},
      {"a.b*.", "a.b", true},
      {"a.b*.", "a.bc", false},
      // leading blanks are kept
      {" a", "a", false},
      {" a", " A", true},
      // nothing left to match with
      {"", "a", false},
      {".", "a", false},
      {". . ", "a", false},
      {"   ", "a", false},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(Wildcard, DosWildcards) {
  const Case rows[] = {
      // a star before a dot passes every dot but the last
      {"*.gz", "a.tar.gz", true},
      {"*.tar.gz", "x.tar.gz", true},
      {"*.tar", "x.tar.gz", false},
      {"*.b*", "a.b.c", true},
      {"*.b*", "a.c.b", true},
      {"*.b*", "a.c", false},
      {"x*.c", "x.b.c", true},
      {"x*.c", "x.c.d", false},
      // ? takes one non-dot character, and nothing at a dot or at the end
      {"a??.txt", "a.txt", true},
      {"a??.txt", "abc.txt", true},
      {"a??.txt", "abcd.txt", false},
      {"??", "a", true},
      {"??", "abc", false},
      {"a?b", "ab", false},
      {"a?b", "a.b", false},
      {"?a", ".a", false},
      {"?.a", ".a", true},
      {"a?", "a.", false},
      // a dot before a wildcard also matches the end of the name
      {"a.*", "a", true},
      {"a.*", "a.b", true},
      {"a.*", "ab", false},
      {"a.?", "a", true},
      {"a.?", "a.bc", false},
      {".*", ".hidden", true},
      {".*", "a.b", false},
      {"*", ".hidden", true},
      {"*.*", ".hidden", true},
      // < > " written in a pattern are the DOS wildcards themselves
      {"<.txt", "a.b.txt", true},
      {"<.txt", "a.txt.x", false},
      {"a\"b", "a.b", true},
      {">>.txt", "a.txt", true},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(Wildcard, LongNameOnly) {
  const Case rows[] = {
      {"docume~1.tmp", "document.tmp123", false},
      {"*~1*", "longfilename.txt", false},
      {"*.tmp", "DOCUME~1.TMP", true},
      {"*.htm", "page.html", false},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(Wildcard, UnicodeCase) {
  const Case rows[] = {
      {"*.", "\u00E9.txt", false},
      {"*.", "\u00E9", true},
      {"\u00C9*", "\u00E9cole.txt", true},
      {"*.\u03C3", "a.\u03A3", true},
      {"*\u03C2", "a\u03C3", true},  // final sigma
      {"\u043F\u0440\u0438*", "\u041F\u0420\u0418.txt", true},
      {"stra\u00DFe.txt", "STRASSE.TXT", false},
      {"stra\u00DFe.txt", "STRA\u00DFE.TXT", true},
      {"\uFB00*", "FF", false},
      {"\U00010428.txt", "\U00010428.TXT", true},  // astral: compared as is
      {"\U00010428", "\U00010400", false},
      {"\xED\xA0\x80?", "\xED\xA0\x80x", true},  // lone surrogate
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(Wildcard, RejectsUnusableInput) {
  const Case rows[] = {
      {"\xFF*", "a", false}, {"*\xC0\x80", "a\xC0\x80", false},
      {"*", "\xFF", false},  {"*", "a\xE2\x82", false},
      {"*", "", false},      {"*.", "", false},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(Wildcard, UpcaseChar) {
  const std::pair<char16_t, char16_t> rows[] = {
      {u'a', u'A'},           {u'Z', u'Z'},           {u'~', u'~'},
      {u'\u00E9', u'\u00C9'}, {u'\u00FF', u'\u0178'}, {u'\u03C3', u'\u03A3'},
      {u'\u03C2', u'\u03A3'}, {u'\u044F', u'\u042F'}, {u'\u01C5', u'\u01C4'},
      {u'\u00DF', u'\u00DF'}, {u'\uFB00', u'\uFB00'}, {u'\uFF41', u'\uFF21'},
      {0xD801, 0xD801},       {0xDC28, 0xDC28},       {u'\u00C9', u'\u00C9'},
  };
  for (const auto& [unit, upper] : rows) {
    EXPECT_EQ(static_cast<int>(UpcaseChar(unit)), static_cast<int>(upper)) << int{unit};
  }
}

// A FoldedName is reused across a listing; nothing of an earlier name may leak into the next.
TEST(Wildcard, FoldedNameReuse) {
  const WildcardPattern noExtension("*.");
  const WildcardPattern anyTmp("*.tmp");
  FoldedName name;
  name.Assign("a.very.long.name.tmp");
  EXPECT_TRUE(anyTmp.Matches(name));
  EXPECT_FALSE(noExtension.Matches(name));
  name.Assign("abc");
  EXPECT_TRUE(noExtension.Matches(name));
  EXPECT_FALSE(anyTmp.Matches(name));
  name.Assign("\xC3\xA9.tmp");
  EXPECT_TRUE(anyTmp.Matches(name));
  name.Assign("\xC3\xA9t\xC3\xA9");
  EXPECT_TRUE(noExtension.Matches(name));
  name.Assign("\xFF.tmp");
  EXPECT_FALSE(anyTmp.Matches(name));
  name.Assign("x.TMP");
  EXPECT_TRUE(anyTmp.Matches(name));
  name.Assign("");
  EXPECT_FALSE(WildcardPattern("*").Matches(name));
}

TEST(Wildcard, ManyStarsStayLinear) {
  const std::string aaa(5000, 'a');
  EXPECT_FALSE(MatchesWildcard("*a*a*a*a*a*a*a*a*a*a*b", aaa));
  EXPECT_TRUE(MatchesWildcard("*a*a*a*a*a*a*a*a*a*a*", aaa));
  EXPECT_FALSE(MatchesWildcard("*.*a*a*a*a*a*a*a*.b", aaa + "." + aaa));
  EXPECT_TRUE(MatchesWildcard("a?*?*?*?*?*?*?*?*?a", aaa));
}

// Around the size where the matcher switches from one machine word to a step list.
TEST(Wildcard, LongExpressions) {
  for (std::size_t steps = 61; steps <= 66; ++steps) {
    const std::string pattern(steps, '?');
    EXPECT_TRUE(MatchesWildcard(pattern, std::string(steps, 'y'))) << steps;
    EXPECT_TRUE(MatchesWildcard(pattern, std::string(steps - 1, 'y'))) << steps;
    EXPECT_FALSE(MatchesWildcard(pattern, std::string(steps + 1, 'y'))) << steps;
    EXPECT_TRUE(MatchesWildcard("*" + pattern + "z", std::string(steps, 'y') + "z")) << steps;
  }
}

class RandomText {
 public:
  explicit RandomText(unsigned seed) : rng_(seed) {}

  std::string Make(std::string_view alphabet, std::size_t maxLength, std::size_t minLength = 0) {
    std::string text(std::uniform_int_distribution<std::size_t>(minLength, maxLength)(rng_), ' ');
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (char& c : text)
      c = alphabet[pick(rng_)];
    return text;
  }

 private:
  std::mt19937 rng_;
};

constexpr std::string_view kPatternChars = "aB.~*? ";
constexpr std::string_view kNameChars = "aAb.~ ";

TEST(Wildcard, AgreesWithReference) {
  RandomText random(1234);
  FoldedName folded;
  int matched = 0;
  for (int round = 0; round < 20000; ++round) {
    const std::string pattern = random.Make(kPatternChars, 7);
    const std::string name = random.Make(kNameChars, 7);
    folded.Assign(name);
    const bool expected = ReferenceMatches(pattern, name);
    matched += expected;
    ASSERT_EQ(WildcardPattern(pattern).Matches(folded), expected)
        << "pattern '" << pattern << "', name '" << name << "'";
  }
  EXPECT_GT(matched, 1000);
}

// Middles too long for one machine word take the other matcher.
TEST(Wildcard, LongMiddlesAgreeWithReference) {
  std::string core = "*";
  for (int i = 0; i < 33; ++i)
    core += "a?";
  core += "*";
  RandomText random(99);
  int matched = 0;
  for (int round = 0; round < 2000; ++round) {
    const std::string pattern =
        random.Make(kPatternChars, 3) + core + random.Make(kPatternChars, 3);
    const std::string name =
        random.Make(kNameChars, 3) + random.Make("a", 70, 30) + random.Make(kNameChars, 3);
    const bool expected = ReferenceMatches(pattern, name);
    matched += expected;
    ASSERT_EQ(MatchesWildcard(pattern, name), expected)
        << "pattern '" << pattern << "', name '" << name << "'";
  }
  EXPECT_GT(matched, 50);
}

}  // namespace
}  // namespace platform
