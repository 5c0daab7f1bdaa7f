// Check boxes and radio buttons. The native button changes its own state on a click; the model
// then decides (its click rules may change it again), and the native state follows the model.
#include "platform/win32/ui/peers.h"

namespace platform::win32 {

namespace {

template <typename Toggle>
class ToggleButtonPeer final : public ControlPeer {
 public:
  ToggleButtonPeer(FormPeer& form, Toggle& model, DWORD kind)
      : ControlPeer(form, model), model_(model) {
    Create(WC_BUTTONW, WS_TABSTOP | kind);
    ApplyCaption();
    ApplyChecked();
  }

 private:
  bool DrawsFontColor() const override { return true; }
  void Apply(ui::Prop prop, int) override {
    if (prop == ui::Prop::kCaption) ApplyCaption();
    if (prop == ui::Prop::kChecked) ApplyChecked();
  }
  void Notified(int code) override {
    if (code != BN_CLICKED) return;
    model_.Click();
    ApplyChecked();
  }
  void ApplyChecked() { Send(BM_SETCHECK, model_.Checked() ? BST_CHECKED : BST_UNCHECKED); }

  Toggle& model_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeCheckBoxPeer(FormPeer& form, ui::CheckBox& checkBox) {
  return std::make_unique<ToggleButtonPeer<ui::CheckBox>>(form, checkBox, BS_AUTOCHECKBOX);
}

std::unique_ptr<ControlPeer> MakeRadioButtonPeer(FormPeer& form, ui::RadioButton& radioButton) {
  return std::make_unique<ToggleButtonPeer<ui::RadioButton>>(form, radioButton, BS_AUTORADIOBUTTON);
}

}  // namespace platform::win32
