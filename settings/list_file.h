// Line-oriented text files: the pattern and exception lists, and the language files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace settings {

// Splits file bytes into lines: a line ends at LF or CR LF, a lone CR is dropped, a Ctrl-Z byte
// ends the file, and a last line without a break still counts. Nothing is trimmed or skipped.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// The bytes of a list file: every entry followed by CR LF.
std::string FormatListFile(const std::vector<std::string>& entries);

// Lower-cases the ASCII letters A-Z only; every other byte stays as it is.
std::string LowerAsciiLetters(std::string_view text);
std::vector<std::string> ExceptionListLowerOf(const std::vector<std::string>& exceptions);

}  // namespace settings
