// Windows' own categories, as its Disk Cleanup and Storage Sense know them: Explorer's thumbnail
// and icon caches, Delivery Optimization's cache, the setup and servicing logs.
#include <algorithm>

#include "cleanups/paths.h"
#include "cleanups/special_cleanups.h"

namespace cleanups {

void SpecialCleanups::DeleteFilesIn(std::string_view place, std::string_view home,
                                    std::initializer_list<const char*> patterns, bool recurse) {
  if (place.empty()) return;
  const std::optional<std::string> final = Guarded(place, home);
  if (!final) return;
  std::vector<platform::WildcardPattern> compiled;
  for (const char* pattern : patterns)
    compiled.emplace_back(pattern);
  DeleteFilesBelow(WithBackslash(*final), compiled, recurse);
}

void SpecialCleanups::DeleteFilesBelow(const std::string& folder,
                                       const std::vector<platform::WildcardPattern>& patterns,
                                       bool recurse) {
  std::vector<std::string> subfolders;
  platform::FoldedName name;
  system_.ListFolder(folder, [&](const platform::DirEntry& entry) {
    if (run_.Stopped()) return false;
    if (entry.IsDirectory()) {
      if (recurse && !entry.IsReparsePoint()) subfolders.push_back(folder + entry.name + '\\');
    } else {
      name.Assign(entry.name);
      const bool wanted = std::any_of(patterns.begin(), patterns.end(),
                                      [&](const auto& pattern) { return pattern.Matches(name); });
      if (wanted && system_.DeleteFile(folder + entry.name))
        run_.AddFreed(static_cast<std::int64_t>(entry.size));
    }
    run_.ProcessMessages();
    return true;
  });
  for (const std::string& subfolder : subfolders) {
    if (run_.Stopped()) return;
    DeleteFilesBelow(subfolder, patterns, recurse);
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

}  // namespace cleanups
