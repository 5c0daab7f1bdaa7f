#include "clean/clean_run.h"

#include <algorithm>
#include <optional>

#include "clean/cleaner_steps.h"
#include "clean/scan.h"
#include "cleanups/special_steps.h"
#include "lang/quantities.h"
#include "platform/dry_run_system.h"
#include "platform/utf.h"
#include "platform/wildcard.h"
#include "settings/patterns.h"

namespace clean {

namespace {

// A path as Windows compares it, to tell one file found twice.
std::u16string FoldedPath(std::string_view path) {
  std::u16string folded;
  if (!platform::Utf8ToUtf16(path, folded)) folded.assign(path.begin(), path.end());
  for (char16_t& unit : folded)
    unit = platform::UpcaseChar(unit);
  return folded;
}

}  // namespace

RunSettings RunSettings::From(const settings::Settings& settings, bool userIsAdmin) {
  using settings::SettingsFile;
  RunSettings run;
  run.FileEndingList =
      settings::UsablePatterns(settings.FileEndingList, settings.ProtectedPatterns);
  run.ExceptionListLower = settings.ExceptionListLower;
  run.AdvancedOptions = settings.AdvancedOptions;
  run.UserIsAdmin = userIsAdmin;
  run.exceptionsUnreadable = settings.keepOnDisk[static_cast<int>(SettingsFile::kException)];
  run.switchesUnreadable = settings.keepOnDisk[static_cast<int>(SettingsFile::kAdvancedOption)];
  run.TempKeepHours = settings.Ages.TempKeepHours;
  run.AgeRuleBadLines = settings.AgeRuleBadLines;
  run.CleanerList = settings.CleanerList;
  return run;
}

CleanRun::CleanRun(platform::System& system, RunView& view, RunState& state,
                   const RunSettings& settings, const lang::LanguageTexts& texts)
    : machine_(system),
      system_(&system),
      view_(view),
      state_(state),
      settings_(settings),
      texts_(texts),
      guard_(std::make_unique<cleanups::PlaceGuard>(system)) {}

RunOutcome CleanRun::Run(DriveChoice drives, RunKind kind) {
  // Made here, not by the caller: an analysis cannot reach the machine by any other way.
  std::optional<platform::DryRunSystem> dryRun;
  if (kind == RunKind::kAnalysis) dryRun.emplace(machine_);
  system_ = dryRun ? &*dryRun : &machine_;
  guard_ = std::make_unique<cleanups::PlaceGuard>(*system_);
  kind_ = kind;
  scanner_.reset();
  struct Restore {
    CleanRun& run;
    ~Restore() {
      run.system_ = &run.machine_;
      run.guard_ = std::make_unique<cleanups::PlaceGuard>(run.machine_);
    }
  } restore{*this};
  state_.freedBytes = 0;
  state_.removedFiles = 0;
  recycled_ = {};
  state_.stop = false;
  const bool reviewFirst = settings_.AdvancedOptions[settings::kReviewFirst];
  const bool switchesKnown = !settings_.switchesUnreadable;
  const bool scanRefused =
      !switchesKnown || (settings_.ScanWanted() && settings_.exceptionsUnreadable);
  if (settings_.ScanWanted() && !scanRefused) {
    ScanDrives(drives);
    // Also after a stop: the review shows what was found until then.
    if (reviewFirst) Review();
  }
  if (switchesKnown) {
    SpecialSteps();
    CleanerSteps(*this, view_, settings_.CleanerList);
  }
  if (scanRefused) return RunOutcome::kSettingsUnreadable;
  return state_.stop && !reviewFirst ? RunOutcome::kStopped : RunOutcome::kCompleted;
}

CleanRun::~CleanRun() = default;

void CleanRun::ScanFolder(const std::string& root) {
  if (!scanner_) {
    if (settings_.AdvancedOptions[settings::kReviewFirst]) {
      scanner_ = std::make_unique<Scanner>(*this, settings_,
                                           [this](const std::string& path, std::uint64_t) {
                                             // A file found twice (two patterns, or a pattern and
                                             // the zero-byte pass) once.
                                             if (foundFolded_.insert(FoldedPath(path)).second)
                                               found_.push_back(path);
                                             return false;
                                           });
    } else if (settings_.AdvancedOptions[settings::kRecycleFound]) {
      scanner_ = std::make_unique<Scanner>(
          *this, settings_, [this](std::span<const Find> finds, std::vector<bool>& gone) {
            RecycleAll(finds, gone);
          });
    } else {
      scanner_ = std::make_unique<Scanner>(
          *this, settings_,
          [this](const std::string& path, std::uint64_t) { return system_->DeleteFile(path); });
    }
  }
  scanner_->ScanFolder(root);
}

void CleanRun::ScanDrives(DriveChoice drives) {
  found_.clear();
  foundFolded_.clear();
  // Under Wine a drive may be the host's whole file system: none of it is the user's Windows.
  const auto scan = [this](char letter) {
    if (system_->IsHostRootDrive(letter)) {
      Report(lang::Filled(texts_[lang::Text::kHostRootDrive], {std::string{letter, ':'}}));
      return;
    }
    ScanFolder(std::string{letter, ':', '\\'});
  };
  if (!drives.allDrives) {
    if (drives.letter != '\0') scan(drives.letter);
    return;
  }
  // Removable drives, CD drives and RAM disks are left out of a run over all drives.
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const platform::DriveType type = system_->GetDriveType(std::string{letter, ':'});
    if (type == platform::DriveType::kNoRootDir || type == platform::DriveType::kFixed ||
        type == platform::DriveType::kRemote) {
      scan(letter);
    }
  }
}

