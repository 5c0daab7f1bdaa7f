// Line-oriented text files as Windows programs write them: the list files and the language files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The text of a file as Windows editors save it, in UTF-8: a UTF-16 file with a byte-order mark
// (Notepad's "Unicode", PowerShell's Out-File) is decoded, a UTF-8 byte-order mark dropped; any
// other bytes are taken as they are. What comes back starts with no byte-order mark.
std::string DecodedText(std::string_view bytes);

// Splits the decoded text of a file into lines: a line ends at LF or CR LF, a lone CR is dropped,
// a Ctrl-Z ends the file, and a last line without a break still counts. Nothing is trimmed or
// skipped.
std::vector<std::string> SplitTextLines(std::string_view bytes);

}  // namespace platform
