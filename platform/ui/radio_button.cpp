#include "platform/ui/radio_button.h"

namespace ui {

RadioButton::RadioButton(Control* parent, Rect bounds, std::string caption)
    : Control(parent, Kind::kRadioButton) {
  SetBounds(bounds);
  SetCaption(std::move(caption));
}

void RadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Notify(Prop::kChecked);
  if (!checked) return;
  for (Control* sibling : Parent()->Children()) {
    if (sibling != this && sibling->GetKind() == Kind::kRadioButton) {
      static_cast<RadioButton*>(sibling)->SetChecked(false);
    }
  }
  Control::Click();
}

void RadioButton::Click() {
  if (!Visible() || !Enabled()) return;
  SetChecked(true);
}

}  // namespace ui
