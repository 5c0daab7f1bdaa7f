// The recycle bin, the Windows folder's update and log places, and the two registry lists.
#include <algorithm>
#include <iterator>
#include <vector>

#include "cleanups/paths.h"
#include "cleanups/special_cleanups.h"
#include "platform/little_endian.h"
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
  // This run's finds went to the bin so that they could be had back.
  if (recycle_) {
    run_.Note(run_.Texts()[lang::Text::kBinNotEmptied]);
    return;
  }
  if (binDays_ > 0) {
    const std::uint64_t age = static_cast<std::uint64_t>(binDays_) * platform::kTicksPerDay;
    const std::uint64_t now = system_.CurrentTime();
    if (now > age) RemoveRecycledBefore(now - age + 1);
    return;
  }
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
    } else if (const std::optional<std::string> final = Guarded(path, windows)) {
      EmptyFolder(*final, true);
    }
  }
}

bool SpecialCleanups::IsUnusedLibrary(const std::string& path) {
  static constexpr std::string_view kLibraries[] = {".dll", ".ocx", ".sys", ".drv"};
  if (!IsAbsolutePath(path) || path.size() < 5) return false;
  const std::string_view extension = std::string_view(path).substr(path.size() - 4);
  if (std::none_of(std::begin(kLibraries), std::end(kLibraries),
                   [&](std::string_view known) { return platform::SameName(extension, known); })) {
    return false;
  }
  // The system's own and every user's files stay, whatever the count says.
  const std::string final = system_.FinalPath(path);
  if (final.empty() || run_.Guard().InSystemOrProfiles(final)) return false;
  // A program file: "MZ", and at the offset it gives, "PE\0\0".
  const std::optional<std::string> head = system_.ReadFileStart(path, 4096);
  if (!head || head->size() < 0x40 || head->compare(0, 2, "MZ") != 0) return false;
  const auto offset = static_cast<std::size_t>(platform::LittleEndian(*head, 0x3C, 4));
  return offset <= head->size() - 4 && head->compare(offset, 4, std::string_view("PE\0\0", 4)) == 0;
}

void SpecialCleanups::RemoveZeroCountDlls() {
  std::unique_ptr<platform::RegistryKey> key =
      system_.OpenRegistryKey(platform::RegistryRoot::kLocalMachine, kSharedDlls);
  if (!key) return;
  for (const std::string& name : key->ValueNames()) {
    // Only a count that is a REG_DWORD 0 means the file is no longer needed.
    std::optional<platform::RegistryValue> value = key->ReadValue(name);
    if (!value || value->Dword() != std::optional<std::uint32_t>(0)) continue;
    if (!IsUnusedLibrary(name)) continue;
    bool gone = false;
    if (recycle_) {
      const std::optional<platform::FileStatus> entry = system_.Status(name);
      gone = entry && system_.MoveToRecycleBin(name) == platform::Recycled::kYes;
      if (gone) {
        run_.AddFreed(static_cast<std::int64_t>(entry->size));
        run_.AddRecycled(static_cast<std::int64_t>(entry->size));
      }
    } else {
      gone = DeleteCountedFile(name);
    }
    // The value goes with its file, never before: a library that stays keeps its record.
    if (!gone) continue;
    key->DeleteValue(name);
    run_.Report(name);
  }
}

void SpecialCleanups::ClearRunList() {
  std::unique_ptr<platform::RegistryKey> key =
      system_.OpenRegistryKey(platform::RegistryRoot::kCurrentUser, kRunMru);
  if (!key) return;
  std::int64_t cleared = 0;
  for (const std::string& name : key->ValueNames())
    cleared += key->DeleteValue(name) ? 1 : 0;
  run_.AddItems(cleared);
}

void SpecialCleanups::OldUpdateFiles() {
  const std::string windows = InWindowsFolder({});
  if (const std::optional<std::string> setup =
          Guarded(InWindowsFolder("Windows Update Setup-Dateien"), windows)) {
    EmptyFolder(*setup, true);
  }
  RemoveDollarFolders();
  // Windows Update's download cache: what an update still needs is in use or fetched again.
  // Its DataStore beside it holds the update history and stays.
  EmptyPlace(InWindowsFolder("SoftwareDistribution\\Download"), windows);
}

void SpecialCleanups::SystemLog() {
  EmptyPlace(InWindowsFolder("system32\\WBEM\\Logs"), InWindowsFolder({}));
}

}  // namespace cleanups
