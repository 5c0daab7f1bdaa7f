// The clean run: the delete button's handler and the stop button's.
#include <string>
#include <vector>

#include "app/main_form.h"
#include "clean/delinfo_form.h"
#include "clean/markfile_form.h"
#include "clean/removal.h"
#include "clean/special_steps.h"
#include "cleanups/special_cleanups.h"
#include "platform/ui/application.h"
#include "settings/list_file.h"
#include "settings/option_form.h"

namespace app {

namespace {

const ui::Color kGreen = ui::Color::Rgb(0, 128, 0);
const ui::Color kRed = ui::Color::Rgb(255, 0, 0);

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

// The junk patterns a scan may use: those the options dialog would accept. A list file edited
// by hand can hold others, and "*" or "*.*" there would take every file of a drive.
std::vector<std::string> UsablePatterns(const settings::Settings& settings) {
  std::vector<std::string> usable;
  for (const std::string& pattern : settings.FileEndingList) {
    if (settings::IsAcceptablePattern(pattern, settings.ProtectedPatterns))
      usable.push_back(pattern);
  }
  return usable;
}

}  // namespace

void RunSpecialCleanup(int switchIndex, clean::RunContext& run,
                       const clean::RunSettings& settings) {
  cleanups::SpecialCleanups steps(run, settings.UserIsAdmin);
  switch (switchIndex) {
    case settings::kTemp:
      steps.TemporaryFolders();
      break;
    case settings::kRecent:
      steps.RecentDocuments();
      break;
    case settings::kPaper:
      steps.RecycleBin();
      break;
    case settings::kTempIEFile:
      steps.TemporaryInternetFiles();
      break;
    case settings::kCookie:
      steps.Cookies();
      break;
    case settings::kFavorite:
      steps.Favourites();
      break;
    case settings::kEvent:
      steps.History();
      break;
    case settings::kOldUpdateFile:
      steps.OldUpdateFiles();
      break;
    case settings::kSystemLog:
      steps.SystemLog();
      break;
    case settings::kDll:
      steps.UnusedDlls();
      break;
    case settings::kExecute:
      steps.RunList();
      break;
    default:
      break;
  }
}

void TFrmMain::ControlsRunning(bool running) {
  BtnDelete.SetVisible(!running);
  Lschen1.SetEnabled(!running);
  BBtnstop.SetVisible(running);
  Abbrechen1.SetEnabled(running);
}

void TFrmMain::BtnDeleteClick() {
  // A stopped run may still be unwinding while the idle controls are back: start nothing then.
  if (CleanRun.running) return;
  clean::TFrmDelinfo& report = *clean::FrmDelinfo;
  const lang::LanguageTexts& t = LanguageTexts;

  runSettings_ = {UsablePatterns(Settings), Settings.ExceptionListLower, Settings.AdvancedOptions,
                  UserIsAdmin};
  const clean::RunSettings& settings = runSettings_;
  CleanRun.freedBytes = 0;
  CleanRun.stop = false;
  clean::RunContext run(system_, App(), CleanRun, report.LBdelinfo);
  {
    RunGuard guard(CleanRun, [this] {
      ControlsRunning(false);
      Sbmain.SetPanelText(0, {});
      Sbmain.SetDoubleBuffered(false);
    });
    ControlsRunning(true);
    report.Lblsuccess.SetFontColor(kGreen);
    report.Lblsuccess.SetCaption(t[43]);
    report.Lblfiledel.SetCaption(t[44]);
    report.BBtnClose.SetCaption(t[11]);
    report.SetCaption(t[45]);
    Sbmain.SetDoubleBuffered(true);

    // Exceptions or switches that could not be read at start are unknown: a scan could take a
    // file the user excepted, or delete for good what was to be reviewed or recycled.
    using settings::SettingsFile;
    const bool scanSafe = !Settings.keepOnDisk[static_cast<int>(SettingsFile::kException)] &&
                          !Settings.keepOnDisk[static_cast<int>(SettingsFile::kAdvancedOption)];
    if (settings.ScanWanted() && scanSafe) {
      clean::FileAction action;
      if (settings.AdvancedOptions[settings::kQuestion]) {
        action = [](const std::string& path) {
          return clean::AddFoundFile(clean::Frmmarkfile->LBmarkfile, path);
        };
      } else if (settings.AdvancedOptions[settings::kSecurityPaper]) {
        action = [this](const std::string& path) { return clean::RecycleFile(system_, path); };
      } else {
        action = [this](const std::string& path) { return clean::DeleteFoundFile(system_, path); };
      }
      clean::Scanner scanner(run, settings, Sbmain, std::move(action));
      ScanDrives(scanner);
      if (settings.AdvancedOptions[settings::kQuestion]) Review(run, settings);
    }
    SpecialSteps(run, settings);
  }
  if (closeAfterRun_) {
    // The user closed the window during the run: no report, close now that it has unwound.
    closeAfterRun_ = false;
    Close();
    return;
  }
  Report();
}

void TFrmMain::ScanDrives(clean::Scanner& scanner) {
  if (RBtndrive.Checked()) {
    const char letter = DriveLetterAt(DCBdrive.ItemIndex());
    if (letter != '\0') scanner.ScanFolder(std::string{letter, ':', '\\'});
    return;
  }
  // Removable drives, CD drives and RAM disks are left out of a run over all drives.
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const platform::DriveType type = system_.GetDriveType(std::string{letter, ':'});
    if (type == platform::DriveType::kNoRootDir || type == platform::DriveType::kFixed ||
        type == platform::DriveType::kRemote) {
      scanner.ScanFolder(std::string{letter, ':', '\\'});
    }
  }
}

