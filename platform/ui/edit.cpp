#include "platform/ui/edit.h"

namespace ui {

Edit::Edit(Control* parent, Rect bounds) : Control(parent, Kind::kEdit) {
  SetBounds(bounds);
}

void Edit::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Notify(Prop::kText);
}

}  // namespace ui
