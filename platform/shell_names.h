// Path checks both backends share.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// The shell's file operations take no path of this many characters or more (MAX_PATH); Wine's
// crashes on one of about a thousand.
inline constexpr std::size_t kShellPathLimit = 260;

// A name ending in a dot or a blank, which the shell cannot be given: its operations know no
// \\?\ form, so it would take the namesake without them.
inline bool HasNameTheShellCannotReach(std::string_view path) {
  while (!path.empty()) {
    const size_t cut = path.find_first_of("\\/");
    const std::string_view part = path.substr(0, cut);
    if (part != "." && part != ".." && !part.empty() &&
        (part.back() == '.' || part.back() == ' ')) {
      return true;
    }
    if (cut == std::string_view::npos) break;
    path.remove_prefix(cut + 1);
  }
  return false;
}

}  // namespace platform
