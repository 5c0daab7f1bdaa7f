#include "cleaners/places.h"

#include "cleanups/paths.h"
#include "platform/utf.h"
#include "platform/wildcard.h"

namespace cleaners {

namespace {

namespace csidl = platform::csidl;

// The shell folders that are protected themselves (with every folder above them).
constexpr int kProtectedShellFolders[] = {
    csidl::kWindows,
    csidl::kSystem,
    csidl::kSystemX86,
    csidl::kProgramFiles,
    csidl::kProgramFilesX86,
    csidl::kCommonProgramFiles,
    csidl::kCommonProgramFilesX86,
    csidl::kCommonAppData,
    csidl::kUserProfiles,
    csidl::kProfile,
    csidl::kAppData,
    csidl::kLocalAppData,
    csidl::kLocalAppDataLow,
    csidl::kDesktop,
    csidl::kDocuments,
    csidl::kDownloads,
    csidl::kPictures,
    csidl::kMusic,
    csidl::kVideos,
    csidl::kFavorites,
    csidl::kPublic,
    csidl::kCommonDesktop,
    csidl::kCommonDocuments,
};

std::string Joined(const SplitPath& path, std::size_t parts) {
  std::string joined = path.root;
  for (std::size_t i = 0; i < parts; ++i)
    (joined += '\\') += path.parts[i];
  return joined;
}

// The folder above a full path; empty for a root or a path that is none.
std::string Parent(std::string_view path) {
  const SplitPath split = SplitFullPath(path);
  if (split.root.empty() || split.parts.empty()) return {};
  return Joined(split, split.parts.size() - 1);
}

}  // namespace

SplitPath SplitFullPath(std::string_view path) {
  SplitPath split;
  const std::size_t drive = cleanups::DrivePartLength(path);
  split.root = path.substr(0, drive);
  std::string_view rest = path.substr(drive);
  while (!rest.empty()) {
    const std::size_t cut = std::min(rest.find_first_of("\\/"), rest.size());
    if (cut > 0) split.parts.emplace_back(rest.substr(0, cut));
    rest.remove_prefix(std::min(cut + 1, rest.size()));
  }
  return split;
}

std::string FoldedText(std::string_view text) {
  std::u16string units;
  if (platform::Utf8ToUtf16(text, units)) {
    for (char16_t& unit : units)
      unit = platform::UpcaseChar(unit);
    return platform::Utf16ToUtf8(units);
  }
  // Bytes that are no text stand for themselves.
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string FoldedPath(std::string_view path) {
  std::string folded;
  for (char c : FoldedText(path)) {
    if (c == '/') c = '\\';
    // A UNC path keeps its two leading backslashes.
    if (c == '\\' && folded.size() > 1 && folded.back() == '\\') continue;
    folded += c;
  }
  while (folded.size() > 2 && folded.back() == '\\')
    folded.pop_back();
  if (folded.size() == 3 && folded[1] == ':') folded.pop_back();
  return folded;
}

bool IsChangedPart(std::string_view part) {
  return !part.empty() && (part.back() == '.' || part.back() == ' ');
}

bool MatchesEverything(std::string_view pattern) {
  return pattern.find('*') != std::string_view::npos &&
         pattern.find_first_not_of("*?<>\". ") == std::string_view::npos;
}

Places::Places(platform::System& system) : variables_(system) {
  std::vector<std::string> folders;
  folders.push_back(system.WindowsFolder());
  for (int id : kProtectedShellFolders)
    folders.push_back(system.SpecialFolder(id));
  // The program's own folder, the one it runs in, and its settings.
  folders.push_back(system.ProgramFolder());
  folders.push_back(system.CurrentDirectory());
  folders.push_back(system.FullPathName("data"));
  // The folder of all profiles, also as the current one's and Public's parent.
  for (std::string users :
       {system.SpecialFolder(csidl::kUserProfiles), Parent(system.SpecialFolder(csidl::kProfile)),
        Parent(system.SpecialFolder(csidl::kPublic))}) {
    if (users.empty()) continue;
    folders.push_back(users);
    users_.push_back(SplitFullPath(FoldedPath(users)));
  }
  for (const std::string& folder : folders) {
    if (!cleanups::IsAbsolutePath(folder)) continue;
    const SplitPath split = SplitFullPath(FoldedPath(folder));
    for (std::size_t parts = 0; parts <= split.parts.size(); ++parts) {
      if (protected_.insert(Joined(split, parts)).second) {
        split_.push_back({split.root, {split.parts.begin(), split.parts.begin() + parts}});
      }
    }
  }
}

bool Places::IsProtected(std::string_view folder) const {
  const SplitPath split = SplitFullPath(FoldedPath(folder));
  // What is no full path would be taken against the current folder: never a place of a rule.
  if (split.root.empty() || split.parts.empty()) return true;
  if (protected_.count(Joined(split, split.parts.size()))) return true;
  const std::string parent = Joined(split, split.parts.size() - 1);
  for (const SplitPath& users : users_) {
    if (Joined(users, users.parts.size()) == parent) return true;
  }
  return false;
}

bool Places::MayBeProtected(const SplitPath& folder) const {
  return MayBeProtected(folder, folder.parts.size());
}

bool Places::MayBeProtected(const SplitPath& folder, std::size_t parts) const {
  if (folder.root.empty() || parts == 0) return true;
  const std::string root = FoldedPath(folder.root);
  std::vector<platform::WildcardPattern> patterns;
  patterns.reserve(parts);
  for (std::size_t i = 0; i < parts; ++i)
    patterns.emplace_back(folder.parts[i]);
  // Each protected folder of the same depth whose names the parts may take.
  const auto matches = [&](const SplitPath& candidate, std::size_t count) {
    if (candidate.root != root) return false;
    for (std::size_t i = 0; i < count; ++i) {
      if (!patterns[i].Matches(candidate.parts[i])) return false;
    }
    return true;
  };
  for (const SplitPath& candidate : split_) {
    if (candidate.parts.size() == parts && matches(candidate, parts)) return true;
  }
  // A profile: any folder directly in Users.
  for (const SplitPath& users : users_) {
    if (users.parts.size() + 1 == parts && matches(users, users.parts.size())) return true;
  }
  return MatchesEverything(folder.parts[parts - 1]) && MayBeProtected(folder, parts - 1);
}

}  // namespace cleaners
