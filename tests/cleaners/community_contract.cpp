// Chosen entries of the community rule file (read at test time from beside the repository, or
// from beside the tests in the Windows sandbox; never part of the project) run over application
// folders seeded from their own keys, on the sim and under Wine. What is left is compared with
// a model of the semantics that works from the keys alone, file by file, in the keys' order.
#include <algorithm>
#include <set>

#include "cleaners/entry_run.h"
#include "platform/wildcard.h"
#include "tests/clean/test_run.h"
#include "tests/platform/contract_world.h"

namespace testing_world {
namespace {

using cleaners::Entry;
using cleaners::Recursion;
using cleaners::SplitPath;

constexpr std::size_t kChosen = 40;

// A name the pattern takes: '*' as "x", '?' as "q"; empty when that name is not taken or is one
// Windows would change.
std::string Instance(std::string_view pattern) {
  std::string name;
  for (char c : pattern)
    name += c == '*' ? 'x' : c == '?' ? 'q' : c;
  if (name.empty() || name.back() == '.' || name.back() == ' ' ||
      name.find_first_of("<>\"|:") != std::string::npos) {
    return {};
  }
  return platform::WildcardPattern(pattern).Matches(name) ? name : std::string();
}

// A folder with a pattern for each part, compiled once.
struct FolderPattern {
  std::string root;  // folded
  std::vector<platform::WildcardPattern> parts;

  explicit FolderPattern(const std::string& folder) {
    const SplitPath split = cleaners::SplitFullPath(folder);
    root = cleaners::FoldedPath(split.root);
    for (const std::string& part : split.parts)
      parts.emplace_back(part);
  }

  // Whether the folder of these parts is this one, or lies below it with `below`.
  bool Covers(const std::string& otherRoot, const std::vector<platform::FoldedName>& other,
              bool below) const {
    if (below ? other.size() < parts.size() : other.size() != parts.size()) return false;
    if (otherRoot != root) return false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (!parts[i].Matches(other[i])) return false;
    }
    return true;
  }
};

struct Exclusion {
  FolderPattern folder;
  bool file;
  std::vector<platform::WildcardPattern> names;  // none: everything
};

struct Seeded {
  Seeded(std::string seeded, bool file, bool isReadOnly)
      : path(std::move(seeded)), folded(cleaners::FoldedPath(path)), readOnly(isReadOnly) {
    const SplitPath split = cleaners::SplitFullPath(path);
    root = cleaners::FoldedPath(split.root);
    for (std::size_t i = 0; i + (file ? 1 : 0) < split.parts.size(); ++i)
      parts.emplace_back(split.parts[i]);
    if (file) name.Assign(split.parts.back());
  }

  std::string path;
  std::string folded;
  std::string root;                         // folded
  std::vector<platform::FoldedName> parts;  // of the folder it is in, for a file
  platform::FoldedName name;                // a file's
  bool alive = true;
  bool readOnly = false;
};

class CommunityRun {
 public:
  CommunityRun(ContractWorld& world, const cleaners::Places& places)
      : world_(world),
        places_(places),
        bases_{places.Vars().Expand("%LocalAppData%").front().text,
               places.Vars().Expand("%AppData%").front().text} {}

  // Whether the entry can run here without touching what the test did not seed: keys only
  // below the user's application data folders, in folders no existing one matches.
  bool Choose(const Entry& entry) {
    if (!entry.skipped.empty() || !entry.regKeys.empty() || entry.fileKeys.empty() ||
        !cleaners::Refusals(entry, places_).empty()) {
      return false;
    }
    for (const cleaners::FileKey& key : entry.fileKeys) {
      if (!Fresh(key.folder)) return false;
    }
    for (const cleaners::ExcludeKey& key : entry.excludeKeys) {
      if (key.kind == cleaners::ExcludeKind::kRegistry || !Fresh(key.folder)) return false;
    }
    chosen_.push_back(&entry);
    return true;
  }

  // Seeds each key's folder with files its patterns take, in the folder and below it, one of
  // them read-only, and an empty folder; each exclusion's folder with what it spares.
  void Seed() {
    for (const Entry* entry : chosen_) {
      for (const cleaners::FileKey& key : entry->fileKeys) {
        const std::string folder = FolderInstance(key.folder);
        for (const std::string& pattern : key.patterns) {
          const std::string name = Instance(pattern);
          if (name.empty()) continue;
          for (const char* below : {"", "\\sub", "\\sub\\deep"})
            Make(folder + below + "\\" + name);
          Make(folder + "\\ro\\" + name, true);
        }
        Make(folder + "\\other.keepme");
        world_.MakeFolder(folder + "\\emptydir");
        Remember(folder + "\\emptydir");
      }
      for (const cleaners::ExcludeKey& key : entry->excludeKeys) {
        const std::string folder = FolderInstance(key.folder);
        const std::vector<std::string> names =
            key.names.empty() ? std::vector<std::string>{"any.file"} : key.names;
        for (const std::string& pattern : names) {
          const std::string name = Instance(pattern);
          if (name.empty()) continue;
          Make(folder + "\\" + name);
          Make(folder + "\\below\\" + name);
        }
      }
    }
  }

