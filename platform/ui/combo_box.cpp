#include "platform/ui/combo_box.h"

namespace ui {

ComboBox::ComboBox(Control* parent, Rect bounds) : Control(parent, Kind::kComboBox) {
  SetBounds(bounds);
}

void ComboBox::Add(std::string text) {
  items_.push_back(std::move(text));
  Notify(Prop::kItemAdded, Count() - 1);
}

void ComboBox::Clear() {
  items_.clear();
  itemIndex_ = -1;
  Notify(Prop::kItems);
}

void ComboBox::SetItemIndex(int index) {
  itemIndex_ = index >= 0 && index < Count() ? index : -1;
  Notify(Prop::kItemIndex);
}

std::string ComboBox::Text() const {
  return itemIndex_ < 0 ? std::string() : Item(itemIndex_);
}

void ComboBox::UserChose(int index) {
  itemIndex_ = index >= 0 && index < Count() ? index : -1;
  Click();
}

}  // namespace ui
