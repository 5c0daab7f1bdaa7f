// WTF-8 decoding and encoding written from the rules alone, code point by code point, to check
// the program's fast conversions against.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fuzz {

inline std::optional<std::u16string> OracleDecode(std::string_view bytes) {
  std::u16string out;
  bool lastWasHighFromThreeBytes = false;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    std::uint32_t cp = 0;
    if (lead < 0x80) {
      length = 1;
      cp = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      cp = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      cp = lead & 0x07u;
    } else {
      return std::nullopt;
    }
    if (bytes.size() - i < length) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (next & 0x3Fu);
    }
    // The shortest form only, and nothing above the last code point.
    if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))) {
      return std::nullopt;
    }
    const bool high = length == 3 && cp >= 0xD800 && cp <= 0xDBFF;
    const bool low = length == 3 && cp >= 0xDC00 && cp <= 0xDFFF;
    // A pair spelt as two 3-byte forms has a 4-byte spelling: only that one is accepted.
    if (low && lastWasHighFromThreeBytes) return std::nullopt;
    if (cp >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    lastWasHighFromThreeBytes = high;
    i += length;
  }
  return out;
}

inline std::string OracleEncode(std::u16string_view units) {
  std::string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t cp = units[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
      ++i;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace fuzz
