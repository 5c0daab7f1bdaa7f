// What the guards refuse before a key runs: folders that climb, wide keys at protected folders,
// and registry keys the system or every program relies on.
#include <algorithm>
#include <array>

#include "cleaners/key_runs.h"
#include "platform/wildcard.h"

namespace cleaners::internal {

namespace {

using platform::RegistryRoot;

KeyNote Note(const std::string& name, const std::string& value, Issue issue,
             std::string detail = {}) {
  return {name, value, issue, std::move(detail)};
}

// Keys below a root whose deletion as a whole would take what Windows or every program keeps
// there; values in them may still go.
constexpr std::array<std::string_view, 14> kStructuralKeys = {
    "SOFTWARE\\MICROSOFT",
    "SOFTWARE\\MICROSOFT\\WINDOWS",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\EXPLORER",
    "SOFTWARE\\MICROSOFT\\WINDOWS NT",
    "SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION",
    "SOFTWARE\\CLASSES",
    "SOFTWARE\\POLICIES",
    "SOFTWARE\\WOW6432NODE",
    "SOFTWARE\\WOW6432NODE\\MICROSOFT",
    "SOFTWARE\\WOW6432NODE\\MICROSOFT\\WINDOWS",
    "SOFTWARE\\WOW6432NODE\\MICROSOFT\\WINDOWS\\CURRENTVERSION",
    "SOFTWARE\\WOW6432NODE\\CLASSES",
    "CONTROL PANEL",
};

// Keys whose every direct subkey is the system's: a file type, an autostart or uninstall list.
constexpr std::array<std::string_view, 4> kStructuralParents = {
    "SOFTWARE\\CLASSES",
    "SOFTWARE\\WOW6432NODE\\CLASSES",
    "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION",
    "SOFTWARE\\WOW6432NODE\\MICROSOFT\\WINDOWS\\CURRENTVERSION",
};

bool ProtectedRegistryKey(const RegistryPath& key, bool wholeKey) {
  // The classes root merges the machine's file types into the user's: never the cleaners'.
  if (key.root == RegistryRoot::kClassesRoot) return true;
  std::string path = FoldedPath(key.path);
  // Below HKEY_USERS the first part is a user's profile: the rest is as below HKCU.
  if (key.root == RegistryRoot::kUsers) {
    const std::size_t cut = path.find('\\');
    if (cut == std::string::npos) return true;
    path.erase(0, cut + 1);
  }
  if (path.empty()) return true;
  // The system's configuration: services, drivers, devices.
  if (key.root == RegistryRoot::kLocalMachine &&
      (path == "SYSTEM" || path.starts_with("SYSTEM\\"))) {
    return true;
  }
  if (!wholeKey) return false;
  if (path.find('\\') == std::string::npos) return true;  // Software, Control Panel ...
  if (std::find(kStructuralKeys.begin(), kStructuralKeys.end(), path) != kStructuralKeys.end()) {
    return true;
  }
  const std::string_view parent = std::string_view(path).substr(0, path.rfind('\\'));
  return std::find(kStructuralParents.begin(), kStructuralParents.end(), parent) !=
         kStructuralParents.end();
}

}  // namespace

std::optional<KeyNote> FileKeyRefusal(const FileKey& key, const Places& places) {
  const bool wide = key.recursion != Recursion::kNone ||
                    std::any_of(key.patterns.begin(), key.patterns.end(), MatchesEverything);
  for (const Expansion& expansion : places.Vars().Expand(key.folder)) {
    const SplitPath folder = SplitFullPath(expansion.text);
    for (const std::string& part : folder.parts) {
      if (IsChangedPart(part)) return Note(key.name, key.value, Issue::kDotSegment, expansion.text);
    }
    if (wide && places.MayBeProtected(folder)) {
      return Note(key.name, key.value, Issue::kProtectedFolder, expansion.text);
    }
  }
  return std::nullopt;
}

std::optional<KeyNote> RegKeyRefusal(const RegKey& key) {
  if (!ProtectedRegistryKey(key.key, !key.valueName)) return std::nullopt;
  return Note(key.name, key.value, Issue::kProtectedRegistryKey, FormatRegistryPath(key.key));
}

}  // namespace cleaners::internal
