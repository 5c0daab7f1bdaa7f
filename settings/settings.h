// The user's settings as the main window holds them in memory.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "settings/age_rules.h"

namespace settings {

// Switch indices: also the byte position in data\advancedoption.dat and the position in the
// options dialog's check-box table.
enum Switch : int {
  kTempFolders = 0,
  kRecentDocuments = 1,
  kEmptyRecycleBin = 2,
  kTempInternetFiles = 3,
  kCookies = 4,
  kFavourites = 5,
  kHistory = 6,
  kZeroByteFiles = 7,  // the scan's zero-byte pass, not a special step
  kOldUpdateFiles = 8,
  kSystemLog = 9,
  kUnusedDlls = 10,
  kRunList = 11,
  kRecycleFound = 12,  // found files go to the recycle bin instead of being deleted
  kReviewFirst = 13,   // found files are shown for review before anything is removed
  kErrorReports = 14,  // the system's part for administrators only
  kShaderCaches = 15,
  kThumbnails = 16,            // Explorer's thumbnail and icon caches
  kDeliveryOptimization = 17,  // update pieces shared with other PCs (administrators)
  kUpgradeLogs = 18,           // Windows setup and servicing logs (administrators)
  kDownloads = 19,             // files in the Downloads folder not written for a while
};
inline constexpr int kSwitchCount = 20;

using Switches = std::array<bool, kSwitchCount>;

struct LanguageChoice {
  std::string LanguageCode;  // "De", "En" or "Gr"; at most two bytes are stored
  bool LanguageChosen = false;
};

// The files read at start and written at close, in that order.
enum class SettingsFile : int {
  kFileFormat = 0,
  kException,
  kAdvancedOption,
  kWhichLang,
  kCleaners,
  kAgeRules
};
inline constexpr int kSettingsFileCount = 6;

struct Settings {
  std::vector<std::string> FileEndingList;
  std::vector<std::string> ExceptionList;
  std::vector<std::string> ExceptionListLower;  // entry for entry, A-Z lower-cased
  std::vector<std::string> ProtectedPatterns;
  Switches AdvancedOptions{};
  LanguageChoice LanguageRecord;
  // The entries of the application rules the user switched on, by name.
  std::vector<std::string> CleanerList;
  AgeRules Ages;
  // The lines of the age rules' file that were no rule, numbered from 1; told in each run's
  // report until the file is written anew.
  std::vector<int> AgeRuleBadLines;

  // A file that exists but could not be read at start (locked, no rights, switches that are no
  // switches) is not overwritten with the empty state that stood in for it, unless the user set
  // that state anew.
  std::array<bool, kSettingsFileCount> keepOnDisk{};
  void MarkChanged(SettingsFile file) { keepOnDisk[static_cast<int>(file)] = false; }
};

}  // namespace settings
