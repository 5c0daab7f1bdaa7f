// What may stand in the pattern and exception lists: the rules the options dialog applies to a
// typed entry, and that a run applies again to lists edited by hand.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The patterns that may never become junk patterns, in their fixed order.
std::vector<std::string> BuildProtectedPatterns();

// True when the text has a dot at a position that is neither the first nor the last.
bool IsValidPattern(std::string_view text);

// Whether the text names a folder or drive part: a bare file name or pattern holds none.
bool HoldsFolderSeparator(std::string_view text);

// Whether a typed text may join the junk patterns: it must be valid, hold no folder separator,
// equal no protected pattern in any letter case and match no file of a protected type.
bool IsAcceptablePattern(std::string_view text, const std::vector<std::string>& protectedPatterns);

// Whether a typed text may join the exceptions: a bare file name with a dot that is not its last
// character.
bool IsAcceptableException(std::string_view text);

// The patterns of the list a scan may use: those the options dialog would accept. A list file
// edited by hand can hold others, and "*" or "*.*" there would take every file of a drive.
std::vector<std::string> UsablePatterns(const std::vector<std::string>& patterns,
                                        const std::vector<std::string>& protectedPatterns);

}  // namespace settings
