#include "platform/ui/check_box.h"

namespace ui {

CheckBox::CheckBox(Control* parent, Rect bounds, std::string caption)
    : Control(parent, Kind::kCheckBox) {
  SetBounds(bounds);
  SetCaption(std::move(caption));
}

void CheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Notify(Prop::kChecked);
  Control::Click();
}

void CheckBox::Click() {
  if (!Visible() || !Enabled()) return;
  SetChecked(!checked_);
}

}  // namespace ui
