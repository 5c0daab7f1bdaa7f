// The exception list as users write it and as a scan applies it. An entry is a file name
// ("Thumbs.db"), a pattern of file names with Windows' wildcard rules ("*.sav.tmp"), or an
// absolute path ("D:\Games\"), which keeps the file or folder there with everything below it.
// Names and paths compare as Windows compares them: case-blind over all of Unicode.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/wildcard.h"

namespace settings {

// Whether a typed text may join the exceptions: a file name or pattern with a dot that is not its
// last character and no folder part, or an absolute path (with its drive or server) without
// wildcards.
bool IsAcceptableException(std::string_view text);

class ExceptionMatcher {
 public:
  explicit ExceptionMatcher(const std::vector<std::string>& exceptions);

  // Whether the file `name` in `folder` (which ends in a backslash) is kept. Asked for every
  // find of a scan: it reuses its buffers rather than allocating.
  bool KeepsFile(std::string_view folder, std::string_view name);
  // Whether the folder (which ends in a backslash) is kept with all it holds: a walk need not
  // enter it.
  bool KeepsFolder(std::string_view folder);

 private:
  std::unordered_set<std::string> names_;  // folded
  std::vector<platform::WildcardPattern> patterns_;
  std::vector<std::string> paths_;  // folded, each with one final backslash
  std::u16string units_;
  std::string folded_;
  platform::FoldedName foldedName_;
};

}  // namespace settings
