// A radio button: checking it unchecks the other radio buttons of the same parent.
#pragma once

#include "platform/ui/control.h"

namespace ui {

class RadioButton : public Control {
 public:
  RadioButton(Control* parent, Rect bounds, std::string caption = {});

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  void Click() override;

 private:
  bool checked_ = false;
};

}  // namespace ui
