// A drop-down list without free text.
#include "platform/win32/ui/peers.h"

#include "platform/win32/ui/text.h"

namespace platform::win32 {

namespace {

// The height of the open list in design pixels; the closed field takes its height from the font.
constexpr int kDropDownHeight = 160;

class ComboBoxPeer final : public ControlPeer {
 public:
  ComboBoxPeer(FormPeer& form, ui::ComboBox& combo) : ControlPeer(form, combo), combo_(combo) {
    Create(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
    Refill();
  }

 private:
  void Apply(ui::Prop prop, int index) override {
    switch (prop) {
      case ui::Prop::kItems:
        Refill();
        break;
      case ui::Prop::kItemAdded:
        Send(CB_INSERTSTRING, static_cast<WPARAM>(index),
             reinterpret_cast<LPARAM>(Wide(combo_.Item(index)).c_str()));
        break;
      case ui::Prop::kItemIndex:
        Send(CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()));
        break;
      default:
        break;
    }
  }

  void Notified(int code) override {
    if (code == CBN_SELCHANGE) combo_.UserChose(static_cast<int>(Send(CB_GETCURSEL)));
  }

  RECT PixelBounds() const override {
    RECT bounds = ControlPeer::PixelBounds();
    bounds.bottom += Form().Scale(kDropDownHeight);
    return bounds;
  }

  void Refill() {
    Send(CB_RESETCONTENT);
    for (int i = 0; i < combo_.Count(); ++i)
      Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(combo_.Item(i)).c_str()));
    Send(CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()));
  }

  ui::ComboBox& combo_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeComboBoxPeer(FormPeer& form, ui::ComboBox& comboBox) {
  return std::make_unique<ComboBoxPeer>(form, comboBox);
}

}  // namespace platform::win32
