// The review dialog: the found files, of which the user marks those to remove.
#pragma once

#include "lang/language_texts.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/status_bar.h"

namespace clean {

class TFrmmarkfile : public ui::Form {
 public:
  // `reviewConfirmed` and `mainStatus` belong to the main window.
  TFrmmarkfile(ui::Application& app, bool& reviewConfirmed, ui::StatusBar& mainStatus,
               const lang::LanguageTexts& texts);

  ui::Label Lblmarkfile;
  ui::ListBox LBmarkfile;
  ui::Button Btnallmark;
  ui::Button Btnnomark;
  ui::Button Btnnext;

  void BtnallmarkClick();
  void BtnnomarkClick();
  void BtnnextClick();
  void FormActivate();
  void FormClose(ui::CloseAction& action);
  void FormCanResize(int& width, int& height, bool& allow);

 private:
  bool& reviewConfirmed_;
  ui::StatusBar& mainStatus_;
  const lang::LanguageTexts& texts_;
};

extern TFrmmarkfile* Frmmarkfile;

}  // namespace clean
