// A FileKey at work: its folder's wildcard parts expanded on disk, links left out, then one
// listing per folder and key, the matching files deleted and, with REMOVESELF, the folders it
// emptied removed.
#include <algorithm>
#include <limits>

#include "cleaners/key_runs.h"
#include "cleanups/paths.h"

namespace cleaners::internal {

namespace {

namespace attr = platform::attr;

constexpr int kDead = -1;  // the folder is not that of the exclusion, nor below it
constexpr int kBelow = std::numeric_limits<int>::max();

bool HasWildcard(std::string_view name) {
  return name.find_first_of("*?<>\"") != std::string_view::npos;
}

bool IsRealFolder(const platform::FileStatus& status) {
  return status.IsDirectory() && !status.IsReparsePoint();
}

// The folders a key's folder stands for on disk: each wildcard part matched against a listing,
// each folder on the way a real one (no link). The system's own part (`base`) is taken as it is.
class FolderExpansion {
 public:
  explicit FolderExpansion(platform::System& system) : system_(system) {}

  std::vector<std::string> Folders(const Expansion& expansion) {
    found_.clear();
    const std::string base = expansion.text.substr(0, expansion.baseLength);
    if (!cleanups::IsAbsolutePath(base + '\\')) return found_;
    parts_ = SplitFullPath(expansion.text.substr(expansion.baseLength)).parts;
    Step(base, 0, false);
    return found_;
  }

 private:
  void Step(const std::string& folder, std::size_t next, bool known) {
    if (next == parts_.size()) {
      if (known) {
        found_.push_back(folder);
      } else if (const std::optional<platform::FileStatus> status = system_.Status(folder)) {
        if (IsRealFolder(*status)) found_.push_back(folder);
      }
      return;
    }
    const std::string& part = parts_[next];
    if (!HasWildcard(part)) {
      // Under the name stored on disk: a short name (PROGRA~1) would hide the folder it is
      // from the guards, which compare paths as written.
      const std::optional<platform::DirEntry> entry = system_.LookUp(folder + '\\' + part);
      if (entry && entry->IsDirectory() && !entry->IsReparsePoint()) {
        Step(folder + '\\' + entry->name, next + 1, true);
      }
      return;
    }
    const platform::WildcardPattern pattern(part);
    std::vector<std::string> names;
    system_.ListFolder(folder + '\\', [&](const platform::DirEntry& entry) {
      if (entry.IsDirectory() && !entry.IsReparsePoint() && pattern.Matches(entry.name)) {
        names.push_back(entry.name);
      }
      return true;
    });
    for (const std::string& name : names)
      Step(folder + '\\' + name, next + 1, true);
  }

  platform::System& system_;
  std::vector<std::string> parts_;
  std::vector<std::string> found_;
};

// Why the guard left a place whole, for the list of refused keys.
std::string Reason(const cleanups::Verdict& verdict) {
  switch (verdict.refusal) {
    case cleanups::Refusal::kNone:
    case cleanups::Refusal::kMissing:
      break;
    case cleanups::Refusal::kUnresolved:
      return "where it leads cannot be told";
    case cleanups::Refusal::kDriveRoot:
      return "the root of a drive";
    case cleanups::Refusal::kProtected:
      return "is or holds the protected folder " + verdict.folder;
    case cleanups::Refusal::kOutside:
      return "lies outside " + verdict.folder;
    case cleanups::Refusal::kTempFallback:
      return "no temporary folder";
  }
  return {};
}

class KeyWalk {
 public:
  KeyWalk(const FileKey& key, const Excludes& excludes, cleanups::RunContext& run, Tally& tally)
      : key_(key), excludes_(excludes), run_(run), system_(run.System()), tally_(tally) {
    for (const std::string& pattern : key.patterns)
      patterns_.emplace_back(pattern);
  }

  // Works through a folder the key names (`named`, which the exclusions are written against),
  // where it really is (`place`). `removable`: the folder is one the key names below the
  // system's own (a variable's folder, such as %Temp%, is emptied but stays).
  void Top(const std::string& named, const std::string& place, bool removable) {
    if (Walk(place, excludes_.StateOf(named)) && removable &&
        key_.recursion == Recursion::kRemoveSelf && !run_.Stopped()) {
      system_.RemoveFolder(place);
    }
  }

 private:
  // Works through the folder; true when it was left empty (nothing spared, kept or failed).
  // The folders below a place are reached by listings that never enter a link: they lie where
  // the place does.
  bool Walk(const std::string& folder, const Excludes::State& state) {
    if (run_.Stopped()) return false;
    if (excludes_.SparesAll(state)) return false;
    bool left = false;
    std::vector<std::string> subfolders;
    const bool listed = system_.ListFolder(folder + '\\', [&](const platform::DirEntry& entry) {
      if (run_.Stopped()) {
        left = true;
        return false;
      }
      if (entry.IsDirectory()) {
        if (!entry.IsReparsePoint() && key_.recursion != Recursion::kNone) {
          subfolders.push_back(entry.name);
        } else {
          left = true;
        }
      } else if (!Remove(folder, entry, state)) {
        left = true;
      }
      run_.ProcessMessages();
      return true;
    });
    if (!listed) return false;
    for (const std::string& name : subfolders) {
      if (run_.Stopped()) return false;
      const std::string path = folder + '\\' + name;
      const bool empty = Walk(path, excludes_.Child(state, name));
      if (!empty || key_.recursion != Recursion::kRemoveSelf || run_.Stopped() ||
          !system_.RemoveFolder(path)) {
        left = true;
      }
    }
    return !left && !run_.Stopped();
  }