  // What the semantics leave: keys in order, files taken, then with REMOVESELF the folders it
  // reaches that hold nothing any more, deepest first.
  void Model() {
    for (const Entry* entry : chosen_) {
      std::vector<Exclusion> exclusions;
      for (const cleaners::ExcludeKey& key : entry->excludeKeys) {
        for (const cleaners::Expansion& expansion : places_.Vars().Expand(key.folder)) {
          Exclusion exclusion{
              FolderPattern(expansion.text), key.kind == cleaners::ExcludeKind::kFile, {}};
          for (const std::string& name : key.names)
            exclusion.names.emplace_back(name);
          exclusions.push_back(std::move(exclusion));
        }
      }
      for (const cleaners::FileKey& key : entry->fileKeys) {
        for (const cleaners::Expansion& expansion : places_.Vars().Expand(key.folder))
          ModelKey(key, FolderPattern(expansion.text), exclusions);
      }
    }
  }

  // The differences between the tree and the model.
  std::vector<std::string> Differences() {
    std::vector<std::string> differences;
    for (const auto* seeds : {&files_, &folders_}) {
      for (const Seeded& seed : *seeds) {
        if (world_.Exists(seed.path) != seed.alive) {
          differences.push_back((seed.alive ? "gone: " : "left: ") + seed.path);
        }
      }
    }
    return differences;
  }

  void Unseed() {
    for (const std::string& top : tops_)
      world_.RemoveTree(top);
  }

  const std::vector<const Entry*>& Chosen() const { return chosen_; }

 private:
  // The folder is below %AppData% or %LocalAppData%, and its first part there names no folder
  // that exists yet.
  bool Fresh(const std::string& folder) {
    const std::vector<cleaners::Expansion> expansions = places_.Vars().Expand(folder);
    if (expansions.size() != 1 || FolderInstance(folder).empty()) return false;
    const std::string_view raw = folder;
    const bool local = raw.size() > 15 && platform::SameName(raw.substr(0, 15), "%LocalAppData%\\");
    const bool roaming = raw.size() > 10 && platform::SameName(raw.substr(0, 10), "%AppData%\\");
    if (!local && !roaming) return false;
    const cleaners::Expansion& expansion = expansions.front();
    const std::string base = expansion.text.substr(0, expansion.baseLength);
    const platform::WildcardPattern first(
        cleaners::SplitFullPath(expansion.text.substr(expansion.baseLength)).parts.front());
    bool taken = false;
    world_.System().ListFolder(base + "\\", [&](const platform::DirEntry& entry) {
      taken = first.Matches(entry.name);
      return !taken;
    });
    return !taken;
  }

  // The key's folder with each wildcard part as a name it takes; empty when one has none.
  std::string FolderInstance(const std::string& folder) {
    const std::vector<cleaners::Expansion> expansions = places_.Vars().Expand(folder);
    if (expansions.empty()) return {};
    const cleaners::Expansion& expansion = expansions.front();
    std::string path = expansion.text.substr(0, expansion.baseLength);
    for (const std::string& part :
         cleaners::SplitFullPath(expansion.text.substr(expansion.baseLength)).parts) {
      const std::string name = Instance(part);
      if (name.empty()) return {};
      path += "\\" + name;
    }
    return path;
  }

  void Make(const std::string& path, bool readOnly = false) {
    for (const Seeded& seed : files_) {
      if (seed.path == path) return;
    }
    world_.MakeFile(path, "seed", readOnly ? platform::attr::kReadOnly : 0);
    files_.emplace_back(path, true, readOnly);
    Remember(path.substr(0, path.rfind('\\')));
  }

  // The folders made for a path, up to the first below the system's folder.
  void Remember(const std::string& folder) {
    for (const std::string& base : bases_) {
      if (folder.size() <= base.size() + 1 || folder[base.size()] != '\\' ||
          !platform::SameName(folder.substr(0, base.size()), base)) {
        continue;
      }
      for (std::string path = folder; path.size() > base.size(); path.erase(path.rfind('\\'))) {
        if (std::none_of(folders_.begin(), folders_.end(),
                         [&](const Seeded& seed) { return seed.path == path; })) {
          folders_.emplace_back(path, false, false);
        }
        if (path.rfind('\\') == base.size()) tops_.insert(path);
      }
    }
  }

  static bool Spared(const std::vector<Exclusion>& exclusions, const std::string& root,
                     const std::vector<platform::FoldedName>& folder,
                     const platform::FoldedName* name) {
    for (const Exclusion& exclusion : exclusions) {
      // With no name asked for, only what spares a folder as a whole counts.
      if (!name && (exclusion.file || !exclusion.names.empty())) continue;
      if (!exclusion.folder.Covers(root, folder, !exclusion.file)) continue;
      if (exclusion.names.empty()) return true;
      for (const platform::WildcardPattern& pattern : exclusion.names) {
        if (name && pattern.Matches(*name)) return true;
      }
    }
    return false;
  }