void CleanRun::Review() {
  if (kind_ == RunKind::kAnalysis) {
    RemoveMarked(found_);
    found_.clear();
    return;
  }
  std::optional<std::vector<std::string>> marked = view_.Review(std::move(found_));
  found_.clear();
  foundFolded_.clear();
  if (!marked) return;
  ShowStatus(texts_[lang::Text::kRemovingMarked]);
  RemoveMarked(*marked);
}

void CleanRun::RemoveMarked(const std::vector<std::string>& marked) {
  namespace attr = platform::attr;
  const bool recycle = settings_.AdvancedOptions[settings::kRecycleFound];
  // A path marked twice is removed, counted and listed once.
  std::unordered_set<std::u16string> handled;
  std::vector<Find> batch;
  std::vector<bool> gone;
  const auto count = [this](const std::string& path, std::uint64_t size) {
    AddFreed(static_cast<std::int64_t>(size));
    Report(path);
  };
  const auto recycleBatch = [&] {
    RecycleAll(batch, gone);
    for (std::size_t i = 0; i < batch.size(); ++i) {
      if (gone[i]) count(batch[i].path, batch[i].size);
    }
    batch.clear();
  };
  for (const std::string& path : marked) {
    if (!handled.insert(FoldedPath(path)).second) continue;
    // The file may have changed since the scan: the walk's rules hold at removal too.
    std::optional<platform::FileStatus> entry = system_->Status(path);
    if (!entry || entry->IsDirectory() ||
        (entry->attributes & (attr::kReadOnly | attr::kSystem | attr::kReparsePoint))) {
      continue;
    }
    if (recycle) {
      batch.push_back({path, entry->size});
      if (batch.size() == kBatchSize) recycleBatch();
    } else if (system_->DeleteFile(path)) {
      count(path, entry->size);
    }
  }
  if (!batch.empty()) recycleBatch();
}

void CleanRun::RecycleAll(std::span<const Find> finds, std::vector<bool>& gone) {
  std::vector<std::string> paths;
  paths.reserve(finds.size());
  for (const Find& find : finds)
    paths.push_back(find.path);
  std::vector<platform::Recycled> results;
  system_->MoveAllToRecycleBin(paths, results);
  gone.assign(finds.size(), false);
  for (std::size_t i = 0; i < finds.size(); ++i) {
    switch (results[i]) {
      case platform::Recycled::kYes:
        gone[i] = true;
        ++recycled_.items;
        recycled_.bytes += finds[i].size;
        break;
      case platform::Recycled::kRefused:
        Report(lang::Filled(texts_[lang::Text::kRecycleRefused], {finds[i].path}));
        break;
      case platform::Recycled::kPathTooLong:
        Report(lang::Filled(texts_[lang::Text::kRecyclePathTooLong], {finds[i].path}));
        break;
      case platform::Recycled::kMissing:
        break;
    }
  }
}

void CleanRun::RecycleBinEmptied(const platform::RecycleBinContent& emptied) {
  const std::uint64_t items = emptied.items - std::min(emptied.items, recycled_.items);
  const std::uint64_t bytes = emptied.bytes - std::min(emptied.bytes, recycled_.bytes);
  AddFreed(static_cast<std::int64_t>(bytes), static_cast<std::int64_t>(items));
  recycled_ = {};
}

void CleanRun::SpecialSteps() {
  cleanups::SpecialCleanups cleanups(*this, settings_.UserIsAdmin,
                                     settings_.AdvancedOptions[settings::kRecycleFound]);
  cleanups.KeepTemporaryFilesWrittenWithin(settings_.TempKeepHours);
  for (const int line : settings_.AgeRuleBadLines)
    Report(lang::Filled(texts_[lang::Text::kAgeRuleIgnored], {std::to_string(line)}));
  for (const cleanups::SpecialStep& step : cleanups::kSpecialSteps) {
    if (!settings_.AdvancedOptions[step.on] || state_.stop) continue;
    view_.StepBegins(step);
    ShowStatus(texts_[step.status]);
    const std::int64_t filesBefore = state_.removedFiles;
    const std::int64_t bytesBefore = state_.freedBytes;
    (cleanups.*step.run)();
    if (step.report) {
      // An analysis names the step as the options do; both tell what it removed.
      std::string line = kind_ == RunKind::kAnalysis ? lang::WithoutAccessKey(texts_[step.name])
                                                     : texts_[*step.report];
      if (step.removesFiles) {
        const auto files = static_cast<std::uint64_t>(state_.removedFiles - filesBefore);
        const auto bytes = static_cast<std::uint64_t>(state_.freedBytes - bytesBefore);
        line += ": " + lang::FilesAndSize(files, bytes, texts_);
      }
      Report(line);
    }
    if (step.processAfter) ProcessMessages();
  }
}

}  // namespace clean
