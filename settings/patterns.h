// What may stand in the pattern list: the rules the options dialog applies to a typed entry, and
// that a run applies again to lists edited by hand.
#pragma once

#include <optional>
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
// equal no protected pattern in any letter case, and take none of a fixed set of names that are
// never junk: names without an extension, tools' dot-files, programs, drivers and settings.
bool IsAcceptablePattern(std::string_view text, const std::vector<std::string>& protectedPatterns);

// A document (a picture, a text, a spreadsheet ...) of a fixed set that the pattern takes, by
// name, so that the user can be asked before such a pattern is added; nothing for most patterns.
std::optional<std::string> DocumentTakenBy(std::string_view pattern);

// The patterns of the list a scan may use: those the options dialog would accept. A list file
// edited by hand can hold others, and "*" or "*.*" there would take every file of a drive.
std::vector<std::string> UsablePatterns(const std::vector<std::string>& patterns,
                                        const std::vector<std::string>& protectedPatterns);

}  // namespace settings
