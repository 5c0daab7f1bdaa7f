// The sim's system folders, full-path resolution and URL cache.
#include <algorithm>

#include "platform/sim/sim_system.h"

namespace platform::sim {

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Adds the components of `rest` to `parts` the way Win32 normalises a path: empty and "."
// components vanish, ".." climbs (never above the root), trailing dots and blanks are dropped.
void Resolve(std::string_view rest, std::vector<std::string>& parts) {
  while (!rest.empty()) {
    size_t cut = 0;
    while (cut < rest.size() && !IsSeparator(rest[cut]))
      ++cut;
    std::string part(rest.substr(0, cut));
    rest.remove_prefix(cut < rest.size() ? cut + 1 : cut);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    while (!part.empty() && (part.back() == '.' || part.back() == ' '))
      part.pop_back();
    if (!part.empty()) parts.push_back(std::move(part));
  }
}

}  // namespace

std::string SimSystem::TempFolder() {
  Count(Op::kTempFolder);
  if (!tempFolder_.empty() && tempFolder_.back() != '\\') return tempFolder_ + '\\';
  return tempFolder_;
}

std::optional<std::string> SimSystem::EnvironmentVariable(std::string_view name) {
  Count(Op::kEnvironmentVariable);
  auto found = environment_.find(FoldName(name));
  if (found == environment_.end()) return std::nullopt;
  return found->second;
}

std::string SimSystem::ProgramFolder() {
  Count(Op::kProgramFolder);
  return programFolder_;
}

std::string SimSystem::WindowsFolder() {
  Count(Op::kWindowsFolder);
  return windowsFolder_;
}

std::string SimSystem::SpecialFolder(int csidl) {
  Count(Op::kSpecialFolder);
  auto found = specialFolders_.find(csidl);
  return found == specialFolders_.end() ? std::string() : found->second;
}

std::optional<WindowsVersion> SimSystem::GetWindowsVersion() {
  Count(Op::kGetWindowsVersion);
  return windowsVersion_;
}

std::string SimSystem::FullPathName(std::string_view path) {
  Count(Op::kFullPathName);
  if (path.empty() || path.find('\0') != std::string_view::npos) return {};
  if (path.substr(0, 4) == "\\\\?\\") return std::string(path);  // taken as it is

  std::string prefix;  // "C:" or "\\server\share"
  std::vector<std::string> parts;
  std::string_view rest;
  const std::string_view cwd = currentDirectory_;  // always "X:\..." here
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // \\server\share: the share is the root; ".." never climbs above it.
    std::string_view tail = path.substr(2);
    std::vector<std::string> unc;
    for (int i = 0; i < 2 && !tail.empty(); ++i) {
      size_t cut = 0;
      while (cut < tail.size() && !IsSeparator(tail[cut]))
        ++cut;
      unc.emplace_back(tail.substr(0, cut));
      tail.remove_prefix(cut < tail.size() ? cut + 1 : cut);
    }
    prefix = "\\\\" + (unc.empty() ? std::string() : unc[0]);
    if (unc.size() > 1) prefix += "\\" + unc[1];
    rest = tail;
  } else if (path.size() >= 2 && path[1] == ':' && IsDriveLetter(path[0])) {
    prefix = {path[0], ':'};  // in the letter case it was written
    rest = path.substr(2);
    // "C:name" is relative to the current directory when it is on that drive.
    if ((rest.empty() || !IsSeparator(rest[0])) && cwd[0] == (path[0] & ~0x20)) {
      Resolve(cwd.substr(3), parts);
    }
  } else if (IsSeparator(path[0])) {
    prefix = std::string(cwd.substr(0, 2));
    rest = path;
  } else {
    prefix = std::string(cwd.substr(0, 2));
    Resolve(cwd.substr(3), parts);
    rest = path;
  }
  Resolve(rest, parts);

  std::string full = prefix + '\\';
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) full += '\\';
    full += parts[i];
  }
  if (!parts.empty() && IsSeparator(path.back())) full += '\\';
  return full;
}

void SimSystem::AddUrlCacheEntry(std::string sourceUrl, bool inUse) {
  for (UrlCacheEntry& entry : urlCache_) {
    if (entry.sourceUrl == sourceUrl) {
      entry.inUse = inUse;
      return;
    }
  }
  urlCache_.push_back({std::move(sourceUrl), inUse});
}

std::vector<std::string> SimSystem::UrlCacheUrls() const {
  std::vector<std::string> urls;
  for (const UrlCacheEntry& entry : urlCache_)
    urls.push_back(entry.sourceUrl);
  return urls;
}

void SimSystem::ListUrlCache(FunctionRef<bool(const std::string& sourceUrl)> visit) {
  Count(Op::kListUrlCache);
  // Taken whole first: the visitor may delete the entry it was given.
  const std::vector<std::string> urls = UrlCacheUrls();
  for (const std::string& url : urls) {
    if (!visit(url)) break;
  }
}

bool SimSystem::DeleteUrlCacheItem(std::string_view sourceUrl) {
  Count(Op::kDeleteUrlCacheItem);
  auto found = std::find_if(urlCache_.begin(), urlCache_.end(), [&](const UrlCacheEntry& entry) {
    return entry.sourceUrl == sourceUrl;
  });
  if (found == urlCache_.end() || found->inUse) return false;
  urlCache_.erase(found);
  return true;
}

}  // namespace platform::sim