  // Whether the key's walk gets to the folder: no folder on the way there from the key's own
  // is spared as a whole.
  static bool Reached(const FolderPattern& key, const Seeded& seed,
                      const std::vector<Exclusion>& exclusions) {
    for (std::size_t depth = key.parts.size(); depth <= seed.parts.size(); ++depth) {
      const std::vector<platform::FoldedName> step(seed.parts.begin(), seed.parts.begin() + depth);
      if (Spared(exclusions, seed.root, step, nullptr)) return false;
    }
    return true;
  }

  void ModelKey(const cleaners::FileKey& key, const FolderPattern& folder,
                const std::vector<Exclusion>& exclusions) {
    const bool below = key.recursion != Recursion::kNone;
    std::vector<platform::WildcardPattern> patterns;
    for (const std::string& pattern : key.patterns)
      patterns.emplace_back(pattern);
    for (Seeded& file : files_) {
      if (!file.alive || file.readOnly || !folder.Covers(file.root, file.parts, below) ||
          !Reached(folder, file, exclusions)) {
        continue;
      }
      const bool taken = std::any_of(patterns.begin(), patterns.end(), [&](const auto& pattern) {
        return pattern.Matches(file.name);
      });
      if (taken && !Spared(exclusions, file.root, file.parts, &file.name)) file.alive = false;
    }
    if (key.recursion != Recursion::kRemoveSelf) return;
    // Deepest first: a folder goes when nothing of the seed is left in it.
    std::vector<Seeded*> reached;
    for (Seeded& seed : folders_) {
      if (seed.alive && folder.Covers(seed.root, seed.parts, true) &&
          Reached(folder, seed, exclusions)) {
        reached.push_back(&seed);
      }
    }
    std::sort(reached.begin(), reached.end(),
              [](const Seeded* a, const Seeded* b) { return a->parts.size() > b->parts.size(); });
    for (Seeded* seed : reached) {
      const std::string prefix = seed->folded + "\\";
      bool holds = false;
      for (const auto* seeds : {&files_, &folders_}) {
        for (const Seeded& inner : *seeds)
          holds = holds || (inner.alive && inner.folded.starts_with(prefix));
      }
      if (!holds) seed->alive = false;
    }
  }

  ContractWorld& world_;
  const cleaners::Places& places_;
  const std::string bases_[2];  // the local and the roaming application data folders
  std::vector<const Entry*> chosen_;
  std::vector<Seeded> files_;    // seeded, and whether the model keeps them
  std::vector<Seeded> folders_;  // made below a system folder
  std::set<std::string> tops_;   // the first seeded folder below a system folder
};

TEST_P(RulesContract, ChosenCommunityEntriesLeaveWhatTheSemanticsSay) {
  const std::optional<std::string> bytes =
      TestFile(World(), "Winapp2.ini", "../shared/winapp2/Winapp2.ini");
  if (!bytes) {
    GTEST_SKIP() << "the community rule file ../shared/winapp2/Winapp2.ini is not there";
  }
  const cleaners::RuleFile file = cleaners::ParseRuleFile(*bytes, "Winapp2.ini");
  const cleaners::Places places(Sys());
  CommunityRun community(World(), places);
  std::size_t flags[3] = {}, exclusions = 0, wildcards = 0;
  for (const Entry& entry : file.entries) {
    // Every entry with exclusions that can run here, and the first others.
    if ((community.Chosen().size() >= kChosen && entry.excludeKeys.empty()) ||
        !community.Choose(entry)) {
      continue;
    }
    exclusions += entry.excludeKeys.size();
    for (const cleaners::FileKey& key : entry.fileKeys) {
      ++flags[static_cast<int>(key.recursion)];
      wildcards += std::count(key.folder.begin(), key.folder.end(), '*') >= 2;
    }
  }
  EXPECT_GE(community.Chosen().size(), kChosen);
  EXPECT_GT(exclusions, 0u);
  EXPECT_GT(wildcards, 0u);
  for (std::size_t count : flags)
    EXPECT_GT(count, 0u);
  community.Seed();
  testing_clean::TestRun test(Sys());
  for (const Entry* entry : community.Chosen()) {
    const cleaners::EntryOutcome outcome = cleaners::RunEntry(*entry, places, test.run);
    EXPECT_TRUE(outcome.refused.empty()) << entry->name;
  }
  community.Model();
  const std::vector<std::string> differences = community.Differences();
  EXPECT_TRUE(differences.empty())
      << differences.size() << " differences, the first: " << differences.front();
  community.Unseed();
}

}  // namespace
}  // namespace testing_world
