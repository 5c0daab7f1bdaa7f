// Windows' own categories, as its Disk Cleanup and Storage Sense know them: Explorer's thumbnail
// and icon caches, Delivery Optimization's cache, the setup and servicing logs, old downloads.
#include <algorithm>

#include "cleanups/paths.h"
#include "cleanups/special_cleanups.h"

namespace cleanups {

void SpecialCleanups::DeleteFilesIn(std::string_view place, std::string_view home,
                                    std::initializer_list<const char*> patterns, bool recurse,
                                    int self, std::uint64_t keepWrittenAfter) {
  if (place.empty()) return;
  const std::optional<std::string> final = Guarded(place, home, self);
  if (!final) return;
  std::vector<platform::WildcardPattern> compiled;
  for (const char* pattern : patterns)
    compiled.emplace_back(pattern);
  DeleteFilesBelow(WithBackslash(*final), compiled, recurse, keepWrittenAfter);
}

void SpecialCleanups::DeleteFilesBelow(const std::string& folder,
                                       const std::vector<platform::WildcardPattern>& patterns,
                                       bool recurse, std::uint64_t keepWrittenAfter) {
  std::vector<std::string> subfolders;
  platform::FoldedName name;
  system_.ListFolder(folder, [&](const platform::DirEntry& entry) {
    if (run_.Stopped()) return false;
    if (entry.IsDirectory()) {
      if (recurse && !entry.IsReparsePoint()) subfolders.push_back(folder + entry.name + '\\');
    } else {
      name.Assign(entry.name);
      const bool oldEnough = keepWrittenAfter == kKeepNone ||
                             (entry.lastWrite != 0 && entry.lastWrite <= keepWrittenAfter);
      const bool wanted =
          oldEnough && std::any_of(patterns.begin(), patterns.end(),
                                   [&](const auto& pattern) { return pattern.Matches(name); });
      if (wanted && system_.DeleteFile(folder + entry.name))
        run_.AddFreed(static_cast<std::int64_t>(entry.size));
    }
    run_.ProcessMessages();
    return true;
  });
  for (const std::string& subfolder : subfolders) {
    if (run_.Stopped()) return;
    DeleteFilesBelow(subfolder, patterns, recurse, keepWrittenAfter);
  }
}

void SpecialCleanups::Thumbnails() {
  // Explorer holds the caches it uses open: those stay, and Windows rebuilds the others.
  const std::string local = ShellFolder(platform::csidl::kLocalAppData);
  if (local.empty()) return;
  DeleteFilesIn(Under(local, "Microsoft\\Windows\\Explorer"), local,
                {"thumbcache_*.db", "iconcache_*.db"}, false);
}

void SpecialCleanups::DeliveryOptimization() {
  if (!userIsAdmin_) return;
  // The pieces of updates shared with other PCs; the State folder beside the cache stays.
  const std::string windows = InWindowsFolder({});
  if (windows.empty()) return;
  EmptyPlace(Under(windows,
                   "ServiceProfiles\\NetworkService\\AppData\\Local\\Microsoft\\Windows\\"
                   "DeliveryOptimization\\Cache"),
             windows);
}

void SpecialCleanups::UpgradeLogs() {
  if (!userIsAdmin_) return;
  const std::string windows = InWindowsFolder({});
  if (windows.empty()) return;
  DeleteFilesIn(Under(windows, "Panther"), windows, {"*.log"}, true);
  DeleteFilesIn(Under(windows, "Logs\\CBS"), windows, {"*.log"}, false);
  // A setup's own folder on the system drive, when the Windows folder is on a lettered one.
  if (windows.size() < 3 || windows[1] != ':' || windows[2] != '\\') return;
  const std::string drive = windows.substr(0, 3);
  DeleteFilesIn(Under(drive, "$Windows.~BT\\Sources\\Panther"), drive, {"*.log"}, true);
}

void SpecialCleanups::Downloads() {
  namespace csidl = platform::csidl;
  // Ages by the last write: Windows keeps the last access late or not at all.
  const std::uint64_t age =
      static_cast<std::uint64_t>(std::max(downloadsDays_, 1)) * platform::kTicksPerDay;
  const std::uint64_t now = system_.CurrentTime();
  if (now <= age) return;
  // Only where it belongs, in the profile: a Downloads folder redirected to the documents or a
  // drive root, or a link to anywhere, is reported and left whole.
  DeleteFilesIn(ShellFolder(csidl::kDownloads), ShellFolder(csidl::kProfile), {"*"}, true,
                csidl::kDownloads, now - age);
}

}  // namespace cleanups
