// The language dialog shown at the first start: a drop-down list of the three languages.
#pragma once

#include <string>

#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/form.h"

namespace lang {

class TFrmlang : public ui::Form {
 public:
  // The dialog sets `languageCode`, the code of the main window's language record.
  TFrmlang(ui::Application& app, std::string& languageCode);

  ui::ComboBox CbBlang;
  ui::Button BBtnok;

  void FormCreate();
  void BBtnokClick();
  void FormClose(ui::CloseAction& action);

 private:
  std::string& languageCode_;
};

// The Greek entry: the language's own name.
inline constexpr const char* kGreekName =
    "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";

}  // namespace lang
