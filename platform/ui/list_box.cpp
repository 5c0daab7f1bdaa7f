#include "platform/ui/list_box.h"

#include <algorithm>

#include "platform/utf.h"
#include "platform/wildcard.h"

namespace ui {

namespace {

std::u16string Folded(const std::string& text) {
  std::u16string wide = platform::Utf8ToUtf16(text).value_or(std::u16string());
  for (char16_t& unit : wide)
    unit = platform::UpcaseChar(unit);
  return wide;
}

}  // namespace

bool ListOrderLess(const std::string& a, const std::string& b) {
  const std::u16string foldedA = Folded(a);
  const std::u16string foldedB = Folded(b);
  if (foldedA != foldedB) return foldedA < foldedB;
  return a < b;  // a fixed order for texts that differ only in case
}

int FitScrollWidth(int width, const ListBox& list) {
  const int range = list.HorizontalExtent();
  return range < width - 10 ? width + 10 : range;
}

int AddFitted(ListBox& list, std::string text) {
  const int width = list.TextWidth(text);
  const int index = list.Add(std::move(text));
  list.SetHorizontalExtent(FitScrollWidth(width, list));
  return index;
}

ListBox::ListBox(Control* parent, Rect bounds) : Control(parent, Kind::kListBox) {
  SetBounds(bounds);
}

int ListBox::Add(std::string text) {
  size_t at = items_.size();
  if (sorted_) {
    auto it = std::upper_bound(
        items_.begin(), items_.end(), text,
        [](const std::string& value, const Line& item) { return ListOrderLess(value, item.text); });
    at = static_cast<size_t>(it - items_.begin());
  }
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), false});
  const int index = static_cast<int>(at);
  if (itemIndex_ >= index) ++itemIndex_;
  Notify(Prop::kItemAdded, index);
  return index;
}

void ListBox::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  if (itemIndex_ == index)
    itemIndex_ = -1;
  else if (itemIndex_ > index)
    --itemIndex_;
  Notify(Prop::kItemDeleted, index);
}

void ListBox::Clear() {
  items_.clear();
  itemIndex_ = -1;
  Notify(Prop::kItems);
}

void ListBox::SetSelected(int index, bool selected) {
  if (index < 0 || index >= Count()) return;
  if (!multiSelect_) {
    SetItemIndex(selected ? index : -1);
    return;
  }
  Line& item = items_[static_cast<size_t>(index)];
  if (item.selected == selected) return;
  item.selected = selected;
  Notify(Prop::kSelection, index);
}

void ListBox::SelectAll(bool selected) {
  for (Line& item : items_)
    item.selected = selected && multiSelect_;
  Notify(Prop::kSelection, -1);
}

int ListBox::SelectedCount() const {
  return static_cast<int>(
      std::count_if(items_.begin(), items_.end(), [](const Line& item) { return item.selected; }));
}

void ListBox::SetItemIndex(int index) {
  if (index < -1 || index >= Count()) index = -1;
  if (!multiSelect_) {
    for (size_t i = 0; i < items_.size(); ++i)
      items_[i].selected = static_cast<int>(i) == index;
  }
  itemIndex_ = index;
  Notify(Prop::kItemIndex);
}

void ListBox::SetHorizontalExtent(int pixels) {
  if (pixels == horizontalExtent_) return;
  horizontalExtent_ = pixels;
  Notify(Prop::kHorizontalExtent);
}

void ListBox::UserSelected(int index, bool selected) {
  if (index >= 0 && index < Count()) items_[static_cast<size_t>(index)].selected = selected;
}

void ListBox::UserSetItemIndex(int index) {
  itemIndex_ = index >= 0 && index < Count() ? index : -1;
  if (!multiSelect_) {
    for (size_t i = 0; i < items_.size(); ++i)
      items_[i].selected = static_cast<int>(i) == itemIndex_;
  }
}

}  // namespace ui
