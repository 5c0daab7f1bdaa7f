#include "cleanups/place_guard.h"

#include "cleanups/paths.h"
#include "platform/utf.h"
#include "platform/wildcard.h"

namespace cleanups {

namespace {

namespace csidl = platform::csidl;

// The shell folders no clean-up may empty, hold or stand in for: the system's, every folder of
// the user's own files and settings, and the folders they live in.
constexpr int kProtectedShellFolders[] = {
    csidl::kWindows,
    csidl::kSystem,
    csidl::kSystemX86,
    csidl::kFonts,
    csidl::kProgramFiles,
    csidl::kProgramFilesX86,
    csidl::kCommonProgramFiles,
    csidl::kCommonProgramFilesX86,
    csidl::kCommonAppData,
    csidl::kUserProfiles,
    csidl::kProfile,
    csidl::kDesktop,
    csidl::kDocuments,
    csidl::kDownloads,
    csidl::kPictures,
    csidl::kMusic,
    csidl::kVideos,
    csidl::kFavorites,
    csidl::kAppData,
    csidl::kLocalAppData,
    csidl::kLocalAppDataLow,
    csidl::kStartMenu,
    csidl::kPrograms,
    csidl::kStartup,
    csidl::kSendTo,
    csidl::kTemplates,
    csidl::kNetHood,
    csidl::kPrintHood,
    csidl::kRecent,
    csidl::kCookies,
    csidl::kHistory,
    csidl::kInternetCache,
    csidl::kPublic,
    csidl::kCommonDesktop,
    csidl::kCommonDocuments,
    csidl::kCommonStartMenu,
    csidl::kCommonPrograms,
    csidl::kCommonFavorites,
    csidl::kCommonTemplates,
};

// The shell folder a place is named for, or the one that may stand for it: Wine names one
// folder for the user's and the common favourites.
bool IsSelf(int csidl, int self) {
  const auto family = [](int folder) {
    return folder == csidl::kCommonFavorites ? csidl::kFavorites : folder;
  };
  return self != kNoShellFolder && family(csidl) == family(self);
}

std::u16string Folded(std::string_view path) {
  std::u16string folded;
  if (!platform::Utf8ToUtf16(path, folded)) folded.assign(path.begin(), path.end());
  for (char16_t& unit : folded)
    unit = platform::UpcaseChar(unit);
  while (folded.size() > 3 && folded.back() == u'\\')
    folded.pop_back();
  return folded;
}

// Whether `inner` lies below `outer`, or is it.
bool Within(const std::u16string& inner, const std::u16string& outer) {
  if (inner.size() < outer.size() || inner.compare(0, outer.size(), outer) != 0) return false;
  return inner.size() == outer.size() || outer.back() == u'\\' || inner[outer.size()] == u'\\';
}

}  // namespace

void PlaceGuard::Add(const std::string& path, int csidl) {
  if (path.empty() || !IsAbsolutePath(path)) return;
  // A folder that is not there holds nothing to lose.
  const std::string final = system_.FinalPath(path);
  if (!final.empty()) protected_.push_back({Folded(final), final, csidl});
}

void PlaceGuard::Collect() {
  collected_ = true;
  const std::string windows = system_.WindowsFolder();
  Add(windows, csidl::kWindows);
  Add(Under(windows, "System32"), csidl::kSystem);
  for (const int folder : kProtectedShellFolders)
    Add(system_.SpecialFolder(folder), folder);
  // The program's own folder and its settings.
  Add(system_.ProgramFolder(), kNoShellFolder);
  Add(system_.FullPathName("data"), kNoShellFolder);
}

Verdict PlaceGuard::Check(std::string_view place, std::optional<std::string_view> home, int self) {
  Verdict verdict;
  if (place.empty() || !IsAbsolutePath(place) || !system_.Status(place)) {
    verdict.refusal = Refusal::kMissing;
    return verdict;
  }
  verdict.place = system_.FinalPath(place);
  if (verdict.place.empty()) {
    verdict.refusal = Refusal::kUnresolved;
    return verdict;
  }
  if (IsDriveRoot(verdict.place)) {
    verdict.refusal = Refusal::kDriveRoot;
    return verdict;
  }
  if (!collected_) Collect();
  const std::u16string folded = Folded(verdict.place);
  for (const Protected& folder : protected_) {
    // A place may be the shell folder it is named for, never another one, nor hold one.
    const bool itself = folded == folder.folded;
    if ((itself && !IsSelf(folder.csidl, self)) || (!itself && Within(folder.folded, folded))) {
      verdict.refusal = Refusal::kProtected;
      verdict.folder = folder.path;
      return verdict;
    }
    // Every folder directly in the folder of all profiles is someone's profile.
    if (folder.csidl == csidl::kUserProfiles && Within(folded, folder.folded) &&
        folded.find(u'\\', folder.folded.size() + 1) == std::u16string::npos) {
      verdict.refusal = Refusal::kProtected;
      verdict.folder = verdict.place;
      return verdict;
    }
  }
  if (home && (home->empty() || !LiesBelow(place, *home, folded))) {
    verdict.refusal = home->empty() ? Refusal::kUnresolved : Refusal::kOutside;
    verdict.folder = std::string(*home);
  }
  return verdict;
}

bool PlaceGuard::LiesBelow(std::string_view place, std::string_view home,
                           const std::u16string& finalPlace) {
  // Named below it, and really there: no link on the way from the one to the other.
  const std::u16string named = Folded(place);
  const std::u16string namedHome = Folded(home);
  if (named == namedHome || !Within(named, namedHome)) return false;
  const std::string homeFinal = system_.FinalPath(home);
  if (homeFinal.empty()) return false;
  std::u16string expected = Folded(homeFinal);
  if (expected.back() != u'\\') expected += u'\\';
  expected += named.substr(namedHome.size() + (namedHome.back() == u'\\' ? 0 : 1));
  return finalPlace == expected;
}

bool PlaceGuard::InSystemOrProfiles(std::string_view finalPath) {
  if (!collected_) Collect();
  const std::u16string folded = Folded(finalPath);
  for (const Protected& folder : protected_) {
    if ((folder.csidl == csidl::kWindows || folder.csidl == csidl::kUserProfiles ||
         folder.csidl == csidl::kProfile) &&
        Within(folded, folder.folded)) {
      return true;
    }
  }
  return false;
}

Verdict PlaceGuard::CheckTempFolder(std::string_view place) {
  if (!system_.EnvironmentVariable("TMP") && !system_.EnvironmentVariable("TEMP")) {
    Verdict verdict;
    verdict.refusal = system_.Status(place) ? Refusal::kTempFallback : Refusal::kMissing;
    verdict.place = std::string(place);
    return verdict;
  }
  return Check(place, std::nullopt);
}

}  // namespace cleanups
