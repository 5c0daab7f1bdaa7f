// A status bar: it places itself along the bottom of the form; panel widths in design pixels,
// the last panel to the right edge. A panel's progress is a progress bar laid over it.
#include "platform/win32/ui/peers.h"

#include <vector>

#include "platform/win32/ui/text.h"
#include "platform/win32/ui/ui_handles.h"

namespace platform::win32 {

namespace {

class StatusBarPeer final : public ControlPeer {
 public:
  StatusBarPeer(FormPeer& form, ui::StatusBar& bar) : ControlPeer(form, bar), bar_(bar) {
    Create(STATUSCLASSNAMEW, 0);
    Layout();
    for (int i = 0; i < bar.PanelCount(); ++i) {
      ApplyText(i);
      ApplyProgress(i);
    }
  }

 private:
  // DoubleBuffered needs nothing here: the bar redraws only the panel whose text changed.
  void Apply(ui::Prop prop, int index) override {
    if (prop == ui::Prop::kPanelText) ApplyText(index);
    if (prop == ui::Prop::kPanelProgress) ApplyProgress(index);
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
    PlaceProgress();
  }

  void FormResized() override { Layout(); }

  void ApplyText(int index) {
    Send(SB_SETTEXTW, static_cast<WPARAM>(index),
         reinterpret_cast<LPARAM>(Wide(bar_.PanelText(index)).c_str()));
  }

  void ApplyProgress(int index) {
    const int progress = bar_.PanelProgress(index);
    if (progress == ui::StatusBar::kNoProgress) {
      if (progressPanel_ == index) progress_.Reset();
      return;
    }
    if (!progress_ || progressPanel_ != index) {
      progressPanel_ = index;
      progress_.Reset(::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                        Window(), nullptr, ::GetModuleHandleW(nullptr), nullptr));
      ::SendMessageW(progress_.Get(), PBM_SETRANGE32, 0, ui::StatusBar::kProgressRange);
      PlaceProgress();
    }
    ::SendMessageW(progress_.Get(), PBM_SETPOS, static_cast<WPARAM>(progress), 0);
  }

  // Inside the panel's borders.
  void PlaceProgress() {
    if (!progress_) return;
    RECT panel{};
    Send(SB_GETRECT, static_cast<WPARAM>(progressPanel_), reinterpret_cast<LPARAM>(&panel));
    ::MoveWindow(progress_.Get(), panel.left + 2, panel.top + 2, panel.right - panel.left - 4,
                 panel.bottom - panel.top - 4, TRUE);
  }

  ui::StatusBar& bar_;
  UniqueWindow progress_;  // over the panel that shows progress, while one does
  int progressPanel_ = -1;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeStatusBarPeer(FormPeer& form, ui::StatusBar& statusBar) {
  return std::make_unique<StatusBarPeer>(form, statusBar);
}

}  // namespace platform::win32
