// A push button; the standard kinds (OK, cancel, close, abort) carry a glyph and a modal result.
#pragma once

#include "platform/ui/control.h"

namespace ui {

class Button : public Control {
 public:
  enum class ButtonKind { kCustom, kOk, kCancel, kClose, kAbort };

  Button(Control* parent, Rect bounds, std::string caption = {},
         ButtonKind kind = ButtonKind::kCustom);

  ButtonKind GetButtonKind() const { return buttonKind_; }
  ModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(ModalResult result) { modalResult_ = result; }
  // Pressed by Enter (default) or Escape (cancel) while its form is active.
  bool Default() const { return default_; }
  void SetDefault(bool on) { default_ = on; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool on) { cancel_ = on; }

  // Hands the modal result to the form, then runs OnClick; a close button closes its form.
  void Click() override;

 private:
  ButtonKind buttonKind_;
  ModalResult modalResult_ = ModalResult::kNone;
  bool default_ = false;
  bool cancel_ = false;
};

}  // namespace ui