void TFrmMain::Review(clean::RunContext& run, const clean::RunSettings& settings) {
  clean::TFrmmarkfile& review = *clean::Frmmarkfile;
  ui::ListBox& list = review.LBmarkfile;
  // A file listed twice in a row (two patterns, or a pattern and the zero-byte pass) once.
  for (int i = list.Count() - 1; i >= 1; --i) {
    if (list.Item(i) == list.Item(i - 1)) list.Delete(i);
  }
  list.SelectAll(false);

  const lang::LanguageTexts& t = LanguageTexts;
  review.Lblmarkfile.SetCaption(t[83]);
  if (!CleanRun.stop) review.SetCaption(t[84]);
  review.Btnallmark.SetCaption(t[85]);
  review.Btnnomark.SetCaption(t[86]);
  review.Btnnext.SetCaption(t[87]);
  review.ShowModal();

  if (ReviewConfirmed) {
    namespace attr = platform::attr;
    for (int i = 0; i < list.Count(); ++i) {
      if (!list.Selected(i)) continue;
      const std::string& path = list.Item(i);
      // The file may have changed since the scan: the walk's rules hold at removal too.
      std::optional<platform::DirEntry> entry = system_.LookUp(path);
      if (!entry || (entry->attributes & (attr::kReadOnly | attr::kSystem | attr::kReparsePoint))) {
        continue;
      }
      const bool removed = settings.AdvancedOptions[settings::kSecurityPaper]
                               ? clean::MoveToRecycleBin(system_, path)
                               : system_.DeleteFile(path);
      if (removed) {
        run.AddFreed(static_cast<std::int64_t>(entry->size));
        run.Report(path);
      }
    }
  }
  list.Clear();
}

void TFrmMain::SpecialSteps(clean::RunContext& run, const clean::RunSettings& settings) {
  const lang::LanguageTexts& t = LanguageTexts;
  for (const clean::SpecialStep& step : clean::kSpecialSteps) {
    if (!settings.AdvancedOptions[static_cast<size_t>(step.switchIndex)] || CleanRun.stop) {
      continue;
    }
    Sbmain.SetPanelText(0, t[static_cast<size_t>(step.statusText)]);
    Sbmain.Repaint();
    if (SpecialAction) SpecialAction(step.switchIndex, run, settings);
    if (step.reportLine >= 0) run.Report(t[static_cast<size_t>(step.reportLine)]);
    if (step.processAfter) run.ProcessMessages();
  }
}

void TFrmMain::Report() {
  clean::TFrmDelinfo& report = *clean::FrmDelinfo;
  report.Lblvalue.SetCaption(std::to_string(CleanRun.freedBytes / 1024) + LanguageTexts[65]);
  report.ShowModal();
}

void TFrmMain::BBtnstopClick() {
  CleanRun.stop = true;
  ControlsRunning(false);
  const lang::LanguageTexts& t = LanguageTexts;
  if (runSettings_.AdvancedOptions[settings::kQuestion]) {
    clean::Frmmarkfile->SetCaption(t[89]);
  } else {
    clean::TFrmDelinfo& report = *clean::FrmDelinfo;
    report.Lblsuccess.SetFontColor(kRed);
    report.Lblsuccess.SetCaption(t[66]);
    report.Lblfiledel.SetCaption(t[67]);
  }
}

}  // namespace app
