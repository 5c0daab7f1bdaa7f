// The fixed clean-ups behind the advanced switches, and the folder, path, registry and browser
// operations they are built from. Every operation absorbs its own failures: a missing folder,
// key or value makes it do nothing. Files are always deleted for good, and what they free is
// added to the run's total.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cleanups/browsers.h"
#include "cleanups/run_context.h"
#include "platform/system.h"
#include "platform/wildcard.h"
#include "settings/age_rules.h"

namespace cleanups {

// A folder that is there and no link: a link would lead a clean-up out of the place it empties.
bool IsRealFolder(platform::System& system, const std::string& path);

class SpecialCleanups {
 public:
  // No file is too young to go.
  static constexpr std::uint64_t kKeepNone = std::numeric_limits<std::uint64_t>::max();
  // `recycle`: the user asked for the recycle bin, so the bin is not emptied and what a step
  // hands over goes there (the unused libraries).
  SpecialCleanups(RunContext& run, bool userIsAdmin, bool recycle = false);

  // --- The steps (special_steps.h runs them in order, with their texts), besides
  // EmptyRecycleBin, RemoveZeroCountDlls and ClearRunList below.
  void TemporaryFolders();
  // The temporary folders then keep what was written within the last `hours` hours (0: none):
  // an installer in the middle of its work keeps its files.
  void KeepTemporaryFilesWrittenWithin(int hours) { tempKeepHours_ = hours; }
  // Windows' own categories (windows_categories.cpp): Explorer's thumbnail and icon caches
  // (files in use stay), and for administrators Delivery Optimization's cache and the setup and
  // servicing logs.
  void Thumbnails();
  void DeliveryOptimization();
  void UpgradeLogs();
  // The files in the user's Downloads folder, below too, not written for the days of
  // RemoveDownloadsNotWrittenFor (Windows' Storage Sense offers the same). Folders stay.
  void Downloads();
  void RemoveDownloadsNotWrittenFor(int days) { downloadsDays_ = days; }
  // EmptyRecycleBin takes only the items deleted `days` ago or more, as the bin records them;
  // 0 empties the whole bin.
  void EmptyRecycleBinOf(int days) { binDays_ = days; }
  void RecentDocuments();
  void TemporaryInternetFiles();
  void Cookies();
  void Favourites();
  void History();
  void OldUpdateFiles();
  void SystemLog();
  // The user's error reports and program crash dumps; for administrators also the system's
  // reports and dumps.
  void ErrorReports();
  // The DirectX and graphics drivers' shader caches of the user.
  void ShaderCaches();

  // --- Folders and paths
  // The path made absolute, each existing component under the name stored on disk; from the
  // first missing component on, the rest stays as it was. A bare drive ("C:") stays as it is.
  std::string LongPathName(std::string_view path);
  // Deletes the files and subfolders of a folder for good, bottom up, and the folder itself with
  // `removeItself`. Ends at the next entry once the run is stopped. Refuses an empty or relative
  // path and the root of a drive or share; removes links inside as links, never touching their
  // targets. Files written after `keepWrittenAfter` stay, and so do the folders holding them.
  void EmptyFolder(std::string_view path, bool removeItself,
                   std::uint64_t keepWrittenAfter = kKeepNone);
  // The sizes of the folder's files, and with `withSubfolders` of its subfolders' files, except
  // below subfolders whose names begin with a dot and links. 0 for an empty path. `files`, when
  // given, receives the number of files measured.
  std::int64_t FolderSize(std::string_view path, bool withSubfolders,
                          std::int64_t* files = nullptr);

  // --- Browser traces
  // Deletes every entry of the URL cache that can be deleted.
  void ClearUrlCache();
  // The text of a REG_SZ or REG_EXPAND_SZ value (not expanded); empty when the key or value is
  // missing, empty or of another type.
  std::string ReadRegString(platform::RegistryRoot root, std::string_view keyPath,
                            std::string_view valueName);

