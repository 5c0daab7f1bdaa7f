// The parts of running an entry: the guards' refusals, the exclusions, and one FileKey or
// RegKey at a time. Used by entry_run.cpp only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cleaners/entry_run.h"
#include "platform/wildcard.h"

namespace cleaners::internal {

struct Tally {
  std::int64_t files = 0;
  std::int64_t bytes = 0;
  std::int64_t registryItems = 0;
};

// Why the guards refuse the key on this system, if they do.
std::optional<KeyNote> FileKeyRefusal(const FileKey& key, const Places& places);
std::optional<KeyNote> RegKeyRefusal(const RegKey& key);

// The entry's FILE and PATH exclusions, each folder part a wildcard, followed from folder to
// folder: the state of a folder tells for each exclusion how far its folder is matched.
class Excludes {
 public:
  Excludes(const Entry& entry, const Variables& variables);

  using State = std::vector<int>;
  State StateOf(const std::string& folder) const;
  State Child(const State& parent, std::string_view name) const;
  // Everything in the folder and below it is spared, the folder too.
  bool SparesAll(const State& state) const;
  bool Spares(const State& state, const platform::FoldedName& name) const;

 private:
  struct Exclusion {
    ExcludeKind kind;
    std::string root;  // folded
    std::vector<platform::WildcardPattern> parts;
    std::vector<platform::WildcardPattern> names;  // none for PATH: everything
  };
  std::vector<Exclusion> exclusions_;
};

// Runs the key in each folder it names that the run's guard lets it work in.
void RunFileKey(const FileKey& key, const Excludes& excludes, const Places& places,
                cleanups::RunContext& run, Tally& tally, std::vector<KeyNote>& refused);

// `spared`: the REG exclusions, each also in its other view.
void RunRegKey(const RegKey& key, const std::vector<RegistryPath>& spared,
               cleanups::RunContext& run, Tally& tally);

}  // namespace cleaners::internal
