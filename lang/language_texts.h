// The table of user-interface texts and the language files it is read from.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/system.h"

namespace lang {

// The texts of the table, by their place in it: line n of a language file holds text n-1.
enum class Text : int {
  kMenuFile = 0,
  kDelete,  // the menu item and the button
  kCancel,  // the stop button and its menu item; the input box's cancel button
  kExit,
  kMenuEdit,
  kMenuLanguage,
  kOptions,  // the menu item, the button and the options dialog's caption
  kMenuHelp,
  kAbout,
  kDeleteGroup,
  kAllDrives,
  kClose,  // the close buttons of the main window and of the report
  kPatternsGroup,
  kAdd,
  kRemove,
  kExceptionsGroup,
  // The captions of the check boxes of switches 0 to 10, then their hints.
  kTempFoldersCaption,
  kRecentDocumentsCaption,
  kEmptyRecycleBinCaption,
  kTempInternetFilesCaption,
  kCookiesCaption,
  kFavouritesCaption,
  kHistoryCaption,
  kZeroByteFilesCaption,
  kOldUpdateFilesCaption,
  kSystemLogCaption,
  kUnusedDllsCaption,
  kTempFoldersHint,
  kRecentDocumentsHint,
  kEmptyRecycleBinHint,
  kTempInternetFilesHint,
  kCookiesHint,
  kFavouritesHint,
  kHistoryHint,
  kZeroByteFilesHint,
  kOldUpdateFilesHint,
  kSystemLogHint,
  kUnusedDllsHint,
  kOk,
  kDiscard,  // the options dialog's cancel button
  kStandard,
  kPatternsHint,
  kExceptionsHint,
  kSuccessHeadline,
  kDeletedFilesLabel,
  kReportTitle,
  // Each special step's status text and report line.
  kTempFoldersStatus,
  kTempFoldersReport,
  kRecentDocumentsStatus,
  kRecentDocumentsReport,
  kEmptyRecycleBinStatus,
  kEmptyRecycleBinReport,
  kTempInternetFilesStatus,
  kTempInternetFilesReport,
  kCookiesStatus,
  kCookiesReport,
  kFavouritesStatus,
  kFavouritesReport,
  kHistoryStatus,
  kHistoryReport,
  kOldUpdateFilesStatus,
  kOldUpdateFilesReport,
  kSystemLogStatus,
  kSystemLogReport,
  kUnusedDllsStatus,
  kFreedUnit,  // written right after the freed kilobytes
  kStoppedHeadline,
  kStoppedDeletedFilesLabel,
  kRunListStatus,
  kRunListReport,
  kRunListCaption,
  kRunListHint,
  kBadPattern,
  kBadException,
  kNewPatternCaption,
  kNewPatternPrompt,
  kNewExceptionCaption,
  kNewExceptionPrompt,
  kRecycleFoundCaption,
  kRecycleFoundHint,
  kInvalidEntry,  // the refusals' message box caption
  kReviewFirstCaption,
  kReviewFirstHint,
  kReviewLabel,
  kReviewTitle,
  kMarkAll,
  kUnmarkAll,
  kContinue,
  kRemovingMarked,
  kReviewTitleStopped,
  kOkHint,
  kDiscardHint,
  kStandardHint,
  // Texts added since the first 93; a language file without their lines keeps the design text.
  kMoreOptionsGroup,
  kSettingsUnreadable,  // the report's headline when no file was searched for that reason
  kOneFile,             // "1 file"
  kFiles,               // "%1 files", %1 the count
  // The analysis: a clean run with nothing removed.
  kAnalyze,  // the button and the menu item
  kAnalysisTitle,
  kAnalysisHeadline,
  kWouldBeDeletedLabel,
  kWouldBeFreedUnit,  // written right after the kilobytes an analysis found
  // The browsers' caches and cookies: %1 a browser's name, %2 the size its files freed.
  kBrowserCacheRemoved,    // "%1: cache removed, %2"
  kBrowserCookiesRemoved,  // "%1: cookies removed, %2"
  kBrowserRunning,         // the browser was running and was left alone
  // Error reports with crash dumps, and shader caches: switches 14 and 15.
  kErrorReportsCaption,
  kShaderCachesCaption,
  kErrorReportsHint,
  kShaderCachesHint,
  kErrorReportsStatus,
  kErrorReportsReport,
  kShaderCachesStatus,
  kShaderCachesReport,
  // The options dialog's questions, and the about dialog's licence line.
  kStandardQuestion,         // whether "Standard" may reset the lists and switches
  kDocumentPatternQuestion,  // %1 a new pattern, %2 a document it takes: add it all the same?
  kLicence,
  // Places and files a run leaves alone, and why: %1 the place or file, %2 the reason.
  kPlaceLeftAlone,      // "%1 left alone: %2"
  kReasonUnresolved,    // where the place leads cannot be told
  kReasonDriveRoot,     // it is the root of a drive
  kReasonProtected,     // it is or holds %1, a folder of the system or the user
  kReasonOutside,       // it lies outside %1, the folder it belongs in
  kReasonTempFallback,  // TMP and TEMP are not set
  kRecycleRefused,      // "%1: left in place, the recycle bin did not take it"
  kRecyclePathTooLong,  // "%1: left in place, path too long for the recycle bin"
  kBinNotEmptied,       // the recycle bin was not emptied: this run's finds went there
  kHostRootDrive,       // %1, a drive, is the host's whole file system under Wine: not searched
  kAgeRuleIgnored,      // line %1 of data\agerules.dat is no rule and was ignored
  kThumbnailsCaption,
  kDeliveryOptimizationCaption,
  kUpgradeLogsCaption,
  kThumbnailsHint,
  kDeliveryOptimizationHint,
  kUpgradeLogsHint,
  kThumbnailsStatus,
  kThumbnailsReport,
  kDeliveryOptimizationStatus,
  kDeliveryOptimizationReport,
  kUpgradeLogsStatus,
  kUpgradeLogsReport,
  // The applications' entries in a run: %1 an entry's name.
  kCleanerStatus,           // "Cleaning %1..."
  kCleanerRunning,          // %2 its program, running: the entry was left alone
  kCleanerKeyRefused,       // "%1: %2 refused, %3": %2 the key, %3 one of the reasons below
  kRefusedDotSegment,       // its folder has "." or ".." parts
  kRefusedProtectedFolder,  // too wide at a protected folder
  kRefusedRegistryKey,      // a registry key the system relies on
  kRefusedPlace,            // its folder leads where no clean-up may reach
  kRefusedExclusionUnread,  // an exclusion of the entry could not be read
  // The dialog that chooses the applications' entries.
  kApplications,  // its title, the menu item and the options dialog's button
  kApplicationsHint,
  kApplicationsCount,  // "%1 of %2 entries apply to this computer"
  kApplicationsSearch,
  kApplicationsEntryColumn,
  kApplicationsWarningQuestion,  // after an entry's warning: tick it all the same?
  // The review of everything a run would remove, and the outcomes of a reviewed run.
  kCancelledHeadline,  // the report's headline when the review was left without cleaning up
  kAnalysisStoppedHeadline,
  kBrowserCacheWouldGo,  // an analysis's line: %1 a browser, %2 a size
  kBrowserCookiesWouldGo,
  kBrowserCachePart,  // a category of the review: %1 a browser
  kBrowserCookiesPart,
  kChangedSinceAnalysis,  // %1 a count
  kFoundFilesCategory,
  kEmptyFilesCategory,
  kReviewColumnCategory,  // the review's columns
  kReviewColumnItems,
  kReviewColumnSize,
  kReviewColumnShare,
  kReviewTotal,     // %1 the ticked items and their size
  kCleanUp,         // the review's button that removes what is ticked
  kDeletesForGood,  // %1 a category that bypasses the recycle bin
  kAnalysisTook,    // %1 seconds
  kReviewPlanLabel,
  kReviewPlanTitle,
  kViewFiles,  // the review's button that shows a row's files one by one
  kViewFilesColumnName,
  kViewFilesColumnFolder,
  // The report's figures apart from the freed ones, its notes, and the scan's progress.
  kRecycledApart,         // %1 kilobytes that went to the recycle bin
  kWouldBeRecycledApart,  // %1 kilobytes an analysis would move there
  kNotesLabel,            // above the list when a run removed nothing but left things alone
  kScanProgress,          // %1 the files found so far and their size
  // The age rules: the Downloads step, and the options dialog's choices of ages.
  kDownloadsCaption,  // names the step in an analysis
  kDownloadsStatus,
  kDownloadsReport,
  kAgesGroup,
  kTempKeepLabel,  // the temporary folders keep files younger than the choice beside it
  kTempKeepHint,
  kDownloadsLabel,  // files in the Downloads folder go once unchanged for the choice beside it
  kDownloadsHint,
  kKeepNone,   // the temporary folders keep no file for its age
  kNever,      // the Downloads folder is never cleaned
  kHoursText,  // %1 hours
  kDaysText,   // %1 days
  // The previous Windows installation, only told of: its name, the analysis's line (%1 the name,
  // %2 its files and size) and its row in the review (%1 the name).
  kPreviousWindowsCategory,
  kPreviousWindowsInfo,
  kPreviousWindowsRow,
  // The recycle bin's age in the options dialog.
  kBinDaysLabel,
  kBinDaysHint,
  kBinAllItems,   // the bin's clean-up takes every item
  kBinOlderThan,  // %1 days an item has been in the bin at least
  kCount
};

inline constexpr int kLanguageTextCount = static_cast<int>(Text::kCount);

// The German text the forms were designed with, which stands in for a text that no language file
// gives.
const std::string& DesignText(Text text);

// The caption as plain text shows it: without its access-key mark ("&Delete" is "Delete"), "&&"
// as one "&".
std::string WithoutAccessKey(std::string_view caption);

// The texts of the chosen language, read by name at the moment of use; the design texts until a
// language file is read.
class LanguageTexts {
 public:
  LanguageTexts();
  const std::string& operator[](Text text) const { return texts_[Index(text)]; }
  std::string& operator[](Text text) { return texts_[Index(text)]; }
  // Every text, in the order of the file's lines.
  auto begin() const { return texts_.begin(); }
  auto end() const { return texts_.end(); }
  // The same texts, whichever file they came from.
  bool operator==(const LanguageTexts& other) const { return texts_ == other.texts_; }
  // The code of the language file last read ("De", "En", "Gr"); how its numbers are written.
  const std::string& Code() const { return code_; }
  void SetCode(std::string code) { code_ = std::move(code); }

 private:
  static std::size_t Index(Text text) { return static_cast<std::size_t>(text); }
  std::array<std::string, kLanguageTextCount> texts_;
  std::string code_;
};

// "data\lang\" + the first two bytes of the code + ".dat".
std::string LanguageFilePath(std::string_view languageCode);

// Reads line n into text n-1, in UTF-8 or, with a byte-order mark, UTF-16; a text whose line is
// missing or empty keeps its German design text, so that no caption is ever blank. A file that
// cannot be read leaves the table as it was. Lines after the last text's are ignored.
void ReadLanguageFile(platform::System& system, std::string_view languageCode,
                      LanguageTexts& texts);

// The texts of a language file's bytes, by the same rules; `languageCode` as ReadLanguageFile
// would record it.
LanguageTexts ParseLanguageFile(std::string_view bytes, std::string_view languageCode);

// The Windows primary language identifier for message boxes: 7 "De", 9 "En", 8 "Gr", else 0.
std::uint16_t MessageLanguageIdFor(std::string_view languageCode);

}  // namespace lang
