// data\agerules.dat: rules by age, one `key=value` a line, so that a user can read and edit them.
//   TempKeepHours=24   the temporary folders keep files written within the last N hours (0: none
//                      kept); an installer in the middle of its work keeps its files
//   DownloadsDays=30   the Downloads clean-up takes only files not written for more than N days
//   RecycleBinDays=0   the recycle bin's clean-up takes only items deleted N days ago or more
//                      (0: the whole bin)
// A line that is no such rule is ignored and told, with its number; a missing key keeps its
// default.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace settings {

inline constexpr int kDefaultTempKeepHours = 24;
inline constexpr int kMaxTempKeepHours = 24 * 366;
inline constexpr int kDefaultDownloadsDays = 30;
inline constexpr int kMaxAgeDays = 3660;

struct AgeRules {
  int TempKeepHours = kDefaultTempKeepHours;
  // Never 0: a file just downloaded is never taken.
  int DownloadsDays = kDefaultDownloadsDays;
  int RecycleBinDays = 0;

  bool operator==(const AgeRules&) const = default;
};

struct ParsedAgeRules {
  AgeRules rules;
  std::vector<int> badLines;  // numbered from 1
};

// Reads the lines as the list files are read (a byte-order mark, UTF-16, blanks at the ends).
ParsedAgeRules ParseAgeRules(std::string_view bytes);
std::string FormatAgeRules(const AgeRules& rules);

}  // namespace settings
