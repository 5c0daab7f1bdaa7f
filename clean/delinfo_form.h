// The report dialog: what a clean run removed, and the space it freed.
#pragma once

#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"

namespace clean {

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
