// A push button; the default button has the heavy frame that Enter presses.
#include "platform/win32/ui/peers.h"

namespace platform::win32 {

namespace {

class ButtonPeer final : public ControlPeer {
 public:
  ButtonPeer(FormPeer& form, ui::Button& button) : ControlPeer(form, button) {
    Create(WC_BUTTONW, WS_TABSTOP | (button.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
    ApplyCaption();
  }

 private:
  void Apply(ui::Prop prop, int) override {
    if (prop == ui::Prop::kCaption) ApplyCaption();
  }
  void Notified(int code) override {
    if (code == BN_CLICKED) Model().Click();
  }
};

}  // namespace

std::unique_ptr<ControlPeer> MakeButtonPeer(FormPeer& form, ui::Button& button) {
  return std::make_unique<ButtonPeer>(form, button);
}

}  // namespace platform::win32
