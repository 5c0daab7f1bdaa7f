#include "platform/utf.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace platform {
namespace {

struct Encoding {
  std::u16string utf16;
  std::string utf8;
};

TEST(Utf, EncodesAndDecodesExactly) {
  const Encoding rows[] = {
      {u"", ""},
      {u"Thumbs.db", "Thumbs.db"},
      {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
      {u"\u0080\u07FF", "\xC2\x80\xDF\xBF"},
      {u"\u0800\u00E9\u20AC\uFFFF", "\xE0\xA0\x80\xC3\xA9\xE2\x82\xAC\xEF\xBF\xBF"},
      {u"\U00010000\U0010FFFF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
      {u"0123456789abcdefghij\u00E9", "0123456789abcdefghij\xC3\xA9"},
      // Lone surrogates keep their 3-byte form, wherever they stand.
      {u"\xD800", "\xED\xA0\x80"},
      {u"a\xDFFF", "a\xED\xBF\xBF"},
      {u"\xDC00\xD800", "\xED\xB0\x80\xED\xA0\x80"},
      {u"\xD800\xD800\xDC00", "\xED\xA0\x80\xF0\x90\x80\x80"},
      {u"\xD83D\xDE00\xDBFF", "\xF0\x9F\x98\x80\xED\xAF\xBF"},
  };
  for (const Encoding& row : rows) {
    EXPECT_EQ(Utf16ToUtf8(row.utf16), row.utf8);
    EXPECT_EQ(Utf8ToUtf16(row.utf8), row.utf16) << row.utf8;
  }
}

TEST(Utf, RejectsMalformedInput) {
  const std::string rows[] = {
      // stray continuation bytes and bytes that never start a sequence
      "\x80", "abc\xBF", "\xC0\x80", "\xC1\xBF", "\xF5\x80\x80\x80", "\xFE", "\xFF",
      // overlong forms
      "\xE0\x80\xAF", "\xE0\x9F\xBF", "\xF0\x80\x80\x80", "\xF0\x8F\xBF\xBF",
      // above U+10FFFF
      "\xF4\x90\x80\x80",
      // truncated, at the end or by a byte that is not a continuation
      "\xC3", "0123456789abcdef\xE2\x82", "\xF0\x90\x80", "\xC3\x41", "\xE2\x41\xAC",
      "\xF0\x90\x41\x80",
      // a surrogate pair must use the 4-byte form
      "\xED\xA0\x80\xED\xB0\x80", "x\xED\xAF\xBF\xED\xBF\xBFy"};
  for (const std::string& row : rows) {
    EXPECT_EQ(Utf8ToUtf16(row), std::nullopt) << testing::PrintToString(row);
  }
}

TEST(Utf, ReusesTheOutputBuffer) {
  std::u16string out = u"a longer leftover value";
  ASSERT_TRUE(Utf8ToUtf16("\xC3\xA9t\xC3\xA9", out));
  EXPECT_EQ(out, u"\u00E9t\u00E9");
  ASSERT_TRUE(Utf8ToUtf16("ab", out));
  EXPECT_EQ(out, u"ab");
}

// Every sequence of code units survives the trip through WTF-8.
TEST(Utf, RandomUnitsRoundTrip) {
  const char16_t alphabet[] = {u'a',   0,      0x7F,   0x80,   0x7FF, 0x800,
                               0xFFFF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF};
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<std::size_t> length(0, 8);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
  for (int round = 0; round < 5000; ++round) {
    std::u16string units(length(rng), u'\0');
    for (char16_t& unit : units)
      unit = alphabet[pick(rng)];
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(units)), units);
  }
}

// WTF-8 has one spelling per sequence, so whatever is accepted must encode back to the same bytes:
// a decoder that let an overlong form or a split pair through would fail here.
TEST(Utf, AcceptedBytesReencodeIdentically) {
  const unsigned char alphabet[] = {'a',  0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF,
                                    0xC0, 0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5};
  std::mt19937 rng(7);
  std::uniform_int_distribution<std::size_t> length(0, 8);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
  int accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(length(rng), '\0');
    for (char& byte : bytes)
      byte = static_cast<char>(alphabet[pick(rng)]);
    const auto units = Utf8ToUtf16(bytes);
    if (!units) continue;
    ++accepted;
    EXPECT_EQ(Utf16ToUtf8(*units), bytes) << testing::PrintToString(bytes);
  }
  EXPECT_GT(accepted, 1000);
}

}  // namespace
}  // namespace platform
