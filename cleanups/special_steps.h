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
      SpecialStep{settings::kTempFolders, kTempFoldersCaption, kTempFoldersStatus,
                  kTempFoldersReport, true, true, &S::TemporaryFolders},
      SpecialStep{settings::kRecentDocuments, kRecentDocumentsCaption, kRecentDocumentsStatus,
                  kRecentDocumentsReport, true, true, &S::RecentDocuments},
      SpecialStep{settings::kEmptyRecycleBin, kEmptyRecycleBinCaption, kEmptyRecycleBinStatus,
                  kEmptyRecycleBinReport, true, true, &S::EmptyRecycleBin},
      SpecialStep{settings::kTempInternetFiles, kTempInternetFilesCaption, kTempInternetFilesStatus,
                  kTempInternetFilesReport, true, true, &S::TemporaryInternetFiles},
      SpecialStep{settings::kCookies, kCookiesCaption, kCookiesStatus, kCookiesReport, true, true,
                  &S::Cookies},
      SpecialStep{settings::kFavourites, kFavouritesCaption, kFavouritesStatus, kFavouritesReport,
                  true, true, &S::Favourites},
      SpecialStep{settings::kHistory, kHistoryCaption, kHistoryStatus, kHistoryReport, true, true,
                  &S::History},
      SpecialStep{settings::kOldUpdateFiles, kOldUpdateFilesCaption, kOldUpdateFilesStatus,
                  kOldUpdateFilesReport, true, false, &S::OldUpdateFiles},
      SpecialStep{settings::kSystemLog, kSystemLogCaption, kSystemLogStatus, kSystemLogReport, true,
                  true, &S::SystemLog},
      SpecialStep{settings::kErrorReports, kErrorReportsCaption, kErrorReportsStatus,
                  kErrorReportsReport, true, true, &S::ErrorReports},
      SpecialStep{settings::kShaderCaches, kShaderCachesCaption, kShaderCachesStatus,
                  kShaderCachesReport, true, true, &S::ShaderCaches},
      // The unused libraries report each file they delete, and no line of their own.
      SpecialStep{settings::kUnusedDlls, kUnusedDllsCaption, kUnusedDllsStatus, std::nullopt, true,
                  true, &S::RemoveZeroCountDlls},
      SpecialStep{settings::kRunList, kRunListCaption, kRunListStatus, kRunListReport, false, false,
                  &S::ClearRunList},
  };
}
}  // namespace internal

inline constexpr auto kSpecialSteps = internal::SpecialSteps();

}  // namespace cleanups
