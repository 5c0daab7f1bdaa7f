// The clean run: the scan of one drive or of all, the review of the finds, the removal of the
// marked ones, the special steps, the freed total and the report lines. It knows no window; it
// talks to one through a RunView.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "clean/removal_plan.h"
#include "clean/run_view.h"
#include "cleanups/run_context.h"
#include "lang/language_texts.h"
#include "platform/system.h"
#include "settings/settings.h"

namespace clean {

// The state of one clean run, owned by the main window.
struct RunState {
  bool stop = false;            // set by the stop button, tested between entries and steps
  std::int64_t freedBytes = 0;  // bytes removed in this run, those recycled among them
  std::int64_t removedFiles = 0;
  // Of what was removed, what went to the recycle bin: it still takes its space.
  std::int64_t recycledBytes = 0;
  std::int64_t recycledFiles = 0;
  bool running = false;  // a run is inside its click handler, stopped or not
};

// What a run takes from the settings, copied when it starts so that the options dialog's OK
// during the run cannot change them under the walk.
struct RunSettings {
  std::vector<std::string> FileEndingList;
  std::vector<std::string> ExceptionListLower;
  settings::Switches AdvancedOptions{};
  bool UserIsAdmin = false;
  // The exceptions could not be read at start: a scan could take a file the user excepted.
  bool exceptionsUnreadable = false;
  // Nor the switches: a scan could delete for good what was to be reviewed or recycled, and no
  // clean-up is known to be wanted.
  bool switchesUnreadable = false;
  // How young a file must be to stay in the temporary folders and the Downloads folder.
  settings::AgeRules Ages;
  std::vector<int> AgeRuleBadLines;  // of data\agerules.dat, told in the report
  // The applications' entries the user switched on, by name.
  std::vector<std::string> CleanerList;

  // The patterns a scan may use, the switches, and whether the guarded files were read.
  static RunSettings From(const settings::Settings& settings, bool userIsAdmin);

  bool ScanWanted() const {
    return !FileEndingList.empty() || AdvancedOptions[settings::kZeroByteFiles];
  }
};

// The drives a run scans.
struct DriveChoice {
  bool allDrives = true;  // every fixed, remote and rootless drive
  char letter = '\0';     // otherwise this one; none ('\0') scans nothing
};

// A clean run removes what it finds; an analysis is the same run against a System that changes
// nothing, so that it shows exactly what the run would remove. A window shows an analysis as the
// review, from which the user may still clean up what it found.
enum class RunKind { kClean, kAnalysis };

// How the report shows a run.
enum class RunOutcome {
  kCompleted,
  kStopped,
  kCancelled,  // the user left the review otherwise than by cleaning up: nothing was removed
  kSettingsUnreadable,  // no file was searched: the guarded settings could not be read
};

// The freed kilobytes as the report shows them, and on a line of its own what went to the recycle
// bin; `removed`: a clean, not an analysis.
std::string FreedTotal(bool removed, const RunState& state, const lang::LanguageTexts& texts);

class Scanner;
struct Find;

class CleanRun final : public cleanups::RunContext {
 public:
  CleanRun(platform::System& system, RunView& view, RunState& state, const RunSettings& settings,
           const lang::LanguageTexts& texts);
  ~CleanRun();

  // The whole run, from the reset of its state to its last special step. In review mode a clean
  // run is an analysis first, whose plan the user reviews; then exactly the ticked items of the
  // plan go, and nothing at all when the user leaves the review otherwise.
  RunOutcome Run(DriveChoice drives, RunKind kind = RunKind::kClean);
  // What the last analysis found, by category, as a review would show it.
  const RemovalPlan& AnalysisPlan() const { return analysisPlan_; }
  // What this run removed, by category, with the ids and names a review shows; for an analysis,
  // what it would remove.
  const std::vector<PlanCategory>& Removed() const { return removed_.Categories(); }
  // The user cleaned up from the review of an analysis: the run became a clean.
  bool CleanedUp() const { return cleanedUp_; }

