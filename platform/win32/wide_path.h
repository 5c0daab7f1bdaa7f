// UTF-8 Windows paths to the UTF-16 form the W functions take.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::win32 {

std::optional<std::wstring> Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// For text that is shown rather than used as a name: bytes that are no UTF-8 (a damaged language
// file) become replacement characters.
std::wstring WidenForDisplay(std::string_view utf8);

// The path in the verbatim `\\?\` form, so that long paths work and a name is taken exactly as
// listed: a trailing dot or blank, or a device name such as "nul", is not reinterpreted. Paths
// that are relative or hold "." or ".." are first made absolute. Empty when the path is not
// valid UTF-8 or cannot be resolved.
std::optional<std::wstring> VerbatimPath(std::string_view utf8);

}  // namespace platform::win32
