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
  std::size_t literal = 0;
  while (literal < split.parts.size() && !HasWildcard(split.parts[literal]))
    ++literal;
  std::string folder = split.root;
  for (std::size_t i = 0; i < literal; ++i)
    (folder += '\\') += split.parts[i];
  if (literal == split.parts.size()) return system_.Status(folder).has_value();
  return Matches(folder, split, literal);
}

bool Detector::Matches(const std::string& folder, const SplitPath& path, std::size_t next) {
  const bool last = next + 1 == path.parts.size();
  const std::string& part = path.parts[next];
  if (!HasWildcard(part)) {
    const std::string child = folder + '\\' + part;
    if (last) return system_.Status(child).has_value();
    return Matches(child, path, next + 1);
  }
  const platform::WildcardPattern pattern(part);
  for (const auto& [name, isFolder] : Listing(folder)) {
    if (!pattern.Matches(name)) continue;
    if (last) return true;
    if (isFolder && Matches(folder + '\\' + name, path, next + 1)) return true;
  }
  return false;
}

const std::vector<std::pair<std::string, bool>>& Detector::Listing(const std::string& folder) {
  const std::string key = FoldedPath(folder);
  auto found = listings_.find(key);
  if (found != listings_.end()) return found->second;
  std::vector<std::pair<std::string, bool>>& names = listings_[key];
  system_.ListFolder(folder + '\\', [&](const platform::DirEntry& entry) {
    names.emplace_back(entry.name, entry.IsDirectory());
    return true;
  });
  return names;
}

}  // namespace cleaners
