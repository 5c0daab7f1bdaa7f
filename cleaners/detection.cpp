#include "cleaners/detection.h"

#include "platform/wildcard.h"

namespace cleaners {

namespace {

bool HasWildcard(std::string_view name) {
  return name.find_first_of("*?<>\"") != std::string_view::npos;
}

bool AtLeast(const platform::WindowsVersion& version, const platform::WindowsVersion& bound) {
  return version.major != bound.major ? version.major > bound.major : version.minor >= bound.minor;
}

// The key each built-in detection looks for below HKEY_CURRENT_USER: the browser's own.
std::optional<RegistryPath> SpecialKey(SpecialDetect detect) {
  using platform::RegistryRoot;
  switch (detect) {
    case SpecialDetect::kChrome:
      return RegistryPath{RegistryRoot::kCurrentUser, "Software\\Google\\Chrome"};
    case SpecialDetect::kMozilla:
      return RegistryPath{RegistryRoot::kCurrentUser, "Software\\Mozilla\\Firefox"};
    case SpecialDetect::kOpera:
      return RegistryPath{RegistryRoot::kCurrentUser, "Software\\Opera Software"};
    case SpecialDetect::kThunderbird:
      return RegistryPath{RegistryRoot::kCurrentUser, "Software\\Mozilla\\Thunderbird"};
    case SpecialDetect::kWindows:
      return std::nullopt;  // always there
  }
  return std::nullopt;
}

}  // namespace

std::optional<RegistryPath> Wow64Twin(const RegistryPath& key) {
  constexpr std::string_view kSoftware = "SOFTWARE\\";
  constexpr std::string_view kNode = "WOW6432NODE";
  if (key.root != platform::RegistryRoot::kLocalMachine || key.path.size() <= kSoftware.size() ||
      !platform::SameName(std::string_view(key.path).substr(0, kSoftware.size()), kSoftware)) {
    return std::nullopt;
  }
  const std::string_view rest = std::string_view(key.path).substr(kSoftware.size());
  const std::string_view first = rest.substr(0, rest.find('\\'));
  if (platform::SameName(first, kNode)) return std::nullopt;
  return RegistryPath{key.root, "Software\\WOW6432Node\\" + std::string(rest)};
}

Detector::Detector(platform::System& system, const Places& places)
    : system_(system), places_(places) {}

bool Detector::Applies(const Entry& entry) {
  if (entry.detectOs) {
    if (!versionAsked_) {
      version_ = system_.GetWindowsVersion();
      versionAsked_ = true;
    }
    // A version that cannot be told fits no range: the entry stays out rather than in.
    if (!version_) return false;
    const OsRange& range = *entry.detectOs;
    if (range.from && !AtLeast(*version_, *range.from)) return false;
    if (range.to && !AtLeast(*range.to, *version_)) return false;
  }
  if (entry.detect.empty() && entry.detectFiles.empty() && entry.specialDetect.empty()) {
    return true;
  }
  for (SpecialDetect special : entry.specialDetect) {
    const std::optional<RegistryPath> key = SpecialKey(special);
    if (!key || KeyExists(*key)) return true;
  }
  for (const RegistryPath& key : entry.detect) {
    if (KeyExists(key)) return true;
  }
  for (const std::string& file : entry.detectFiles) {
    for (const Expansion& expansion : places_.Vars().Expand(file)) {
      if (FileExists(expansion.text)) return true;
    }
  }
  return false;
}

bool Detector::KeyExists(const RegistryPath& key) {
  if (system_.RegistryKeyExists(key.root, key.path)) return true;
  const std::optional<RegistryPath> twin = Wow64Twin(key);
  return twin && system_.RegistryKeyExists(twin->root, twin->path);
}

bool Detector::FileExists(const std::string& path) {
  const SplitPath split = SplitFullPath(path);
  if (split.root.empty() || split.parts.empty()) return false;
  return Matches(split.root, split, 0);
}

bool Detector::Matches(const std::string& folder, const SplitPath& path, std::size_t next) {
  const bool last = next + 1 == path.parts.size();
  const std::string& part = path.parts[next];
  const Listing& listing = ListingOf(folder);
  if (!HasWildcard(part)) {
    if (!listing.listed) {
      // A folder one may pass through without listing it (another user's profile).
      const std::optional<platform::FileStatus> status = system_.Status(folder + '\\' + part);
      return status &&
             (last || (status->IsDirectory() && Matches(folder + '\\' + part, path, next + 1)));
    }
    auto found = listing.byName.find(FoldedText(part));
    if (found == listing.byName.end()) return false;
    const auto& [name, isFolder] = listing.entries[found->second];
    return last || (isFolder && Matches(folder + '\\' + name, path, next + 1));
  }
  const platform::WildcardPattern pattern(part);
  for (const auto& [name, isFolder] : listing.entries) {
    if (!pattern.Matches(name)) continue;
    if (last) return true;
    if (isFolder && Matches(folder + '\\' + name, path, next + 1)) return true;
  }
  return false;
}

const Detector::Listing& Detector::ListingOf(const std::string& folder) {
  auto [found, added] = listings_.try_emplace(FoldedPath(folder));
  Listing& listing = found->second;
  if (!added) return listing;
  listing.listed = system_.ListFolder(folder + '\\', [&](const platform::DirEntry& entry) {
    listing.byName.emplace(FoldedText(entry.name), listing.entries.size());
    listing.entries.emplace_back(entry.name, entry.IsDirectory());
    return true;
  });
  return listing;
}

}  // namespace cleaners
