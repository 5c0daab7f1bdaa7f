// Static text. It takes the mouse (SS_NOTIFY) for clicks, hover and the hand cursor; a label of
// width or height 0 takes the size of its text; a word-wrapping one breaks lines at spaces.
#include "platform/win32/ui/peers.h"

#include "platform/win32/ui/text.h"

namespace platform::win32 {

namespace {

class LabelPeer final : public ControlPeer {
 public:
  LabelPeer(FormPeer& form, ui::Label& label) : ControlPeer(form, label) {
    Create(WC_STATICW, (label.WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP) | SS_NOTIFY);
    ApplyCaption();
  }

 private:
  bool DrawsFontColor() const override { return true; }
  void Apply(ui::Prop prop, int) override {
    if (prop != ui::Prop::kCaption) return;
    ApplyCaption();
    Layout();
  }
  void Notified(int code) override {
    if (code == STN_CLICKED) Model().Click();
  }
  RECT PixelBounds() const override {
    RECT bounds = ControlPeer::PixelBounds();
    const ui::Rect& design = Model().Bounds();
    if (design.width > 0 && design.height > 0) return bounds;
    const std::wstring caption = Wide(Model().Caption());
    const ScreenDc screen;
    const SelectedFont font(screen.Get(), NativeFont());
    RECT text{};
    ::DrawTextW(screen.Get(), caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_CALCRECT | DT_LEFT | DT_EXPANDTABS);
    if (design.width <= 0) bounds.right = bounds.left + text.right;
    if (design.height <= 0) bounds.bottom = bounds.top + text.bottom;
    return bounds;
  }
};

}  // namespace

std::unique_ptr<ControlPeer> MakeLabelPeer(FormPeer& form, ui::Label& label) {
  return std::make_unique<LabelPeer>(form, label);
}

}  // namespace platform::win32
