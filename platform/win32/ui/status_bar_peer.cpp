// A status bar: it places itself along the bottom of the form; panel widths in design pixels,
// the last panel to the right edge.
#include "platform/win32/ui/peers.h"

#include <vector>

#include "platform/win32/ui/text.h"

namespace platform::win32 {

namespace {

class StatusBarPeer final : public ControlPeer {
 public:
  StatusBarPeer(FormPeer& form, ui::StatusBar& bar) : ControlPeer(form, bar), bar_(bar) {
    Create(STATUSCLASSNAMEW, 0);
    Layout();
    for (int i = 0; i < bar.PanelCount(); ++i)
      ApplyText(i);
  }

 private:
  // DoubleBuffered needs nothing here: the bar redraws only the panel whose text changed.
  void Apply(ui::Prop prop, int index) override {
    if (prop == ui::Prop::kPanelText) ApplyText(index);
  }

  void Layout() override {
    std::vector<int> rightEdges;
    int right = 0;
    for (int i = 0; i < bar_.PanelCount(); ++i) {
      right += Form().Scale(bar_.PanelWidth(i));
      rightEdges.push_back(i + 1 == bar_.PanelCount() ? -1 : right);
    }
    Send(SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
    Send(WM_SIZE);
  }

  void FormResized() override { Layout(); }

  void ApplyText(int index) {
    Send(SB_SETTEXTW, static_cast<WPARAM>(index),
         reinterpret_cast<LPARAM>(Wide(bar_.PanelText(index)).c_str()));
  }

  ui::StatusBar& bar_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeStatusBarPeer(FormPeer& form, ui::StatusBar& statusBar) {
  return std::make_unique<StatusBarPeer>(form, statusBar);
}

}  // namespace platform::win32
