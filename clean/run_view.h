// What a clean run needs from the window it runs in: the main window, or none at all.
#pragma once

#include <cstdint>
#include <string>

#include "cleaners/entry_run.h"
#include "cleanups/special_steps.h"

namespace clean {

class RemovalPlan;

// How far a scan has come.
struct ScanProgress {
  std::uint64_t listedBytes = 0;  // of the files listed so far
  std::uint64_t usedBytes = 0;    // in use on the drives being scanned; 0 when unknown
  std::uint64_t foundFiles = 0;
  std::uint64_t foundBytes = 0;
};

class RunView {
 public:
  virtual ~RunView() = default;
  // The progress text, drawn at once.
  virtual void ShowStatus(const std::string& text) = 0;
  // Shown with the status of the folder being scanned; none once the scan ended.
  virtual void ShowScanProgress(const ScanProgress* /*progress*/) {}
  // A line of the report: a removed file, or a step's summary.
  virtual void AddReportLine(const std::string& line) = 0;
  // Shows what an analysis would remove, `stopped` when it was stopped. True once the user chose
  // to clean up, with the plan ticked as they left it; false when they left the review otherwise,
  // and nothing at all is removed.
  virtual bool Review(RemovalPlan& plan, bool stopped) = 0;
  // The user chose to clean up what an analysis found: its lines give way to the clean's.
  virtual void ReportRestarts() {}
  // Lets the window handle what is pending, the stop button included.
  virtual void ProcessMessages() = 0;
  // A special step begins: what is freed from now until the next one begins, or the run ends,
  // is this step's. A window's report needs no more than the step's own line.
  virtual void StepBegins(const cleanups::SpecialStep&) {}
  // A browser found running, whose caches and cookies this run leaves alone.
  virtual void BrowserLeftAlone(const std::string&) {}
  // An application's entry begins, as a step of its own after the special steps (see
  // StepBegins); it ended with the outcome, its refused keys and a program found running.
  virtual void CleanerBegins(const cleaners::Entry&) {}
  virtual void CleanerEnds(const cleaners::Entry&, const cleaners::EntryOutcome&) {}
};

}  // namespace clean
