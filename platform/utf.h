#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Conversions between the program's UTF-8 strings and Windows' UTF-16. Windows file names may hold
// unpaired surrogates, so the 8-bit side is WTF-8: UTF-8 plus the 3-byte forms of lone surrogates.
// Every name round-trips, and a surrogate pair still has one spelling only: 4 bytes.

// Decodes WTF-8. Rejects overlong forms, bytes C0, C1 and F5..FF, stray or missing continuation
// bytes, code points above U+10FFFF, and a 3-byte high surrogate directly followed by a 3-byte low
// one. An embedded NUL is an ordinary character.
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);

// Same, into `out`, reusing its capacity. On false, `out` is left with partial output.
bool Utf8ToUtf16(std::string_view utf8, std::u16string& out);

// Encodes any UTF-16 sequence losslessly: a surrogate pair as 4 bytes, a lone surrogate as 3.
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace platform
