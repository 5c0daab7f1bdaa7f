// Static text; a width of 0 sizes it to its text.
#pragma once

#include "platform/ui/control.h"

namespace ui {

class Label : public Control {
 public:
  Label(Control* parent, Rect bounds, std::string caption = {});

  // A caption wider than the label breaks into lines at spaces; set before the form is realized.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap) { wordWrap_ = wrap; }

 private:
  bool wordWrap_ = false;
};

// A frame with a caption that holds other controls.
class GroupBox : public Control {
 public:
  GroupBox(Control* parent, Rect bounds, std::string caption = {});
};

}  // namespace ui
