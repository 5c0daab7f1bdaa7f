// The review dialog: the found files, of which the user marks those to remove.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lang/language_texts.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"

namespace clean {

class TFrmmarkfile : public ui::Form {
 public:
  // `reviewConfirmed` belongs to the main window, `texts` is its table, read at the moment of
  // use.
  TFrmmarkfile(ui::Application& app, bool& reviewConfirmed, const lang::LanguageTexts& texts);

  ui::Label Lblmarkfile;
  ui::ListBox LBmarkfile;
  ui::Button Btnallmark;
  ui::Button Btnnomark;
  ui::Button Btnnext;

  // Shows the found files, none marked; the marked ones once the user went on with "Weiter",
  // nothing when the dialog was left otherwise. The list is empty again afterwards.
  std::optional<std::vector<std::string>> Review(std::vector<std::string> found, bool stopped);
  // The captions; after a stop the dialog's own says so.
  void ApplyTexts(bool stopped);

  void BtnallmarkClick();
  void BtnnomarkClick();
  void BtnnextClick();
  void FormActivate();
  void FormClose(ui::CloseAction& action);
  void FormCanResize(int& width, int& height, bool& allow);

 private:
  bool& reviewConfirmed_;
  const lang::LanguageTexts& texts_;
};

extern TFrmmarkfile* Frmmarkfile;

}  // namespace clean
