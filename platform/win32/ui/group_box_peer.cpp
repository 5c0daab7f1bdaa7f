// A frame with a caption. Its controls are children of the form window, placed at their bounds
// in the form, and come after it in the tab order.
#include "platform/win32/ui/peers.h"

namespace platform::win32 {

namespace {

class GroupBoxPeer final : public ControlPeer {
 public:
  GroupBoxPeer(FormPeer& form, ui::GroupBox& groupBox) : ControlPeer(form, groupBox) {
    Create(WC_BUTTONW, BS_GROUPBOX);
    ApplyCaption();
  }

 private:
  bool DrawsFontColor() const override { return true; }
  void Apply(ui::Prop prop, int) override {
    if (prop == ui::Prop::kCaption) ApplyCaption();
  }
};

}  // namespace

std::unique_ptr<ControlPeer> MakeGroupBoxPeer(FormPeer& form, ui::GroupBox& groupBox) {
  return std::make_unique<GroupBoxPeer>(form, groupBox);
}

}  // namespace platform::win32
