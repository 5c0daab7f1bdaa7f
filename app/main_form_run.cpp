// The clean run's wiring: the delete and analyze buttons start the engine with the settings of
// the moment and the main window as its view; the stop button stops it.
#include <algorithm>
#include <string>

#include "app/main_form.h"
#include "clean/delinfo_form.h"
#include "clean/markfile_form.h"
#include "lang/quantities.h"
#include "platform/ui/application.h"

namespace app {

namespace {

// Puts the controls back to idle however the run ends, also when a step throws.
class RunGuard {
 public:
  RunGuard(clean::RunState& state, std::function<void()> restore)
      : state_(state), restore_(std::move(restore)) {
    state_.running = true;
  }
  ~RunGuard() {
    state_.running = false;
    restore_();
  }
  RunGuard(const RunGuard&) = delete;
  RunGuard& operator=(const RunGuard&) = delete;

 private:
  clean::RunState& state_;
  std::function<void()> restore_;
};

// The main window as a run sees it: progress in its status bar, the report and review dialogs,
// and its message loop.
class MainRunView final : public clean::RunView {
 public:
  explicit MainRunView(TFrmMain& main) : main_(main) {}

  void ShowStatus(const std::string& text) override {
    main_.Sbmain.SetPanelText(0, found_.empty() ? text : found_ + " \xC2\xB7 " + text);
    main_.Sbmain.Repaint();
  }
  // The bar compares the bytes listed with the bytes in use on the drives: the scan's share of
  // the walk, whatever the number of files.
  void ShowScanProgress(const clean::ScanProgress* progress) override {
    if (!progress) {
      found_.clear();
      main_.Sbmain.SetPanelProgress(kProgressPanel, ui::StatusBar::kNoProgress);
      return;
    }
    const lang::LanguageTexts& texts = main_.LanguageTexts;
    found_ = lang::Filled(texts[lang::Text::kScanProgress],
                          {lang::FilesAndSize(progress->foundFiles, progress->foundBytes, texts)});
    int permille = ui::StatusBar::kNoProgress;
    if (progress->usedBytes > 0) {
      const double share =
          static_cast<double>(progress->listedBytes) / static_cast<double>(progress->usedBytes);
      permille = static_cast<int>(std::min(share, 1.0) * ui::StatusBar::kProgressRange);
    }
    main_.Sbmain.SetPanelProgress(kProgressPanel, permille);
  }
  void AddReportLine(const std::string& line) override { clean::FrmDelinfo->AddLine(line); }
  bool Review(clean::RemovalPlan& plan, bool stopped) override {
    // The user closed the window during the analysis: no review, nothing removed.
    if (main_.ClosingAfterRun()) return false;
    return clean::Frmmarkfile->Review(plan, stopped);
  }
  void ReportRestarts() override { clean::FrmDelinfo->Clear(); }
  void ProcessMessages() override { main_.App().ProcessMessages(); }

 private:
  TFrmMain& main_;
  std::string found_;  // the scan's finds so far, before the folder it is in
};

}  // namespace

void TFrmMain::ControlsRunning(bool running) {
  BtnDelete.SetVisible(!running);
  BtnAnalyze.SetVisible(!running);
  Lschen1.SetEnabled(!running);
  Analysieren1.SetEnabled(!running);
  BBtnstop.SetVisible(running);
  Abbrechen1.SetEnabled(running);
}

clean::DriveChoice TFrmMain::ChosenDrives() const {
  if (!RBtndrive.Checked()) return {};
  return {false, DriveLetterAt(DCBdrive.ItemIndex())};
}

void TFrmMain::BtnDeleteClick() {
  StartRun(clean::RunKind::kClean);
}

void TFrmMain::BtnAnalyzeClick() {
  StartRun(clean::RunKind::kAnalysis);
}

void TFrmMain::StartRun(clean::RunKind kind) {
  // A stopped run may still be unwinding while the idle controls are back: start nothing then.
  if (CleanRun.running) return;
  const clean::RunSettings settings = clean::RunSettings::From(Settings, UserIsAdmin);
  MainRunView view(*this);
  clean::RunOutcome outcome;
  {
    RunGuard guard(CleanRun, [this] {
      ControlsRunning(false);
      Sbmain.SetPanelText(0, {});
      Sbmain.SetPanelProgress(kProgressPanel, ui::StatusBar::kNoProgress);
      Sbmain.SetDoubleBuffered(false);
    });
    ControlsRunning(true);
    Sbmain.SetDoubleBuffered(true);
    clean::CleanRun run(system_, view, CleanRun, settings, LanguageTexts);
    outcome = run.Run(ChosenDrives(), kind);
    // Cleaned up from the review of an analysis: the report is a clean's.
    if (run.CleanedUp()) kind = clean::RunKind::kClean;
  }
  if (closeAfterRun_) {
    // The user closed the window during the run: no report, close now that it has unwound.
    closeAfterRun_ = false;
    Close();
    return;
  }
  clean::FrmDelinfo->ShowReport(kind, outcome, CleanRun);
}

void TFrmMain::BBtnstopClick() {
  CleanRun.stop = true;
  ControlsRunning(false);
}

}  // namespace app
