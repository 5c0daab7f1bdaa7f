// A check box. Its click event fires whenever the state changes, also when the program sets it.
#pragma once

#include "platform/ui/control.h"

namespace ui {

class CheckBox : public Control {
 public:
  CheckBox(Control* parent, Rect bounds, std::string caption = {});

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // A user click toggles the state.
  void Click() override;

 private:
  bool checked_ = false;
};

}  // namespace ui
