// Static text; a width of 0 sizes it to its text.
#pragma once

#include "platform/ui/control.h"

namespace ui {

class Label : public Control {
 public:
  Label(Control* parent, Rect bounds, std::string caption = {});
};

// A frame with a caption that holds other controls.
class GroupBox : public Control {
 public:
  GroupBox(Control* parent, Rect bounds, std::string caption = {});
};

}  // namespace ui
