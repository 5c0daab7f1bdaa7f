#include "platform/ui/status_bar.h"

#include <algorithm>

namespace ui {

StatusBar::StatusBar(Control* parent, std::vector<int> panelWidths)
    : Control(parent, Kind::kStatusBar) {
  for (int width : panelWidths)
    panels_.push_back({width, {}});
}

void StatusBar::SetPanelText(int index, std::string text) {
  if (index < 0 || index >= PanelCount()) return;
  Panel& panel = panels_[static_cast<size_t>(index)];
  if (panel.text == text) return;
  panel.text = std::move(text);
  Notify(Prop::kPanelText, index);
}

void StatusBar::SetPanelProgress(int index, int progress) {
  if (index < 0 || index >= PanelCount()) return;
  progress = progress < 0 ? kNoProgress : std::min(progress, kProgressRange);
  Panel& panel = panels_[static_cast<size_t>(index)];
  if (panel.progress == progress) return;
  panel.progress = progress;
  Notify(Prop::kPanelProgress, index);
}

void StatusBar::SetDoubleBuffered(bool on) {
  doubleBuffered_ = on;
  Notify(Prop::kDoubleBuffered);
}

void StatusBar::Repaint() {
  if (Peer* peer = GetPeer()) peer->Repaint();
}

}  // namespace ui
