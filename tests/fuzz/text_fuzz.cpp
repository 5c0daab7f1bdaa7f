// The wildcard matcher against the oracle written from the rules, and the UTF-8/UTF-16
// conversions against the oracle decoder and encoder.
#include "platform/utf.h"
#include "platform/wildcard.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/wildcard_oracle.h"

namespace fuzz {

int Wildcard(const std::uint8_t* data, std::size_t size) {
  // Long inputs only slow the oracle down; the matcher's own limits lie far below this.
  if (size > 512) return 0;
  const std::vector<std::string> parts = SplitParts(data, size, 2);
  const std::string& pattern = parts[0];
  const std::string& name = parts[1];
  const bool expected = OracleMatches(pattern, name);
  const platform::WildcardPattern compiled(pattern);
  FUZZ_CHECK(compiled.Matches(name) == expected);
  FUZZ_CHECK(platform::MatchesWildcard(pattern, name) == expected);
  // A folded name reused for another name carries nothing over.
  platform::FoldedName folded(pattern);
  folded.Assign(name);
  FUZZ_CHECK(compiled.Matches(folded) == expected);
  return 0;
}

int Utf(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<std::u16string> expected = OracleDecode(bytes);
  const std::optional<std::u16string> decoded = platform::Utf8ToUtf16(bytes);
  FUZZ_CHECK(decoded.has_value() == expected.has_value());
  if (decoded) {
    FUZZ_CHECK(*decoded == *expected);
    // One spelling per name: what was accepted is written back byte for byte.
    FUZZ_CHECK(platform::Utf16ToUtf8(*decoded) == bytes);
  }
  std::u16string reused(u"left over from an earlier name");
  FUZZ_CHECK(platform::Utf8ToUtf16(bytes, reused) == expected.has_value());
  if (expected) FUZZ_CHECK(reused == *expected);

  // The same bytes as UTF-16 code units, paired or not: every sequence survives a round trip.
  std::u16string units;
  for (std::size_t i = 0; i + 1 < size; i += 2)
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  const std::string encoded = platform::Utf16ToUtf8(units);
  FUZZ_CHECK(encoded == OracleEncode(units));
  const std::optional<std::u16string> back = platform::Utf8ToUtf16(encoded);
  FUZZ_CHECK(back && *back == units);
  return 0;
}

}  // namespace fuzz
