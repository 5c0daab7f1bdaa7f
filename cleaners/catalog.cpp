#include "cleaners/catalog.h"

#include <algorithm>

#include "cleaners/places.h"
#include "cleanups/paths.h"
#include "platform/wildcard.h"

namespace cleaners {

Catalog Catalog::Load(platform::System& system, std::string_view folder) {
  std::vector<std::string> names;
  const platform::WildcardPattern ini("*.ini");
  system.ListFolder(cleanups::WithBackslash(folder), [&](const platform::DirEntry& entry) {
    if (!entry.IsDirectory() && ini.Matches(entry.name)) names.push_back(entry.name);
    return true;
  });
  // The project's own entries first, so that their names are theirs; the others in an order
  // that does not depend on the file system.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const bool ownA = platform::SameName(a, kOwnRuleFile);
    const bool ownB = platform::SameName(b, kOwnRuleFile);
    if (ownA != ownB) return ownA;
    return FoldedPath(a) < FoldedPath(b);
  });
  Catalog catalog;
  for (const std::string& name : names) {
    const platform::ReadResult read =
        system.ReadFile(cleanups::Under(folder, name), platform::FileAccess::kRead);
    if (!read.bytes) {
      catalog.unread_.push_back(name);
      continue;
    }
    catalog.Add(ParseRuleFile(*read.bytes, name));
  }
  return catalog;
}

void Catalog::Add(RuleFile file) {
  files_.push_back(std::move(file.name));
  outside_.insert(outside_.end(), file.outside.begin(), file.outside.end());
  for (Entry& entry : file.entries) {
    if (byName_.try_emplace(FoldedText(entry.name), entries_.size()).second) {
      entries_.push_back(std::move(entry));
    } else {
      duplicates_.push_back(std::move(entry));
    }
  }
}

const Entry* Catalog::Find(std::string_view name) const {
  auto found = byName_.find(FoldedText(name));
  return found == byName_.end() ? nullptr : &entries_[found->second];
}

std::vector<const Entry*> Catalog::Enabled(const std::vector<std::string>& chosen,
                                           Detector& detector) const {
  std::vector<std::size_t> named;
  for (const std::string& name : chosen) {
    auto found = byName_.find(FoldedText(name));
    if (found != byName_.end()) named.push_back(found->second);
  }
  std::sort(named.begin(), named.end());
  named.erase(std::unique(named.begin(), named.end()), named.end());
  std::vector<const Entry*> enabled;
  for (std::size_t index : named) {
    if (detector.Applies(entries_[index])) enabled.push_back(&entries_[index]);
  }
  return enabled;
}

}  // namespace cleaners
