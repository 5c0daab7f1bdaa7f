#include "clean/clean_run.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "clean/cleaner_steps.h"
#include "clean/plan_replay.h"
#include "clean/scan.h"
#include "cleanups/previous_windows.h"
#include "cleanups/special_steps.h"
#include "lang/quantities.h"
#include "platform/dry_run_system.h"
#include "settings/patterns.h"

namespace clean {

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
  run.Ages = settings.Ages;
  run.AgeRuleBadLines = settings.AgeRuleBadLines;
  run.CleanerList = settings.CleanerList;
  return run;
}

std::string FreedTotal(bool removed, const RunState& state, const lang::LanguageTexts& texts) {
  using lang::Text;
  std::string total = std::to_string((state.freedBytes - state.recycledBytes) / 1024) +
                      texts[removed ? Text::kFreedUnit : Text::kWouldBeFreedUnit];
  if (state.recycledFiles > 0) {
    total +=
        "\n" + lang::Filled(texts[removed ? Text::kRecycledApart : Text::kWouldBeRecycledApart],
                            {std::to_string(state.recycledBytes / 1024)});
  }
  return total;
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
  kind_ = kind;
  state_.stop = false;
  cleanedUp_ = false;
  if (kind == RunKind::kClean && settings_.AdvancedOptions[settings::kReviewFirst]) {
    return Reviewed(drives);
  }
  if (kind == RunKind::kClean) return Pass(drives, machine_);
  analysisPlan_ = {};
  const RunOutcome analysed = Analyse(drives, analysisPlan_);
  // A window offers the clean-up of what it found; a command line never does.
  if (analysisPlan_.Items().empty() ||
      !view_.Review(analysisPlan_, analysed == RunOutcome::kStopped)) {
    return analysed;
  }
  kind_ = RunKind::kClean;
  view_.ReportRestarts();
  return CleanUp(analysisPlan_, analysed);
}

RunOutcome CleanRun::Analyse(DriveChoice drives, RemovalPlan& plan) {
  // Made here, not by the caller: an analysis cannot reach the machine by any other way.
  platform::DryRunSystem dryRun(machine_);
  PlanRecorder recorder(dryRun, plan, settings_.AdvancedOptions[settings::kRecycleFound]);
  plan_ = &plan;
  struct Done {
    CleanRun& run;
    ~Done() { run.plan_ = nullptr; }
  } done{*this};
  const auto start = std::chrono::steady_clock::now();
  const RunOutcome analysed = Pass(drives, recorder);
  plan.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now() - start)
                          .count();
  return analysed;
}

RunOutcome CleanRun::Pass(DriveChoice drives, platform::System& system) {
  system_ = &system;
  guard_ = std::make_unique<cleanups::PlaceGuard>(*system_);
  scanner_.reset();
  struct Restore {
    CleanRun& run;
    ~Restore() {
      run.system_ = &run.machine_;
      run.guard_ = std::make_unique<cleanups::PlaceGuard>(run.machine_);
      run.scanner_.reset();
    }
  } restore{*this};
  ResetTotals();
  recycled_ = {};
  const bool switchesKnown = !settings_.switchesUnreadable;
  const bool scanRefused =
      !switchesKnown || (settings_.ScanWanted() && settings_.exceptionsUnreadable);
  if (settings_.ScanWanted() && !scanRefused) {
    PartBegins("foundFiles", texts_[lang::Text::kFoundFilesCategory]);
    ScanDrives(drives);
  }
  if (switchesKnown) {
    SpecialSteps();
    CleanerSteps(*this, view_, settings_.CleanerList);
    if (Predicts()) TellPreviousWindows();
  }
  if (scanRefused) return RunOutcome::kSettingsUnreadable;
  return state_.stop ? RunOutcome::kStopped : RunOutcome::kCompleted;
}

RunOutcome CleanRun::Reviewed(DriveChoice drives) {
  RemovalPlan plan;
  RunOutcome analysed;
  {
    reviewing_ = true;
    struct Done {
      CleanRun& run;
      ~Done() { run.reviewing_ = false; }
    } done{*this};
    analysed = Analyse(drives, plan);
  }
  // Nothing to choose from: no review, and nothing goes.
  if (plan.Items().empty()) {
    ResetTotals();
    for (const std::string& note : plan.notes)
      Report(note);
    return analysed;
  }
  if (!view_.Review(plan, analysed == RunOutcome::kStopped)) {
    ResetTotals();
    for (const std::string& note : plan.notes)
      Report(note);
    return RunOutcome::kCancelled;
  }
  return CleanUp(plan, analysed);
}

void CleanRun::ResetTotals() {
  state_.freedBytes = 0;
  state_.removedFiles = 0;
  state_.recycledBytes = 0;
  state_.recycledFiles = 0;
  removed_ = {};
}

