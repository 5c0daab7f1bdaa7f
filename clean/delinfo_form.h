// The report dialog: what a clean run removed, and the space it freed.
#pragma once

#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"

namespace clean {

// The font of the line that tells how the run ended.
inline const ui::Font kOutcomeFont{"", 13, true, ui::Color::Rgb(0, 128, 0)};

class TFrmDelinfo : public ui::Form {
 public:
  explicit TFrmDelinfo(ui::Application& app);

  ui::Label Lblsuccess;
  ui::Label Lblfiledel;
  ui::ListBox LBdelinfo;
  ui::Label Lblvalue;
  ui::Button BBtnClose;

  void FormClose(ui::CloseAction& action);
  void FormCanResize(int& width, int& height, bool& allow);
};

extern TFrmDelinfo* FrmDelinfo;

}  // namespace clean
