// The pattern and exception list files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The bytes of a list file: every entry followed by CR LF.
std::string FormatListFile(const std::vector<std::string>& entries);

// The entries of a list file, in whichever encoding an editor saved it: its lines, each without
// the blanks it ends in (Windows drops those from a file name, so such an entry never matched).
std::vector<std::string> ParseListFile(std::string_view bytes);

// The text without the spaces and tabs it ends in.
std::string WithoutTrailingBlanks(std::string_view text);

// Lower-cases the ASCII letters A-Z only; every other byte stays as it is.
std::string LowerAsciiLetters(std::string_view text);
std::vector<std::string> ExceptionListLowerOf(const std::vector<std::string>& exceptions);

}  // namespace settings
