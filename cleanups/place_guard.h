// Where a clean-up may reach: the one check every place passes before anything in it is removed.
// A place is judged by where it really is, every link along its path resolved: a temporary
// folder that is the user's profile, favourites redirected to the documents, a cache folder whose
// parent is a link to another drive are all left whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace cleanups {

// Why a place is left whole.
enum class Refusal {
  kNone,          // it may be emptied
  kMissing,       // it is not there: nothing to do and nothing to report
  kUnresolved,    // where it leads cannot be told (a broken link, a host path under Wine)
  kDriveRoot,     // it is the root of a drive or share
  kProtected,     // it is, or holds, a folder of the system or of the user (`folder`)
  kOutside,       // it lies outside the folder it belongs in (`folder`)
  kTempFallback,  // TMP and TEMP are not set: the folder Windows named instead is no temp folder
};

struct Verdict {
  Refusal refusal = Refusal::kNone;
  std::string place;   // where the place really is, when that is known
  std::string folder;  // the protected folder, or the one the place belongs in

  bool Allowed() const { return refusal == Refusal::kNone; }
};

// No shell folder: a place that is none of them.
inline constexpr int kNoShellFolder = -1;

class PlaceGuard {
 public:
  explicit PlaceGuard(platform::System& system) : system_(system) {}

  // Whether a clean-up may remove things inside `place`. It may not when its final path is the
  // root of a drive, is or holds a protected folder other than `self` (the shell folder the
  // clean-up empties by name) or a profile, or, with a `home`, when it is not named below `home`
  // or a link on the way leads elsewhere. The clean-up then works in `Verdict::place`.
  // A `home` that is empty (the folder the place belongs in is unknown) refuses; std::nullopt
  // lets the place lie anywhere.
  Verdict Check(std::string_view place, std::optional<std::string_view> home,
                int self = kNoShellFolder);

  // The same for the user's temporary folder, which may lie anywhere but is refused when
  // Windows named it only because TMP and TEMP are not set.
  Verdict CheckTempFolder(std::string_view place);

  // Whether a final path lies in the Windows folder, the folder of all profiles or the user's
  // profile.
  bool InSystemOrProfiles(std::string_view finalPath);

 private:
  struct Protected {
    std::u16string folded;  // the final path, upper-cased, no final backslash
    std::string path;
    int csidl;
  };
  // The protected folders as they really are, taken once, at the first check.
  void Collect();
  void Add(const std::string& path, int csidl);
  // Whether `place` is named below `home` and, links resolved, still is there.
  bool LiesBelow(std::string_view place, std::string_view home, const std::u16string& finalPlace);

  platform::System& system_;
  std::vector<Protected> protected_;
  bool collected_ = false;
};

}  // namespace cleanups