  // --- Registry and system
  void EmptyRecycleBin();
  // Empties and removes the folders of the Windows folder named with a dollar sign at both ends.
  void RemoveDollarFolders();
  // Deletes the shared libraries whose SharedDLLs count is a REG_DWORD 0, each value once its
  // file is gone. Only a library (.dll, .ocx, .sys, .drv that is a program file) outside the
  // Windows folder and every profile is taken: a count of 0 says nothing about other files.
  void RemoveZeroCountDlls();
  // Deletes every value of the Run dialog's history; the key stays.
  void ClearRunList();

 private:
  // Deletes the files in the place the guard lets through whose names one of `patterns` matches,
  // below too with `recurse`. Folders stay; links are neither entered nor removed. With a
  // `keepWrittenAfter`, files written after it stay, and so do files of no known time.
  void DeleteFilesIn(std::string_view place, std::string_view home,
                     std::initializer_list<const char*> patterns, bool recurse,
                     int self = kNoShellFolder, std::uint64_t keepWrittenAfter = kKeepNone);
  void DeleteFilesBelow(const std::string& folder,
                        const std::vector<platform::WildcardPattern>& patterns, bool recurse,
                        std::uint64_t keepWrittenAfter);
  // The walk of EmptyFolder; `folder` ends with a backslash.
  void EmptyTree(const std::string& folder, std::uint64_t keepWrittenAfter);
  // Where a clean-up may work in `place`, as the run's guard decides (see PlaceGuard::Check):
  // the place's final path, or nothing when it is missing or refused; a refusal is reported.
  std::optional<std::string> Guarded(std::string_view place, std::optional<std::string_view> home,
                                     int self = kNoShellFolder);
  // The items of the user's folder in each fixed drive's recycle bin deleted before `before`.
  void RemoveRecycledBefore(std::uint64_t before);
  // Removes one item of the bin, the content first, then its record; `record` names the record.
  void RemoveRecycledItem(const std::string& folder, const std::string& record);
  // Reports a place the guard refused, and why.
  void ReportLeftAlone(std::string_view place, const Verdict& verdict);
  // Empties a place of the system and keeps it, when the guard lets it through.
  void EmptyPlace(std::string_view place, std::optional<std::string_view> home,
                  int self = kNoShellFolder);
  // The shell folder, when it is an absolute path; else nothing (a relative one would be the
  // program's own folder).
  std::string ShellFolder(int csidl);
  // Deletes one file for good, counting its size; nothing for a missing or relative path or a
  // folder.
  bool DeleteCountedFile(const std::string& path);
  void EmptyErrorReportFolders(const std::string& appData);
  // LongPathName of the Windows folder followed by `tail`; empty without a Windows folder.
  std::string InWindowsFolder(std::string_view tail);
  // A location of an Opera profile: in the application-data folder, or named by a registry
  // value; empty (to be skipped) when its base is missing.
  std::string UsualOperaPlace(std::string_view profile, std::string_view tail);
  std::string RegisteredOperaPlace(std::string_view valueName, std::string_view tail);
  void DeleteOperaCookies(std::string_view profile, std::string_view valueName);

  // Today's browsers (browsers.cpp), after the classic places: each browser found that is not
  // running gets its caches emptied or its cookie files deleted, and a report line; a running
  // one is reported and left alone for the rest of the run.
  enum class BrowserPart { kCaches, kCookies };
  void CleanBrowsers(BrowserPart part);
  void EmptyNamedFolders(const NamedPlace& place);
  void DeleteNamedFiles(const NamedPlace& place);

  RunContext& run_;
  platform::System& system_;
  // Whether a SharedDLLs value names a library this clean-up may remove.
  bool IsUnusedLibrary(const std::string& path);

  bool userIsAdmin_;
  bool recycle_;
  int tempKeepHours_ = 0;
  int downloadsDays_ = settings::kDefaultDownloadsDays;
  int binDays_ = 0;
  std::array<bool, kBrowsers.size()> leftAlone_{};  // by kBrowsers' index
};

}  // namespace cleanups