  // Deletes the file when the key takes it; whether it went.
  bool Remove(const std::string& folder, const platform::DirEntry& entry,
              const Excludes::State& state) {
    if (entry.attributes & (attr::kReparsePoint | attr::kReadOnly | attr::kSystem)) return false;
    name_.Assign(entry.name);
    bool matches = false;
    for (const platform::WildcardPattern& pattern : patterns_)
      matches = matches || pattern.Matches(name_);
    if (!matches || excludes_.Spares(state, name_)) return false;
    if (!system_.DeleteFile(folder + '\\' + entry.name)) return false;
    const auto size = static_cast<std::int64_t>(entry.size);
    run_.AddFreed(size);
    ++tally_.files;
    tally_.bytes += size;
    return true;
  }

  const FileKey& key_;
  const Excludes& excludes_;
  cleanups::RunContext& run_;
  platform::System& system_;
  Tally& tally_;
  std::vector<platform::WildcardPattern> patterns_;
  platform::FoldedName name_;
};

}  // namespace

Excludes::Excludes(const Entry& entry, const Variables& variables) {
  for (const ExcludeKey& key : entry.excludeKeys) {
    if (key.kind == ExcludeKind::kRegistry) continue;
    for (const Expansion& expansion : variables.Expand(key.folder)) {
      const SplitPath folder = SplitFullPath(expansion.text);
      Exclusion exclusion{key.kind, FoldedPath(folder.root), {}, {}};
      for (const std::string& part : folder.parts)
        exclusion.parts.emplace_back(part);
      for (const std::string& name : key.names)
        exclusion.names.emplace_back(name);
      exclusions_.push_back(std::move(exclusion));
    }
  }
}

Excludes::State Excludes::StateOf(const std::string& folder) const {
  const SplitPath split = SplitFullPath(folder);
  const std::string root = FoldedPath(split.root);
  State state;
  state.reserve(exclusions_.size());
  for (const Exclusion& exclusion : exclusions_)
    state.push_back(exclusion.root == root ? 0 : kDead);
  for (const std::string& part : split.parts)
    state = Child(state, part);
  return state;
}

Excludes::State Excludes::Child(const State& parent, std::string_view name) const {
  State state(parent.size());
  for (std::size_t i = 0; i < parent.size(); ++i) {
    const int matched = parent[i];
    const auto& parts = exclusions_[i].parts;
    if (matched == kDead) {
      state[i] = kDead;
    } else if (matched >= static_cast<int>(parts.size())) {
      state[i] = kBelow;
    } else {
      state[i] = parts[static_cast<std::size_t>(matched)].Matches(name) ? matched + 1 : kDead;
    }
  }
  return state;
}

bool Excludes::SparesAll(const State& state) const {
  for (std::size_t i = 0; i < state.size(); ++i) {
    const Exclusion& exclusion = exclusions_[i];
    if (exclusion.kind == ExcludeKind::kPath && exclusion.names.empty() &&
        (state[i] == kBelow || state[i] == static_cast<int>(exclusion.parts.size()))) {
      return true;
    }
  }
  return false;
}

bool Excludes::Spares(const State& state, const platform::FoldedName& name) const {
  for (std::size_t i = 0; i < state.size(); ++i) {
    const Exclusion& exclusion = exclusions_[i];
    const bool here = state[i] == static_cast<int>(exclusion.parts.size());
    const bool applies = exclusion.kind == ExcludeKind::kFile ? here : here || state[i] == kBelow;
    if (!applies) continue;
    if (exclusion.names.empty()) return true;
    for (const platform::WildcardPattern& pattern : exclusion.names) {
      if (pattern.Matches(name)) return true;
    }
  }
  return false;
}

void RunFileKey(const FileKey& key, const Excludes& excludes, const Places& places,
                cleanups::RunContext& run, Tally& tally, std::vector<KeyNote>& refused) {
  const bool wide = key.recursion != Recursion::kNone ||
                    std::any_of(key.patterns.begin(), key.patterns.end(), MatchesEverything);
  struct Place {
    std::string folder;
    std::optional<std::string> home;  // the variable's folder it is named below
    bool own;                         // named below the system's folder, not that folder itself
  };
  FolderExpansion expansion(run.System());
  std::vector<Place> targets;
  for (const Expansion& meaning : places.Vars().Expand(key.folder)) {
    std::optional<std::string> home;
    if (meaning.baseLength < meaning.text.size() &&
        meaning.baseLength > cleanups::DrivePartLength(meaning.text)) {
      home = meaning.text.substr(0, meaning.baseLength);
    }
    for (std::string& folder : expansion.Folders(meaning))
      targets.push_back({std::move(folder), home, meaning.baseLength < meaning.text.size()});
  }
  // What a wildcard part found on disk is protected too: the whole key is refused before it
  // removes anything.
  if (wide) {
    for (const Place& place : targets) {
      if (places.IsProtected(place.folder)) {
        refused.push_back({key.name, key.value, Issue::kProtectedFolder, place.folder});
        return;
      }
    }
  }
  KeyWalk walk(key, excludes, run, tally);
  for (const Place& place : targets) {
    if (run.Stopped()) return;
    // The one guard of every place a clean-up empties: where the folder really leads.
    const cleanups::Verdict verdict = run.Guard().Check(place.folder, place.home);
    if (verdict.refusal == cleanups::Refusal::kMissing) continue;
    if (!verdict.Allowed()) {
      refused.push_back(
          {key.name, key.value, Issue::kPlaceRefused, place.folder + ": " + Reason(verdict)});
      continue;
    }
    walk.Top(place.folder, verdict.place, place.own);
  }
}

}  // namespace cleaners::internal
