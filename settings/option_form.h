// The options dialog: the junk patterns, the exceptions and the switches.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/language_texts.h"
#include "platform/system.h"
#include "platform/ui/button.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/status_bar.h"
#include "settings/settings.h"

namespace settings {

// The switches before kDownloads each have a check box; the Downloads clean-up is switched on by
// choosing its age.
inline constexpr int kCheckBoxSwitchCount = kDownloads;

class TFrmoption : public ui::Form {
 public:
  // `texts` is the main window's table, read at the moment of use.
  TFrmoption(ui::Application& app, const lang::LanguageTexts& texts);
  ~TFrmoption() override;

  ui::GroupBox GBfileend;
  ui::ListBox LBfileend;
  ui::Button Btnaddfileend;
  ui::Button Btndeletefileend;
  ui::GroupBox GBexception;
  ui::ListBox LBexception;
  ui::Button Btnaddexception;
  ui::Button Btndeleteexception;
  ui::CheckBox CBsecuritypaper;
  ui::CheckBox CBquestion;
  ui::GroupBox GBadvancedoption;
  ui::CheckBox CBtemp, CBRecent, CBpaper, CBtempIEfile, CBcookie, CBfavorite, CBevent, CBnullfile,
      CBExecute, CBoldupdatefile, CBsystemlog, CBdll, CBerrorreport, CBshadercache, CBthumbnails,
      CBdeliveryoptimization, CBupgradelogs;
  // The age rules: how young a temporary file stays, how old a download goes (or never).
  ui::GroupBox GBages;
  ui::Label LBLtempkeep;
  ui::ComboBox DCBtempkeep;
  ui::Label LBLdownloads;
  ui::ComboBox DCBdownloads;
  // How long an item lies in the recycle bin before its clean-up takes it (0: every item).
  ui::Label LBLbindays;
  ui::ComboBox DCBbindays;
  ui::Button BBtnok;
  ui::Button BBtnabort;
  ui::Button Btnstandard;
  ui::Button Btnapplications;
  ui::StatusBar SBoption;

  // Position i is the check box of switch i.
  std::array<ui::CheckBox*, kCheckBoxSwitchCount> CheckBoxes{};

  // The system that "Standard" reads the default lists from; until it is given, the default
  // lists count as missing.
  void UseSystem(platform::System& system) { system_ = &system; }

  // Fills the dialog from `target` and shows it; OK writes the dialog's state back into it and
  // makes this return true.
  bool Open(Settings& target, bool isAdministrator, std::uint16_t messageLanguageId);

  void FormCreate();
  void FormClose();
  void ApplyOptionTexts();
  void ShowOptionHint();
  void BtnaddfileendClick();
  void BtnaddexceptionClick();
  void BtndeletefileendClick();
  void BtndeleteexceptionClick();
  void BBtnokClick();
  void BtnstandardClick();
  void CBpaperClick();
  void CBsecuritypaperClick();
  // Opens the applications' dialog, which keeps its choice itself.
  std::function<void()> OnApplications;

 private:
  // Asks for a new entry with the input box; empty when there is none.
  std::string AskEntry(lang::Text caption, lang::Text prompt);
  // Adds the entry and makes it the one selected line, so that "Entfernen" takes it back.
  void AddHighlighted(ui::ListBox& list, const std::string& text);
  void Refuse(lang::Text message);
  // Fills the age choices, the ones the rules hold among them however the file set them, and
  // chooses them; the Downloads clean-up switched off chooses "never", and a recycle bin of no
  // age "every item".
  void ShowAgeChoices(int tempKeepHours, int downloadsDays, bool downloadsOn, int binDays);
  // Asks a question with Yes and No; true for Yes.
  bool Agrees(const std::string& question, lang::Text caption, unsigned style);
  // The old update files, the system log and the unused libraries are for administrators only.
  // The error reports stay usable: for other users the run takes only their own part.
  void LockAdministratorSwitches();

  const lang::LanguageTexts& texts_;
  platform::System* system_ = nullptr;
  Settings* target_ = nullptr;
  bool isAdministrator_ = false;
  std::uint16_t messageLanguageId_ = 0;
  bool confirmed_ = false;  // the last opening ended with OK
  // The hours, and the days (0: never), of each line of the age choices.
  std::vector<int> tempKeepChoices_;
  std::vector<int> downloadsChoices_;
  std::vector<int> binDaysChoices_;
};

extern TFrmoption* Frmoption;

}  // namespace settings
