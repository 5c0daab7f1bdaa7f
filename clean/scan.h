// The walk at the heart of a clean run: every folder below a root, depth first, taking the files
// whose long names match a junk pattern (and, on request, the empty files) unless excepted.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "clean/run_context.h"
#include "platform/ui/status_bar.h"
#include "platform/wildcard.h"
#include "settings/settings.h"

namespace clean {

// The removal hook of a run: takes a full path, returns true when the item is gone.
using FileAction = std::function<bool(const std::string& path)>;

// What a run takes from the settings, copied when it starts so that the options dialog's OK
// during the run cannot change them under the walk.
struct RunSettings {
  std::vector<std::string> FileEndingList;
  std::vector<std::string> ExceptionListLower;
  settings::Switches AdvancedOptions{};
  bool UserIsAdmin = false;

  bool ScanWanted() const {
    return !FileEndingList.empty() || AdvancedOptions[settings::kNullFile];
  }
};

class Scanner {
 public:
  Scanner(RunContext& run, const RunSettings& settings, ui::StatusBar& status, FileAction action);

  // Lists each folder once, then: its files pattern by pattern, its empty files, its subfolders.
  void ScanFolder(const std::string& folder);

 private:
  bool IsException(const std::string& name) const;
  // Hands a candidate to the hook; true when it was removed.
  bool Take(const std::string& path, std::uint64_t size, bool countSize);

  RunContext& run_;
  ui::StatusBar& status_;
  FileAction action_;
  std::vector<platform::WildcardPattern> patterns_;
  std::unordered_set<std::string> exceptions_;
  bool zeroBytePass_;
};

// A pattern the walk can use: a bare file-name pattern, no folder parts or drive.
bool IsUsablePattern(const std::string& pattern);

}  // namespace clean
