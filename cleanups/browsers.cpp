// Today's browsers' disposable caches and cookie files, after the classic places of the two steps.
#include "cleanups/browsers.h"

#include <algorithm>
#include <optional>

#include "cleanups/local_state.h"
#include "cleanups/paths.h"
#include "cleanups/special_cleanups.h"
#include "lang/quantities.h"
#include "platform/text_lines.h"
#include "platform/wildcard.h"

namespace cleanups {

namespace {

using platform::System;

// The browsers rebuild these; emptying them signs nobody out.
constexpr std::string_view kProfileCaches[] = {"Cache",          "Code Cache", "GPUCache",
                                               "Media Cache",    "DawnCache",  "DawnGraphiteCache",
                                               "DawnWebGPUCache"};
constexpr std::string_view kUserDataCaches[] = {"ShaderCache", "GrShaderCache",
                                                "GraphiteDawnCache"};
// Opera's profile is its user-data folder too.
constexpr std::string_view kOperaCaches[] = {
    "Cache",         "Code Cache",        "GPUCache",        "Media Cache",
    "DawnCache",     "DawnGraphiteCache", "DawnWebGPUCache", "ShaderCache",
    "GrShaderCache", "GraphiteDawnCache"};
constexpr std::string_view kProfileCookies[] = {"Cookies", "Cookies-journal", "Extension Cookies",
                                                "Extension Cookies-journal"};
constexpr std::string_view kNetworkCookies[] = {"Cookies", "Cookies-journal"};
constexpr std::string_view kFirefoxCaches[] = {"cache2", "startupCache", "jumpListCache",
                                               "thumbnails"};
constexpr std::string_view kFirefoxCookies[] = {"cookies.sqlite", "cookies.sqlite-wal",
                                                "cookies.sqlite-shm"};

bool Named(std::string_view name, std::span<const std::string_view> names) {
  for (std::string_view wanted : names) {
    if (platform::SameName(name, wanted)) return true;
  }
  return false;
}

bool HoldsFile(System& system, const std::string& path) {
  const std::optional<platform::DirEntry> entry = system.LookUp(path);
  return entry && !entry->IsDirectory();
}

// A name Chromium gives its profile folders: Default, Profile N, Guest Profile, System Profile.
bool ChromiumProfileName(std::string_view name) {
  if (platform::SameName(name, "Default") || platform::SameName(name, "Guest Profile") ||
      platform::SameName(name, "System Profile")) {
    return true;
  }
  if (name.size() < 9 || !platform::SameName(name.substr(0, 8), "Profile ")) return false;
  return name.substr(8).find_first_not_of("0123456789") == std::string_view::npos;
}

// The subfolders of `folder` that are profiles of the Chromium kind, links left out: those the
// browser's Local State lists, and those with a profile's name that hold `Preferences`.
std::vector<std::string> ChromiumProfiles(System& system, const std::string& folder) {
  std::vector<std::string> listed;
  const platform::ReadResult localState =
      system.ReadFile(Under(folder, "Local State"), platform::FileAccess::kRead);
  if (localState.bytes) listed = ListedChromiumProfiles(*localState.bytes);
  std::vector<std::string> names;
  system.ListFolder(folder, [&](const platform::DirEntry& entry) {
    if (entry.IsDirectory() && !entry.IsReparsePoint()) names.push_back(entry.name);
    return true;
  });
  std::vector<std::string> profiles;
  for (const std::string& name : names) {
    const std::string profile = Under(folder, name);
    const bool isListed = std::any_of(listed.begin(), listed.end(), [&](const std::string& key) {
      return platform::SameName(key, name);
    });
    if (isListed ||
        (ChromiumProfileName(name) && HoldsFile(system, Under(profile, "Preferences")))) {
      profiles.push_back(profile);
    }
  }
  return profiles;
}

void AddChromiumCookies(BrowserPlaces& places, const std::string& profile,
                        const std::string& home) {
  places.cookies.push_back({profile, kProfileCookies, home});
  places.cookies.push_back({Under(profile, "Network"), kNetworkCookies, home});
}

// What follows `folder` in `path`; nothing when the path does not lie inside the folder.
std::optional<std::string_view> Below(std::string_view path, std::string_view folder) {
  while (!folder.empty() && folder.back() == '\\')
    folder.remove_suffix(1);
  if (folder.empty() || path.size() <= folder.size() + 1 || path[folder.size()] != '\\' ||
      !platform::SameName(path.substr(0, folder.size()), folder)) {
    return std::nullopt;
  }
  return path.substr(folder.size() + 1);
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Whether each part of a path is a name: none empty, none "." or "..".
bool OnlyNames(std::string_view path) {
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    const std::string_view part = path.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

// A profile's folder from its Path= and IsRelative= lines; empty for a path that would lead
// out of the Firefox folder, climb, or name a drive root.
std::string ProfileFolder(const std::string& firefox, std::string path, std::string_view relative) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  while (path.size() > 1 && path.back() == '\\')
    path.pop_back();
  // Without the line, the path says itself which kind it is.
  const bool isRelative = relative.empty() ? !IsAbsolutePath(path) : relative == "1";
  if (isRelative) return DrivePartLength(path) == 0 && OnlyNames(path) ? Under(firefox, path) : "";
  if (!IsAbsolutePath(path) || IsDriveRoot(path)) return {};
  return OnlyNames(std::string_view(path).substr(DrivePartLength(path) + 1)) ? path : "";
}

// The profiles profiles.ini names, in its order.
std::vector<std::string> ListedProfiles(System& system, const std::string& firefox) {
  std::vector<std::string> profiles;
  const platform::ReadResult ini =
      system.ReadFile(Under(firefox, "profiles.ini"), platform::FileAccess::kRead);
  if (!ini.bytes) return profiles;
  std::string_view bytes = *ini.bytes;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  bool inProfile = false;
  std::string path;
  std::string relative;
  const auto endSection = [&] {
    if (inProfile && !path.empty()) profiles.push_back(ProfileFolder(firefox, path, relative));
    path.clear();
    relative.clear();
  };
  for (const std::string& rawLine : platform::SplitTextLines(bytes)) {
    const std::string_view line = Trimmed(rawLine);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      endSection();
      const std::string_view section = line.substr(1, line.size() - 2);
      inProfile = section.size() > 7 && platform::SameName(section.substr(0, 7), "Profile");
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inProfile || equals == std::string_view::npos) continue;
    const std::string_view key = Trimmed(line.substr(0, equals));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    if (platform::SameName(key, "Path")) path = value;
    if (platform::SameName(key, "IsRelative")) relative = value;
  }
  endSection();
  return profiles;
}

void FindChromium(System& system, const std::string& base, const std::string& userData,
                  BrowserPlaces& places) {
  if (!IsRealFolder(system, userData)) return;
  for (const std::string& profile : ChromiumProfiles(system, userData)) {
    places.found = true;
    places.caches.push_back({profile, kProfileCaches, userData});
    AddChromiumCookies(places, profile, userData);
  }
  if (places.found) places.caches.push_back({userData, kUserDataCaches, base});
}

void FindOpera(System& system, const std::string& base, const std::string& userData,
               const std::string& twin, BrowserPlaces& places) {
  if (!IsRealFolder(system, userData)) return;
  places.found = true;
  // The user-data folder is the main profile: its files belong in the shell folder it lies in.
  const auto add = [&](const std::string& profile, const std::string& profileTwin,
                       const std::string& home) {
    places.caches.push_back({profile, kOperaCaches, userData});
    if (!profileTwin.empty()) places.caches.push_back({profileTwin, kOperaCaches, twin});
    AddChromiumCookies(places, profile, home);
  };
  add(userData, twin, base);
  const std::string sides = Under(userData, "_side_profiles");
  if (!IsRealFolder(system, sides)) return;
  for (const std::string& side : ChromiumProfiles(system, sides)) {
    const std::optional<std::string_view> rest = Below(side, userData);
    add(side, rest ? Under(twin, *rest) : std::string(), userData);
  }
}

void FindFirefox(System& system, const std::string& firefox, const std::string& appData,
                 const std::string& localAppData, BrowserPlaces& places) {
  if (!IsRealFolder(system, firefox)) return;
  std::vector<std::string> candidates = ListedProfiles(system, firefox);
  // profiles.ini may be missing or stale: every folder of Profiles counts too.
  const std::string folder = Under(firefox, "Profiles");
  if (IsRealFolder(system, folder)) {
    system.ListFolder(folder, [&](const platform::DirEntry& entry) {
      if (entry.IsDirectory() && !entry.IsReparsePoint()) {
        candidates.push_back(Under(folder, entry.name));
      }
      return true;
    });
  }
  std::vector<std::string> profiles;
  for (const std::string& candidate : candidates) {
    bool known = false;
    for (const std::string& profile : profiles)
      known = known || platform::SameName(profile, candidate);
    // Firefox writes prefs.js and times.json into every profile it has used.
    if (known || !IsRealFolder(system, candidate) ||
        !(HoldsFile(system, Under(candidate, "prefs.js")) ||
          HoldsFile(system, Under(candidate, "times.json")))) {
      continue;
    }
    profiles.push_back(candidate);
    // A profile outside the roaming folder keeps its disk caches in itself.
    const std::string home = Below(candidate, firefox) ? firefox : std::string();
    const std::optional<std::string_view> roaming = Below(candidate, appData);
    if (roaming && !localAppData.empty()) {
      places.caches.push_back({Under(localAppData, *roaming), kFirefoxCaches, localAppData});
    } else if (!roaming) {
      places.caches.push_back({candidate, kFirefoxCaches, home});
    }
    places.cookies.push_back({candidate, kFirefoxCookies, home});
  }
  places.found = !profiles.empty();
}

// The shell folder, or nothing when it is missing or relative (that would be the program's own
// folder).
std::string ShellFolder(System& system, int csidl) {
  std::string folder = system.SpecialFolder(csidl);
  return IsAbsolutePath(folder) ? folder : std::string();
}

}  // namespace

BrowserPlaces FindBrowserPlaces(System& system, const Browser& browser) {
  BrowserPlaces places;
  const std::string base = ShellFolder(system, browser.base);
  if (base.empty()) return places;
  const std::string userData = Under(base, browser.userData);
  switch (browser.kind) {
    case BrowserKind::kChromium:
      FindChromium(system, base, userData, places);
      break;
    case BrowserKind::kOpera: {
      const std::string local = ShellFolder(system, platform::csidl::kLocalAppData);
      FindOpera(system, base, userData, Under(local, browser.userData), places);
      break;
    }
    case BrowserKind::kFirefox:
      FindFirefox(system, userData, base, ShellFolder(system, platform::csidl::kLocalAppData),
                  places);
      break;
  }
  return places;
}

void SpecialCleanups::EmptyNamedFolders(const NamedPlace& place) {
  if (!IsRealFolder(system_, place.folder)) return;
  std::vector<std::string> found;
  system_.ListFolder(place.folder, [&](const platform::DirEntry& entry) {
    // A cache that is a link goes nowhere: its target is not the browser's.
    if (entry.IsDirectory() && !entry.IsReparsePoint() && Named(entry.name, place.names)) {
      found.push_back(entry.name);
    }
    return true;
  });
  for (const std::string& name : found)
    EmptyPlace(Under(place.folder, name), place.home.empty() ? place.folder : place.home);
}

void SpecialCleanups::DeleteNamedFiles(const NamedPlace& place) {
  if (!IsRealFolder(system_, place.folder)) return;
  const std::optional<std::string> folder =
      Guarded(place.folder,
              place.home.empty() ? std::nullopt : std::optional<std::string_view>(place.home));
  if (!folder) return;
  std::vector<platform::DirEntry> found;
  system_.ListFolder(*folder, [&](const platform::DirEntry& entry) {
    if (!entry.IsDirectory() && !entry.IsReparsePoint() && Named(entry.name, place.names)) {
      found.push_back(entry);
    }
    return true;
  });
  for (const platform::DirEntry& entry : found) {
    if (system_.DeleteFile(Under(*folder, entry.name))) {
      run_.AddFreed(static_cast<std::int64_t>(entry.size));
    }
  }
}

void SpecialCleanups::CleanBrowsers(BrowserPart part) {
  const lang::LanguageTexts& texts = run_.Texts();
  for (std::size_t i = 0; i < kBrowsers.size(); ++i) {
    if (run_.Stopped()) return;
    const Browser& browser = kBrowsers[i];
    // Found running once, left alone for the whole run and reported once.
    if (leftAlone_[i]) continue;
    const BrowserPlaces places = FindBrowserPlaces(system_, browser);
    if (!places.found) continue;
    if (system_.ProcessRunning(browser.programFile)) {
      leftAlone_[i] = true;
      run_.BrowserLeftAlone(std::string(browser.name));
      run_.Note(lang::Filled(texts[lang::Text::kBrowserRunning], {browser.name}));
      continue;
    }
    const std::int64_t before = run_.FreedBytes();
    const lang::Text name = part == BrowserPart::kCaches ? lang::Text::kBrowserCachePart
                                                         : lang::Text::kBrowserCookiesPart;
    run_.PartBegins(
        std::string(browser.name) + (part == BrowserPart::kCaches ? ".cache" : ".cookies"),
        lang::Filled(texts[name], {browser.name}));
    if (part == BrowserPart::kCaches) {
      for (const NamedPlace& place : places.caches)
        EmptyNamedFolders(place);
    } else {
      for (const NamedPlace& place : places.cookies)
        DeleteNamedFiles(place);
    }
    run_.PartEnds();
    const bool cache = part == BrowserPart::kCaches;
    const lang::Text line =
        run_.Predicts()
            ? (cache ? lang::Text::kBrowserCacheWouldGo : lang::Text::kBrowserCookiesWouldGo)
            : (cache ? lang::Text::kBrowserCacheRemoved : lang::Text::kBrowserCookiesRemoved);
    const auto freed = static_cast<std::uint64_t>(run_.FreedBytes() - before);
    run_.Report(lang::Filled(texts[line], {browser.name, lang::FormatSize(freed, texts)}));
  }
}

}  // namespace cleanups
