#include "clean/scan.h"

#include "settings/list_file.h"

namespace clean {

namespace {

using platform::DirEntry;
namespace attr = platform::attr;

// Read-only and system entries are never taken; a link is never handed to a hook, since
// removing or recycling it can reach what it points to.
bool NeverTaken(const DirEntry& entry) {
  return (entry.attributes & (attr::kReadOnly | attr::kSystem | attr::kReparsePoint)) != 0;
}

struct Listed {
  DirEntry entry;
  platform::FoldedName folded;
  bool removed = false;
};

}  // namespace

bool IsUsablePattern(const std::string& pattern) {
  return pattern.find_first_of("\\/:") == std::string::npos;
}

Scanner::Scanner(RunContext& run, const RunSettings& settings, ui::StatusBar& status,
                 FileAction action)
    : run_(run),
      status_(status),
      action_(std::move(action)),
      exceptions_(settings.ExceptionListLower.begin(), settings.ExceptionListLower.end()),
      zeroBytePass_(settings.AdvancedOptions[settings::kNullFile]) {
  // Compiled once per run, not once per name.
  for (const std::string& pattern : settings.FileEndingList) {
    if (IsUsablePattern(pattern)) patterns_.emplace_back(pattern);
  }
}

bool Scanner::IsException(const std::string& name) const {
  return !exceptions_.empty() && exceptions_.count(settings::LowerAsciiLetters(name)) != 0;
}

bool Scanner::Take(const std::string& path, std::uint64_t size, bool countSize) {
  if (!action_(path)) return false;
  if (countSize) run_.AddFreed(static_cast<std::int64_t>(size));
  run_.Report(path);
  return true;
}

void Scanner::ScanFolder(const std::string& folder) {
  const std::string path = folder.empty() || folder.back() != '\\' ? folder + '\\' : folder;

  std::vector<Listed> listing;
  run_.System().ListFolder(path, [&](const DirEntry& entry) {
    listing.push_back({entry, platform::FoldedName(entry.name), false});
    return true;
  });

  // Pattern pass: for each pattern, the entries it matches, in listing order.
  for (const platform::WildcardPattern& pattern : patterns_) {
    for (Listed& item : listing) {
      if (item.removed || !pattern.Matches(item.folded)) continue;
      if (run_.Stopped()) return;
      if (!NeverTaken(item.entry) && !IsException(item.entry.name)) {
        item.removed = Take(path + item.entry.name, item.entry.size, true);
      }
      run_.ProcessMessages();
    }
  }

  if (zeroBytePass_) {
    for (Listed& item : listing) {
      if (run_.Stopped()) return;
      const DirEntry& entry = item.entry;
      if (!item.removed && entry.size == 0 && !entry.IsDirectory() && !NeverTaken(entry) &&
          !IsException(entry.name)) {
        item.removed = Take(path + entry.name, 0, false);
      }
      run_.ProcessMessages();
    }
  }

  for (const Listed& item : listing) {
    if (run_.Stopped()) return;
    const DirEntry& entry = item.entry;
    // Links are never followed: no loops, and no walk into another drive or folder.
    if (!item.removed && entry.IsDirectory() && !entry.IsReparsePoint()) {
      const std::string subfolder = path + entry.name;
      status_.SetPanelText(0, subfolder);
      status_.Repaint();
      ScanFolder(subfolder);
    }
    run_.ProcessMessages();
  }
}

}  // namespace clean
