// The folder and path operations, and the clean-ups that are plain folder work.
#include <algorithm>

#include "cleanups/paths.h"
#include "cleanups/special_cleanups.h"
#include "lang/quantities.h"
#include "platform/wildcard.h"

namespace cleanups {

bool IsRealFolder(platform::System& system, const std::string& path) {
  if (path.empty()) return false;
  const std::optional<platform::DirEntry> entry = system.LookUp(path);
  return entry && entry->IsDirectory() && !entry->IsReparsePoint();
}

SpecialCleanups::SpecialCleanups(RunContext& run, bool userIsAdmin, bool recycle)
    : run_(run), system_(run.System()), userIsAdmin_(userIsAdmin), recycle_(recycle) {}

std::string SpecialCleanups::LongPathName(std::string_view path) {
  if (path.empty()) return {};
  const std::size_t inputDrive = DrivePartLength(path);
  if (inputDrive > 0 && path.size() <= inputDrive) return std::string(path);
  const std::string full = system_.FullPathName(path);
  if (full.empty()) return std::string(path);

  const std::size_t drive = DrivePartLength(full);
  std::string result = full.substr(0, drive);
  std::string_view rest = std::string_view(full).substr(drive);
  if (!rest.empty() && rest.front() == '\\') {
    result += '\\';
    rest.remove_prefix(1);
  }
  while (!rest.empty()) {
    const std::size_t cut = rest.find('\\');
    const std::string_view component = rest.substr(0, cut);
    std::optional<platform::DirEntry> entry;
    if (!component.empty()) entry = system_.LookUp(result + std::string(component));
    if (!entry) {
      result += rest;
      break;
    }
    result += entry->name;
    if (cut == std::string_view::npos) break;
    result += '\\';
    rest.remove_prefix(cut + 1);
  }
  return result;
}

void SpecialCleanups::EmptyFolder(std::string_view path, bool removeItself,
                                  std::uint64_t keepWrittenAfter) {
  // A relative path would be taken against the program's folder: no system folder is that.
  if (path.empty() || !IsAbsolutePath(path)) return;
  const std::string folder = WithBackslash(path);
  // However it is spelt, a drive root is never emptied: a temporary-folder variable set to "C:\"
  // must not wipe the drive.
  const std::string full = system_.FullPathName(folder);
  if (full.empty() || IsDriveRoot(path) || IsDriveRoot(full)) return;
  EmptyTree(folder, keepWrittenAfter);
  if (removeItself && !run_.Stopped()) system_.RemoveFolder(folder);
}

void SpecialCleanups::EmptyTree(const std::string& folder, std::uint64_t keepWrittenAfter) {
  // First the files, each counted with the size its listing gave.
  bool stopped = false;
  system_.ListFolder(folder, [&](const platform::DirEntry& entry) {
    if (run_.Stopped()) {
      stopped = true;
      return false;
    }
    if (!entry.IsDirectory() && entry.lastWrite <= keepWrittenAfter &&
        system_.DeleteFile(folder + entry.name)) {
      run_.AddFreed(static_cast<std::int64_t>(entry.size));
    }
    run_.ProcessMessages();
    return true;
  });
  if (stopped) return;
  // Then the subfolders, bottom up. A link goes as a link: its target is never entered.
  system_.ListFolder(folder, [&](const platform::DirEntry& entry) {
    if (run_.Stopped()) return false;
    if (entry.IsDirectory()) {
      const std::string subfolder = folder + entry.name;
      if (!entry.IsReparsePoint()) EmptyTree(subfolder + '\\', keepWrittenAfter);
      system_.RemoveFolder(subfolder);
    }
    run_.ProcessMessages();
    return true;
  });
}

std::string SpecialCleanups::ShellFolder(int csidl) {
  std::string folder = system_.SpecialFolder(csidl);
  return IsAbsolutePath(folder) ? folder : std::string();
}

void SpecialCleanups::ReportLeftAlone(std::string_view place, const Verdict& verdict) {
  const lang::LanguageTexts& texts = run_.Texts();
  std::string reason;
  switch (verdict.refusal) {
    case Refusal::kNone:
    case Refusal::kMissing:
      return;
    case Refusal::kUnresolved:
      reason = texts[lang::Text::kReasonUnresolved];
      break;
    case Refusal::kDriveRoot:
      reason = texts[lang::Text::kReasonDriveRoot];
      break;
    case Refusal::kProtected:
      reason = lang::Filled(texts[lang::Text::kReasonProtected], {verdict.folder});
      break;
    case Refusal::kOutside:
      reason = lang::Filled(texts[lang::Text::kReasonOutside], {verdict.folder});
      break;
    case Refusal::kTempFallback:
      reason = texts[lang::Text::kReasonTempFallback];
      break;
  }
  run_.Note(lang::Filled(texts[lang::Text::kPlaceLeftAlone], {place, reason}));
}

std::optional<std::string> SpecialCleanups::Guarded(std::string_view place,
                                                    std::optional<std::string_view> home,
                                                    int self) {
  const Verdict verdict = run_.Guard().Check(place, home, self);
  if (verdict.Allowed()) return verdict.place;
  ReportLeftAlone(place, verdict);
  return std::nullopt;
}

void SpecialCleanups::EmptyPlace(std::string_view place, std::optional<std::string_view> home,
                                 int self) {
  // Emptied where it really is, so that no link on the way is followed later.
  if (const std::optional<std::string> final = Guarded(place, home, self)) {
    EmptyFolder(*final, false);
  }
}

bool SpecialCleanups::DeleteCountedFile(const std::string& path) {
  // A path that is no full path would be taken relative to the current folder.
  if (!IsAbsolutePath(path)) return false;
  // Only a file whose size was read is deleted, so that the freed total counts what went.
  const std::optional<platform::FileStatus> entry = system_.Status(path);
  if (!entry || entry->IsDirectory()) return false;
  if (!system_.DeleteFile(path)) return false;
  run_.AddFreed(static_cast<std::int64_t>(entry->size));
  return true;
}

std::int64_t SpecialCleanups::FolderSize(std::string_view path, bool withSubfolders,
                                         std::int64_t* files) {
  if (path.empty()) return 0;
  const std::string folder = WithBackslash(path);
  std::int64_t sum = 0;
  system_.ListFolder(folder, [&](const platform::DirEntry& entry) {
    sum += static_cast<std::int64_t>(entry.size);
    if (files && !entry.IsDirectory()) ++*files;
    if (withSubfolders && entry.IsDirectory() && !entry.IsReparsePoint() &&
        entry.name.front() != '.') {
      sum += FolderSize(folder + entry.name, true, files);
    }
    return true;
  });
  return sum;
}

void SpecialCleanups::TemporaryFolders() {
  namespace csidl = platform::csidl;
  // Files written within the hours kept stay: an installer at work keeps its files.
  const std::uint64_t now = system_.CurrentTime();
  const std::uint64_t kept =
      static_cast<std::uint64_t>(std::max(tempKeepHours_, 0)) * platform::kTicksPerHour;
  const std::uint64_t keepWrittenAfter = kept == 0 ? kKeepNone : now > kept ? now - kept : 0;
  const std::string temp = LongPathName(system_.TempFolder());
  const Verdict verdict = run_.Guard().CheckTempFolder(temp);
  if (verdict.Allowed()) {
    EmptyFolder(verdict.place, false, keepWrittenAfter);
  } else {
    ReportLeftAlone(temp, verdict);
  }
  if (!userIsAdmin_) return;
  const std::string windows = system_.WindowsFolder();
  if (!IsAbsolutePath(windows)) return;
  if (const std::optional<std::string> final =
          Guarded(LongPathName(Under(windows, "Temp")), windows))
    EmptyFolder(*final, false, keepWrittenAfter);
}

void SpecialCleanups::RecentDocuments() {
  namespace csidl = platform::csidl;
  // The shell deletes the folder's shortcuts itself when it clears its list: where the folder
  // may not be emptied, the list is not cleared either.
  const std::string folder = ShellFolder(csidl::kRecent);
  const Verdict verdict = run_.Guard().Check(folder, ShellFolder(csidl::kAppData), csidl::kRecent);
  if (!verdict.Allowed() && verdict.refusal != Refusal::kMissing) {
    ReportLeftAlone(folder, verdict);
    return;
  }
  std::int64_t filesBefore = 0;
  std::int64_t bytesBefore = 0;
  if (verdict.Allowed()) bytesBefore = FolderSize(verdict.place, true, &filesBefore);
  system_.ClearRecentDocuments();
  if (!verdict.Allowed()) return;
  // Counted once the shell is done: what it left is no gain.
  std::int64_t filesAfter = 0;
  const std::int64_t bytesAfter = FolderSize(verdict.place, true, &filesAfter);
  if (filesAfter < filesBefore) {
    run_.AddFreed(std::max<std::int64_t>(bytesBefore - bytesAfter, 0), filesBefore - filesAfter);
  }
}

void SpecialCleanups::Favourites() {
  namespace csidl = platform::csidl;
  const std::string mine = ShellFolder(csidl::kFavorites);
  EmptyPlace(mine, ShellFolder(csidl::kProfile), csidl::kFavorites);
  if (!userIsAdmin_) return;
  // Wine names the user's favourites for everybody's: one folder, emptied once.
  const std::string common = ShellFolder(csidl::kCommonFavorites);
  const std::string commonFinal = system_.FinalPath(common);
  if (!commonFinal.empty() && platform::SameName(commonFinal, system_.FinalPath(mine))) return;
  EmptyPlace(common, ShellFolder(csidl::kPublic), csidl::kCommonFavorites);
}

void SpecialCleanups::History() {
  namespace csidl = platform::csidl;
  EmptyPlace(ShellFolder(csidl::kHistory), ShellFolder(csidl::kProfile), csidl::kHistory);
}

}  // namespace cleanups
