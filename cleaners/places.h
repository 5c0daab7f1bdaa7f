// The folders of this system that rule keys work in: what their variables stand for, and which
// folders are protected (a drive root, the Windows folder, Program Files, ProgramData, Users, a
// profile, AppData and its Local, Roaming and LocalLow, the user's Desktop, Documents, Downloads,
// Pictures, Music and Videos, Public, the program's own folder and data, and every folder
// above one of them).
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "cleaners/variables.h"
#include "platform/system.h"

namespace cleaners {

// A full path taken apart: its drive part ("C:", "\\server\share") and its folder names.
struct SplitPath {
  std::string root;
  std::vector<std::string> parts;
};
// Empty parts (doubled backslashes) are left out; a path without a drive part has no root.
SplitPath SplitFullPath(std::string_view path);

// The text upper-cased as Windows compares names.
std::string FoldedText(std::string_view text);

// The path as Windows compares paths: upper-cased, '\' as separator, none doubled or at the end.
std::string FoldedPath(std::string_view path);

// Whether Windows would take a part of a path for another: "." and "..", and any part ending
// in a dot or a blank (both dropped, so "x." is "x" and "..." climbs).
bool IsChangedPart(std::string_view part);

// Whether a pattern stands for every name (or nearly: it has a '*' and no character but
// wildcards, dots and blanks), as `*`, `*.*`, `*.` and `?*` do.
bool MatchesEverything(std::string_view pattern);

class Places {
 public:
  explicit Places(platform::System& system);

  const Variables& Vars() const { return variables_; }

  // Whether the folder (a full path, no wildcards) is protected: one of the folders above, any
  // folder directly in Users (a profile), or the root of a drive or share.
  bool IsProtected(std::string_view folder) const;

  // Whether a folder written with wildcard parts may stand for a protected folder: a part may
  // match the name a protected folder has there, and a part matching everything directly
  // inside a protected folder counts as that folder (`%UserProfile%\Documents\*`).
  bool MayBeProtected(const SplitPath& folder) const;

 private:
  bool MayBeProtected(const SplitPath& folder, std::size_t parts) const;

  Variables variables_;
  std::unordered_set<std::string> protected_;  // folded, the folders above included
  std::vector<SplitPath> split_;               // the same, folded and taken apart
  std::vector<SplitPath> users_;               // the folders that hold the profiles, folded
};

}  // namespace cleaners
