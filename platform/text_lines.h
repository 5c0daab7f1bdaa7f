// Line-oriented text files as Windows programs write them: the list files and the language files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Splits file bytes into lines: a line ends at LF or CR LF, a lone CR is dropped, a Ctrl-Z byte
// ends the file, and a last line without a break still counts. Nothing is trimmed or skipped.
std::vector<std::string> SplitTextLines(std::string_view bytes);

}  // namespace platform