  platform::System& System() override { return *system_; }
  cleanups::PlaceGuard& Guard() override { return *guard_; }
  bool Stopped() const override { return state_.stop; }
  void AddFreed(std::int64_t bytes, std::int64_t files = 1) override;
  void AddItems(std::int64_t items) override {
    removed_.Count(static_cast<std::uint64_t>(items), 0);
  }
  void AddRecycled(std::int64_t bytes, std::int64_t files = 1) override {
    state_.recycledBytes += bytes;
    state_.recycledFiles += files;
  }
  void RecycleBinEmptied(const platform::RecycleBinContent& emptied) override;
  std::int64_t FreedBytes() const override { return state_.freedBytes; }
  const lang::LanguageTexts& Texts() const override { return texts_; }
  // While a plan is made, its report would only repeat what the review shows.
  void Report(const std::string& line) override {
    if (!reviewing_) view_.AddReportLine(line);
  }
  // Also kept with the plan, so that a review's clean-up or cancel still tells it.
  void Note(const std::string& line) override;
  bool Predicts() const override { return kind_ == RunKind::kAnalysis || plan_ != nullptr; }
  void PartBegins(std::string_view id, std::string_view name) override;
  void PartEnds() override;
  // The scan hands over the files its empty-file pass takes, or again those of its patterns.
  void EmptyFilePass(bool on);
  void BrowserLeftAlone(const std::string& name) override { view_.BrowserLeftAlone(name); }
  void ProcessMessages() override { view_.ProcessMessages(); }
  void ShowStatus(const std::string& text) { view_.ShowStatus(text); }
  // The scan entered `folder`, having listed files of `listedBytes` so far.
  void ShowScanned(const std::string& folder, std::uint64_t listedBytes);
  // The scan of one folder with this run's removal, as Run scans each drive.
  void ScanFolder(const std::string& root);

 private:
  // The scan and the special steps over `system`.
  RunOutcome Pass(DriveChoice drives, platform::System& system);
  // Review mode: the analysis, the review, and the removal of what the user ticked.
  RunOutcome Reviewed(DriveChoice drives);
  // The analysis into `plan`, timed.
  RunOutcome Analyse(DriveChoice drives, RemovalPlan& plan);
  // Exactly the ticked items of the reviewed plan, after the notes the analysis made.
  RunOutcome CleanUp(const RemovalPlan& plan, RunOutcome analysed);
  void ResetTotals();
  void ScanDrives(DriveChoice drives);
  // Hands the finds to the recycle bin; `gone` tells which the bin took. One it did not take is
  // reported, with the reason.
  void RecycleAll(std::span<const Find> finds, std::vector<bool>& gone);
  void SpecialSteps();
  // A prediction tells the size of the previous Windows installation, which the program never
  // removes: a line of an analysis's report, a row of the plan that cannot be ticked.
  void TellPreviousWindows();

  platform::System& machine_;
  platform::System* system_;  // the machine, or during an analysis a dry run over it
  RunKind kind_ = RunKind::kClean;
  RunView& view_;
  RunState& state_;
  const RunSettings& settings_;
  const lang::LanguageTexts& texts_;
  std::unique_ptr<Scanner> scanner_;  // made at the run's first folder
  std::unique_ptr<cleanups::PlaceGuard> guard_;
  RemovalPlan* plan_ = nullptr;  // the plan being made, during an analysis
  bool reviewing_ = false;       // the analysis is for a review, which shows what it found
  RemovalPlan analysisPlan_;
  // The category of the step that is running, which a part of it (a browser) interrupts.
  std::string stepId_;
  std::string stepName_;
  std::uint64_t usedBytes_ = 0;  // on the drives being scanned
  RemovalPlan removed_;          // its categories only: what this run removed, as it went
  bool cleanedUp_ = false;
  // What this run moved to the recycle bin and counted, until the bin is emptied.
  platform::RecycleBinContent recycled_;
};

}  // namespace clean
