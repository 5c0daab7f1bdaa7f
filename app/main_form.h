// The main window: it owns the settings, the language texts and the state of a clean run.
#pragma once

#include <cstdint>
#include <vector>

#include "clean/clean_run.h"
#include "lang/language_texts.h"
#include "platform/system.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/menu.h"
#include "platform/ui/radio_button.h"
#include "platform/ui/status_bar.h"
#include "settings/settings.h"

namespace app {

// The status bar's panel that shows the scan's progress bar.
inline constexpr int kProgressPanel = 1;

// The command numbers of the main menu's items.
enum MenuCommand : int {
  kCommandDelete = 101,
  kCommandStop = 102,
  kCommandExit = 103,
  kCommandGerman = 111,
  kCommandEnglish = 112,
  kCommandGreek = 113,
  kCommandOptions = 114,
  kCommandAnalyze = 115,
  kCommandApplications = 116,
  kCommandInfo = 121,
};

class TFrmMain : public ui::Form {
 public:
  TFrmMain(ui::Application& app, platform::System& system);
  ~TFrmMain() override;

  ui::GroupBox GBdelete;
  // The two radio buttons one after the other: one group, which Tab enters at the checked one
  // and the arrow keys move through.
  ui::RadioButton RBtndrive;
  ui::RadioButton RBtnalldrive;
  ui::ComboBox DCBdrive;
  ui::Button BtnAnalyze;
  ui::Button BtnDelete;
  ui::Button BBtnstop;
  ui::Button Btnoption;
  ui::Button BBtnClose;
  ui::StatusBar Sbmain;  // the run's status; beside it the scan's progress bar

  ui::MainMenu Mmmain;
  ui::MenuItem Datei1, Lschen1, Abbrechen1, N1, Beenden1;
  ui::MenuItem Bearbeiten1, Analysieren1, Sprache1, Deutsch1, Engish1, N2, Optionen1, Anwendungen1;
  ui::MenuItem Hilfe1, Info1;

  // The settings, as last read or confirmed in the options dialog.
  settings::Settings Settings;
  bool UserIsAdmin = false;
  // Set when the review dialog is left with its "Weiter" button.
  bool ReviewConfirmed = false;
  // The stop flag and the freed-bytes total of the current clean run.
  clean::RunState CleanRun;
  lang::LanguageTexts LanguageTexts;
  std::uint16_t MessageLanguageId = 0;

  void FormCreate();
  void FormClose(ui::CloseAction& action);
  void BtnDeleteClick();
  // The clean run with nothing removed: what it would remove, and what that would free.
  void BtnAnalyzeClick();
  void BBtnstopClick();
  void Beenden1Click();
  void Info1Click();
  void BtnoptionClick();
  // The dialog of the applications' entries, from the menu or the options dialog.
  void Anwendungen1Click();
  // A drive chosen in the box is the drive the run takes.
  void DCBdriveClick();
  void aeMainAppMessage(const ui::Message& message, bool& handled);
  void LoadLanguage();
  void Deutsch1Click();
  void Engish1Click();
  void N2Click();
  bool IsAdministrator();

  platform::System& System() { return system_; }
  // The window was closed during a run, and closes once the run has unwound.
  bool ClosingAfterRun() const { return closeAfterRun_; }
  // The drive letter of each line of DCBdrive.
  char DriveLetterAt(int index) const;

 private:
  void BuildMenu();
  void ControlsRunning(bool running);
  // A clean run, or an analysis, from the settings of the moment to its report.
  void StartRun(clean::RunKind kind);
  // The drives the radio buttons and the drive box choose.
  clean::DriveChoice ChosenDrives() const;
  void FillDriveBox();
  void ChooseLanguage(ui::MenuItem& item, const char* code);
  // What the user confirmed is kept at once, not only when the window closes.
  void SaveNow();

  platform::System& system_;
  std::vector<char> driveLetters_;
  // The window was closed during a run: it closes once the run has unwound.
  bool closeAfterRun_ = false;
};

// The one main window of the process, from its creation to the end of the program.
extern TFrmMain* FrmMain;

}  // namespace app
