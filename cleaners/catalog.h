// Every entry of the rule files in data\cleaners\: the project's own file first, then the
// others by name. The first entry of a name wins; a later one of the same name (in any letter
// case) is left out and accounted for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cleaners/detection.h"
#include "cleaners/rule_file.h"
#include "platform/system.h"

namespace cleaners {

inline constexpr std::string_view kRuleFolder = "data\\cleaners";
inline constexpr std::string_view kOwnRuleFile = "dustorix.ini";

class Catalog {
 public:
  // Reads every *.ini of the folder; an unreadable file is listed in UnreadFiles.
  static Catalog Load(platform::System& system, std::string_view folder = kRuleFolder);

  // Adds a file's entries after those read so far.
  void Add(RuleFile file);

  const std::vector<Entry>& Entries() const { return entries_; }
  // The entry of this name (letter case ignored), or null.
  const Entry* Find(std::string_view name) const;
  // Entries left out because an earlier one had their name.
  const std::vector<Entry>& Duplicates() const { return duplicates_; }
  // Lines before the first section of each file.
  const std::vector<KeyNote>& Outside() const { return outside_; }
  const std::vector<std::string>& Files() const { return files_; }
  const std::vector<std::string>& UnreadFiles() const { return unread_; }

  // The entries named in the user's choice that apply to this computer, in the catalog's order.
  std::vector<const Entry*> Enabled(const std::vector<std::string>& chosen,
                                    Detector& detector) const;

 private:
  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::size_t> byName_;  // folded name, index in entries_
  std::vector<Entry> duplicates_;
  std::vector<KeyNote> outside_;
  std::vector<std::string> files_;
  std::vector<std::string> unread_;
};

}  // namespace cleaners
