#include "platform/ui/label.h"

namespace ui {

Label::Label(Control* parent, Rect bounds, std::string caption) : Control(parent, Kind::kLabel) {
  SetBounds(bounds);
  SetCaption(std::move(caption));
}

GroupBox::GroupBox(Control* parent, Rect bounds, std::string caption)
    : Control(parent, Kind::kGroupBox) {
  SetBounds(bounds);
  SetCaption(std::move(caption));
}

}  // namespace ui