RunOutcome CleanRun::CleanUp(const RemovalPlan& plan, RunOutcome analysed) {
  ResetTotals();
  cleanedUp_ = true;
  state_.stop = false;
  for (const std::string& note : plan.notes)
    Report(note);
  ShowStatus(texts_[lang::Text::kRemovingMarked]);
  PlanReplay replay(*this, plan);
  replay.Run();
  if (analysed == RunOutcome::kSettingsUnreadable) return analysed;
  return state_.stop ? RunOutcome::kStopped : RunOutcome::kCompleted;
}

void CleanRun::Note(const std::string& line) {
  Report(line);
  if (plan_) plan_->notes.push_back(line);
}

void CleanRun::AddFreed(std::int64_t bytes, std::int64_t files) {
  state_.freedBytes += bytes;
  state_.removedFiles += files;
  removed_.Count(static_cast<std::uint64_t>(files), static_cast<std::uint64_t>(bytes));
}

void CleanRun::PartBegins(std::string_view id, std::string_view name) {
  if (plan_) plan_->Begin(id, name);
  removed_.Begin(id, name);
}

void CleanRun::PartEnds() {
  PartBegins(stepId_, stepName_);
}

void CleanRun::EmptyFilePass(bool on) {
  if (on) {
    PartBegins("emptyFiles", texts_[lang::Text::kEmptyFilesCategory]);
  } else {
    PartBegins("foundFiles", texts_[lang::Text::kFoundFilesCategory]);
  }
}

CleanRun::~CleanRun() = default;

void CleanRun::ScanFolder(const std::string& root) {
  if (!scanner_) {
    if (settings_.AdvancedOptions[settings::kRecycleFound]) {
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
  std::vector<char> letters;
  if (!drives.allDrives) {
    if (drives.letter != '\0') letters.push_back(drives.letter);
  } else {
    // Removable drives, CD drives and RAM disks are left out of a run over all drives.
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      const platform::DriveType type = system_->GetDriveType(std::string{letter, ':'});
      if (type == platform::DriveType::kNoRootDir || type == platform::DriveType::kFixed ||
          type == platform::DriveType::kRemote) {
        letters.push_back(letter);
      }
    }
  }
  // Under Wine a drive may be the host's whole file system: none of it is the user's Windows.
  std::erase_if(letters, [this](char letter) {
    if (!system_->IsHostRootDrive(letter)) return false;
    Note(lang::Filled(texts_[lang::Text::kHostRootDrive], {std::string{letter, ':'}}));
    return true;
  });
  usedBytes_ = 0;
  for (const char letter : letters)
    usedBytes_ += system_->UsedSpace(letter).value_or(0);
  for (const char letter : letters)
    ScanFolder(std::string{letter, ':', '\\'});
  view_.ShowScanProgress(nullptr);
}

void CleanRun::ShowScanned(const std::string& folder, std::uint64_t listedBytes) {
  const ScanProgress progress{listedBytes, usedBytes_,
                              static_cast<std::uint64_t>(state_.removedFiles),
                              static_cast<std::uint64_t>(state_.freedBytes)};
  view_.ShowScanProgress(&progress);
  view_.ShowStatus(folder);
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
        AddRecycled(static_cast<std::int64_t>(finds[i].size));
        break;
      case platform::Recycled::kRefused:
        Note(lang::Filled(texts_[lang::Text::kRecycleRefused], {finds[i].path}));
        break;
      case platform::Recycled::kPathTooLong:
        Note(lang::Filled(texts_[lang::Text::kRecyclePathTooLong], {finds[i].path}));
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

void CleanRun::TellPreviousWindows() {
  if (state_.stop) return;
  const std::optional<cleanups::FolderTotal> old = cleanups::PreviousWindowsInstallation(*this);
  if (!old || state_.stop) return;
  const std::string& name = texts_[lang::Text::kPreviousWindowsCategory];
  if (plan_) plan_->AddInformation("previousWindows", name, old->files, old->bytes);
  if (kind_ == RunKind::kAnalysis) {
    Report(lang::Filled(texts_[lang::Text::kPreviousWindowsInfo],
                        {name, lang::FilesAndSize(old->files, old->bytes, texts_)}));
  }
}

void CleanRun::SpecialSteps() {
  cleanups::SpecialCleanups cleanups(*this, settings_.UserIsAdmin,
                                     settings_.AdvancedOptions[settings::kRecycleFound]);
  cleanups.KeepTemporaryFilesWrittenWithin(settings_.Ages.TempKeepHours);
  cleanups.RemoveDownloadsNotWrittenFor(settings_.Ages.DownloadsDays);
  cleanups.EmptyRecycleBinOf(settings_.Ages.RecycleBinDays);
  for (const int line : settings_.AgeRuleBadLines)
    Note(lang::Filled(texts_[lang::Text::kAgeRuleIgnored], {std::to_string(line)}));
  for (const cleanups::SpecialStep& step : cleanups::kSpecialSteps) {
    if (!settings_.AdvancedOptions[step.on] || state_.stop) continue;
    view_.StepBegins(step);
    stepId_ = step.id;
    stepName_ = lang::WithoutAccessKey(texts_[step.name]);
    PartBegins(stepId_, stepName_);
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
