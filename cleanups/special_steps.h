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
  lang::Text status;                 // shown while the step runs
  std::optional<lang::Text> report;  // added to the report afterwards
  bool processAfter;                 // whether pending messages are handled after the step
  void (SpecialCleanups::*run)();
};

inline constexpr std::array kSpecialSteps = {
    SpecialStep{settings::kTempFolders, lang::Text::kTempFoldersStatus,
                lang::Text::kTempFoldersReport, true, &SpecialCleanups::TemporaryFolders},
    SpecialStep{settings::kRecentDocuments, lang::Text::kRecentDocumentsStatus,
                lang::Text::kRecentDocumentsReport, true, &SpecialCleanups::RecentDocuments},
    SpecialStep{settings::kEmptyRecycleBin, lang::Text::kEmptyRecycleBinStatus,
                lang::Text::kEmptyRecycleBinReport, true, &SpecialCleanups::EmptyRecycleBin},
    SpecialStep{settings::kTempInternetFiles, lang::Text::kTempInternetFilesStatus,
                lang::Text::kTempInternetFilesReport, true,
                &SpecialCleanups::TemporaryInternetFiles},
    SpecialStep{settings::kCookies, lang::Text::kCookiesStatus, lang::Text::kCookiesReport, true,
                &SpecialCleanups::Cookies},
    SpecialStep{settings::kFavourites, lang::Text::kFavouritesStatus, lang::Text::kFavouritesReport,
                true, &SpecialCleanups::Favourites},
    SpecialStep{settings::kHistory, lang::Text::kHistoryStatus, lang::Text::kHistoryReport, true,
                &SpecialCleanups::History},
    SpecialStep{settings::kOldUpdateFiles, lang::Text::kOldUpdateFilesStatus,
                lang::Text::kOldUpdateFilesReport, false, &SpecialCleanups::OldUpdateFiles},
    SpecialStep{settings::kSystemLog, lang::Text::kSystemLogStatus, lang::Text::kSystemLogReport,
                true, &SpecialCleanups::SystemLog},
    // The unused libraries report each file they delete, and no line of their own.
    SpecialStep{settings::kUnusedDlls, lang::Text::kUnusedDllsStatus, std::nullopt, true,
                &SpecialCleanups::RemoveZeroCountDlls},
    SpecialStep{settings::kRunList, lang::Text::kRunListStatus, lang::Text::kRunListReport, false,
                &SpecialCleanups::ClearRunList},
};

}  // namespace cleanups
