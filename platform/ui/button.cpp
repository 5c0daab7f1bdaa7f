#include "platform/ui/button.h"

#include "platform/ui/form.h"

namespace ui {

Button::Button(Control* parent, Rect bounds, std::string caption, ButtonKind kind)
    : Control(parent, Kind::kButton), buttonKind_(kind) {
  SetBounds(bounds);
  SetCaption(std::move(caption));
  switch (kind) {
    case ButtonKind::kOk:
      modalResult_ = ModalResult::kOk;
      default_ = true;
      break;
    case ButtonKind::kCancel:
      modalResult_ = ModalResult::kCancel;
      cancel_ = true;
      break;
    case ButtonKind::kAbort:
      modalResult_ = ModalResult::kAbort;
      break;
    case ButtonKind::kClose:
    case ButtonKind::kCustom:
      break;
  }
}

void Button::Click() {
  if (!Visible() || !Enabled()) return;
  Form& form = OwnerForm();
  if (buttonKind_ == ButtonKind::kClose) {
    Control::Click();
    form.Close();
    return;
  }
  if (modalResult_ != ModalResult::kNone) form.SetModalResult(modalResult_);
  Control::Click();
}

}  // namespace ui
