// A status bar of text panels along the bottom of its form.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace ui {

class StatusBar : public Control {
 public:
  // One panel per width (design pixels); the last one takes the rest of the bar.
  StatusBar(Control* parent, std::vector<int> panelWidths);

  int PanelCount() const { return static_cast<int>(panels_.size()); }
  int PanelWidth(int index) const { return panels_[static_cast<size_t>(index)].width; }
  const std::string& PanelText(int index) const { return panels_[static_cast<size_t>(index)].text; }
  void SetPanelText(int index, std::string text);
  // A progress bar filling the panel, from 0 to kProgressRange; kNoProgress shows none.
  static constexpr int kProgressRange = 1000;
  static constexpr int kNoProgress = -1;
  int PanelProgress(int index) const { return panels_[static_cast<size_t>(index)].progress; }
  void SetPanelProgress(int index, int progress);
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool on);
  // Draws the bar at once, so progress shows while the program holds the thread.
  void Repaint();

 private:
  struct Panel {
    int width = 0;
    std::string text;
    int progress = kNoProgress;
  };
  std::vector<Panel> panels_;
  bool doubleBuffered_ = false;
};

}  // namespace ui
