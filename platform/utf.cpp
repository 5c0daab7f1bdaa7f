#include "platform/utf.h"

#include <cstdint>
#include <cstring>

namespace platform {
namespace {

constexpr char16_t kHighFirst = 0xD800;
constexpr char16_t kLowFirst = 0xDC00;
constexpr char16_t kLowLast = 0xDFFF;

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}
bool IsHighSurrogate(char16_t u) {
  return u >= kHighFirst && u < kLowFirst;
}
bool IsLowSurrogate(char16_t u) {
  return u >= kLowFirst && u <= kLowLast;
}

// Length of the leading pure-ASCII run, eight bytes at a time: most names are ASCII.
std::size_t AsciiPrefix(std::string_view s) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, s.data() + i, 8);
    if (word & kHighBits) break;
  }
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80)
    ++i;
  return i;
}

}  // namespace

bool Utf8ToUtf16(std::string_view utf8, std::u16string& out) {
  const std::size_t ascii = AsciiPrefix(utf8);
  out.resize(ascii);
  for (std::size_t i = 0; i < ascii; ++i)
    out[i] = static_cast<unsigned char>(utf8[i]);

  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  std::size_t i = ascii;
  while (i < n) {
    const unsigned char b0 = p[i];
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    // Per lead byte: sequence length and the allowed range of the second byte, which is what
    // excludes overlong forms and code points above U+10FFFF.
    std::size_t len;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      len = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      len = 3;
      if (b0 == 0xE0) lo = 0xA0;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      len = 4;
      if (b0 == 0xF0) lo = 0x90;
      if (b0 == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (n - i < len) return false;
    if (p[i + 1] < lo || p[i + 1] > hi) return false;
    for (std::size_t k = 2; k < len; ++k) {
      if (!IsContinuation(p[i + k])) return false;
    }
    if (len == 2) {
      out.push_back(static_cast<char16_t>(((b0 & 0x1F) << 6) | (p[i + 1] & 0x3F)));
    } else if (len == 3) {
      const auto unit =
          static_cast<char16_t>(((b0 & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F));
      // A high surrogate can only be last in `out` if it came from a 3-byte form.
      if (IsLowSurrogate(unit) && !out.empty() && IsHighSurrogate(out.back())) return false;
      out.push_back(unit);
    } else {
      const std::uint32_t cp = ((b0 & 0x07u) << 18) | ((p[i + 1] & 0x3Fu) << 12) |
                               ((p[i + 2] & 0x3Fu) << 6) | (p[i + 3] & 0x3Fu);
      out.push_back(static_cast<char16_t>(kHighFirst + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(kLowFirst + ((cp - 0x10000) & 0x3FF)));
    }
    i += len;
  }
  return true;
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  if (!Utf8ToUtf16(utf8, out)) return std::nullopt;
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  const std::size_t n = utf16.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t u = utf16[i];
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (u >> 6)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else if (IsHighSurrogate(u) && i + 1 < n && IsLowSurrogate(utf16[i + 1])) {
      const std::uint32_t cp = 0x10000 + ((u - kHighFirst) << 10) + (utf16[i + 1] - kLowFirst);
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
      ++i;
    } else {
      out.push_back(static_cast<char>(0xE0 | (u >> 12)));
      out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
  }
  return out;
}

}  // namespace platform
