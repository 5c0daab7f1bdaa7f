#include "platform/text_lines.h"

#include <algorithm>

#include "platform/utf.h"

namespace platform {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  // An odd last byte is half a character: it is dropped.
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
  }
  return Utf16ToUtf8(units);
}

std::string WithoutLoneCarriageReturns(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' || (i + 1 < text.size() && text[i + 1] == '\n')) kept += text[i];
  }
  return kept;
}

}  // namespace

std::string DecodedText(std::string_view bytes) {
  std::string text(bytes);
  // Until no mark is left: a decoded file may start with a mark of its own, and a text that
  // starts with none is what a save writes back and a later read finds again.
  for (;;) {
    const std::string_view start(text.data(), std::min<std::size_t>(text.size(), 3));
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) {
      text = FromUtf16(std::string_view(text).substr(2), start[0] == '\xFE');
    } else if (start == kUtf8Mark) {
      text.erase(0, kUtf8Mark.size());
    } else {
      return text;
    }
  }
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
  // Lone CRs are dropped. Dropping them can join bytes into a byte-order mark at the start
  // ("\xFF\r\xFE"), which a save would write and a later read take for one: the text is looked
  // at again until it starts with none.
  std::string text = DecodedText(bytes);
  for (std::string before; before != text;) {
    before = text;
    text = DecodedText(WithoutLoneCarriageReturns(text));
  }
  std::string_view rest = text;
  const size_t end = rest.find('\x1A');
  if (end != std::string_view::npos) rest = rest.substr(0, end);
  std::vector<std::string> lines;
  std::string line;
  size_t i = 0;
  while (i < rest.size()) {
    line.clear();
    while (i < rest.size() && rest[i] != '\n') {
      if (rest[i] != '\r') line += rest[i];
      ++i;
    }
    ++i;  // past the LF, or past the end
    lines.push_back(line);
  }
  return lines;
}

}  // namespace platform
