// The options dialog: the junk patterns, the exceptions and the fourteen switches.
#pragma once

#include <array>
#include <cstdint>

#include "lang/language_texts.h"
#include "platform/ui/button.h"
#include "platform/ui/check_box.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/status_bar.h"
#include "settings/settings.h"

namespace settings {

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
      CBExecute, CBoldupdatefile, CBsystemlog, CBdll;
  ui::Button BBtnok;
  ui::Button BBtnabort;
  ui::Button Btnstandard;
  ui::StatusBar SBoption;

  // Position i is the check box of switch i.
  std::array<ui::CheckBox*, kSwitchCount> CheckBoxes{};

  // Fills the dialog from `target` and shows it; OK writes the dialog's state back into it.
  void Open(Settings& target, bool isAdministrator, std::uint16_t messageLanguageId);

  void FormCreate();
  void ApplyOptionTexts();
  void ShowOptionHint();

 private:
  const lang::LanguageTexts& texts_;
};

extern TFrmoption* Frmoption;

}  // namespace settings
