// The recycle bin, the Windows folder's update and log places, and the two registry lists.
#include <algorithm>
#include <vector>

#include "cleanups/paths.h"
#include "cleanups/special_cleanups.h"
#include "platform/wildcard.h"

namespace cleanups {

namespace {

constexpr std::string_view kSharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr std::string_view kRunMru =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

}  // namespace

std::string SpecialCleanups::InWindowsFolder(std::string_view tail) {
  const std::string windows = system_.WindowsFolder();
  if (windows.empty()) return {};
  return Under(LongPathName(windows), tail);
}

void SpecialCleanups::EmptyRecycleBin() {
  // Measured before and after: a shell may leave what it cannot remove.
  const std::optional<platform::RecycleBinContent> before = system_.QueryRecycleBin();
  system_.EmptyRecycleBin();
  const std::optional<platform::RecycleBinContent> after = system_.QueryRecycleBin();
  if (!before || !after) return;
  run_.RecycleBinEmptied({before->items - std::min(before->items, after->items),
                          before->bytes - std::min(before->bytes, after->bytes)});
}

void SpecialCleanups::RemoveDollarFolders() {
  const std::string windows = InWindowsFolder({});
  if (windows.empty()) return;
  // Matched on the long names by the program itself: the file system would also match the
  // generated short names.
  const platform::WildcardPattern dollars("$*$");
  std::vector<platform::DirEntry> found;
  system_.ListFolder(windows, [&](const platform::DirEntry& entry) {
    if (dollars.Matches(entry.name)) found.push_back(entry);
    return true;
  });
  for (const platform::DirEntry& entry : found) {
    if (run_.Stopped()) return;
    // A file of such a name stays; a link goes as a link, its target untouched.
    if (!entry.IsDirectory()) continue;
    const std::string path = windows + entry.name;
    if (entry.IsReparsePoint()) {
      system_.RemoveFolder(path);
    } else {
      EmptyFolder(path, true);
    }
  }
}

void SpecialCleanups::RemoveZeroCountDlls() {
  std::unique_ptr<platform::RegistryKey> key =
      system_.OpenRegistryKey(platform::RegistryRoot::kLocalMachine, kSharedDlls);
  if (!key) return;
  for (const std::string& name : key->ValueNames()) {
    // Only a count that is a REG_DWORD 0 means the file is no longer needed.
    std::optional<platform::RegistryValue> value = key->ReadValue(name);
    if (!value || value->Dword() != std::optional<std::uint32_t>(0)) continue;
    key->DeleteValue(name);
    if (DeleteCountedFile(name)) run_.Report(name);
  }
}

void SpecialCleanups::ClearRunList() {
  std::unique_ptr<platform::RegistryKey> key =
      system_.OpenRegistryKey(platform::RegistryRoot::kCurrentUser, kRunMru);
  if (!key) return;
  for (const std::string& name : key->ValueNames())
    key->DeleteValue(name);
}

void SpecialCleanups::OldUpdateFiles() {
  EmptyFolder(InWindowsFolder("Windows Update Setup-Dateien\\"), true);
  RemoveDollarFolders();
  // Windows Update's download cache: what an update still needs is in use or fetched again.
  // Its DataStore beside it holds the update history and stays.
  EmptyPlace(InWindowsFolder("SoftwareDistribution\\Download"));
}

void SpecialCleanups::SystemLog() {
  EmptyFolder(InWindowsFolder("system32\\WBEM\\Logs\\"), false);
}

}  // namespace cleanups
