// A one-line edit field. Typing goes to the model without coming back to the field.
#include "platform/win32/ui/peers.h"

#include "platform/win32/ui/text.h"

namespace platform::win32 {

namespace {

class EditPeer final : public ControlPeer {
 public:
  EditPeer(FormPeer& form, ui::Edit& edit) : ControlPeer(form, edit), edit_(edit) {
    Create(WC_EDITW, WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    ApplyText();
  }

 private:
  void Apply(ui::Prop prop, int) override {
    if (prop == ui::Prop::kText) ApplyText();
  }
  void Notified(int code) override {
    if (code == EN_CHANGE && !applying_) edit_.TextTyped(WindowText(Window()));
  }
  void ApplyText() {
    const std::wstring text = Wide(edit_.Text());
    // The field reports EN_CHANGE for the program's own change too.
    applying_ = true;
    ::SetWindowTextW(Window(), text.c_str());
    applying_ = false;
  }

  ui::Edit& edit_;
  bool applying_ = false;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeEditPeer(FormPeer& form, ui::Edit& edit) {
  return std::make_unique<EditPeer>(form, edit);
}

}  // namespace platform::win32
