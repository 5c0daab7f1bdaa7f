// The pattern and exception list files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The bytes of a list file: every entry followed by CR LF.
std::string FormatListFile(const std::vector<std::string>& entries);

// Lower-cases the ASCII letters A-Z only; every other byte stays as it is.
std::string LowerAsciiLetters(std::string_view text);
std::vector<std::string> ExceptionListLowerOf(const std::vector<std::string>& exceptions);

}  // namespace settings
