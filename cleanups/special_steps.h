// The special clean-ups of a run, in the order they run: the switch that turns each on, its
// texts, and the clean-up that does it. A new step is one more line.
#pragma once

#include <array>
#include <optional>

#include "cleanups/special_cleanups.h"
#include "lang/language_texts.h"
#include "settings/settings.h"

namespace cleanups {

struct SpecialStep {
  settings::Switch on;
  const char* id;                    // names the step in a machine-read report, in any language
  lang::Text name;                   // names the step in an analysis: its check box's caption
  lang::Text status;                 // shown while the step runs
  std::optional<lang::Text> report;  // added to the report afterwards
  bool removesFiles;                 // the report line tells how many and what they freed
  bool processAfter;                 // whether pending messages are handled after the step
  void (SpecialCleanups::*run)();
};

namespace internal {
constexpr auto SpecialSteps() {
  using enum lang::Text;
  using S = SpecialCleanups;
  return std::array{
      SpecialStep{settings::kTempFolders, "temporaryFolders", kTempFoldersCaption,
                  kTempFoldersStatus, kTempFoldersReport, true, true, &S::TemporaryFolders},
      SpecialStep{settings::kRecentDocuments, "recentDocuments", kRecentDocumentsCaption,
                  kRecentDocumentsStatus, kRecentDocumentsReport, true, true, &S::RecentDocuments},
      SpecialStep{settings::kEmptyRecycleBin, "recycleBin", kEmptyRecycleBinCaption,
                  kEmptyRecycleBinStatus, kEmptyRecycleBinReport, true, true, &S::EmptyRecycleBin},
      SpecialStep{settings::kTempInternetFiles, "temporaryInternetFiles", kTempInternetFilesCaption,
                  kTempInternetFilesStatus, kTempInternetFilesReport, true, true,
                  &S::TemporaryInternetFiles},
      SpecialStep{settings::kCookies, "cookies", kCookiesCaption, kCookiesStatus, kCookiesReport,
                  true, true, &S::Cookies},
      SpecialStep{settings::kFavourites, "favourites", kFavouritesCaption, kFavouritesStatus,
                  kFavouritesReport, true, true, &S::Favourites},
      SpecialStep{settings::kHistory, "history", kHistoryCaption, kHistoryStatus, kHistoryReport,
                  true, true, &S::History},
      SpecialStep{settings::kOldUpdateFiles, "oldUpdateFiles", kOldUpdateFilesCaption,
                  kOldUpdateFilesStatus, kOldUpdateFilesReport, true, false, &S::OldUpdateFiles},
      SpecialStep{settings::kSystemLog, "systemLog", kSystemLogCaption, kSystemLogStatus,
                  kSystemLogReport, true, true, &S::SystemLog},
      SpecialStep{settings::kErrorReports, "errorReports", kErrorReportsCaption,
                  kErrorReportsStatus, kErrorReportsReport, true, true, &S::ErrorReports},
      SpecialStep{settings::kShaderCaches, "shaderCaches", kShaderCachesCaption,
                  kShaderCachesStatus, kShaderCachesReport, true, true, &S::ShaderCaches},
      SpecialStep{settings::kThumbnails, "thumbnails", kThumbnailsCaption, kThumbnailsStatus,
                  kThumbnailsReport, true, true, &S::Thumbnails},
      SpecialStep{settings::kDeliveryOptimization, "deliveryOptimization",
                  kDeliveryOptimizationCaption, kDeliveryOptimizationStatus,
                  kDeliveryOptimizationReport, true, true, &S::DeliveryOptimization},
      SpecialStep{settings::kUpgradeLogs, "upgradeLogs", kUpgradeLogsCaption, kUpgradeLogsStatus,
                  kUpgradeLogsReport, true, true, &S::UpgradeLogs},
      SpecialStep{settings::kDownloads, "downloads", kDownloadsCaption, kDownloadsStatus,
                  kDownloadsReport, true, true, &S::Downloads},
      // The unused libraries report each file they delete, and no line of their own.
      SpecialStep{settings::kUnusedDlls, "unusedDlls", kUnusedDllsCaption, kUnusedDllsStatus,
                  std::nullopt, true, true, &S::RemoveZeroCountDlls},
      SpecialStep{settings::kRunList, "runList", kRunListCaption, kRunListStatus, kRunListReport,
                  false, false, &S::ClearRunList},
  };
}
}  // namespace internal

inline constexpr auto kSpecialSteps = internal::SpecialSteps();

}  // namespace cleanups
