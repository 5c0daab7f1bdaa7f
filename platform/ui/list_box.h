// A list box: optionally sorted and multi-select, with a horizontal scroll range in pixels.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace ui {

class ListBox : public Control {
 public:
  ListBox(Control* parent, Rect bounds);

  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool on) { multiSelect_ = on; }
  bool Sorted() const { return sorted_; }
  void SetSorted(bool on) { sorted_ = on; }

  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& Item(int index) const { return items_[static_cast<size_t>(index)].text; }
  // Adds a line (at its sorted place in a sorted list) and returns its position.
  int Add(std::string text);
  void Delete(int index);
  void Clear();

  bool Selected(int index) const { return items_[static_cast<size_t>(index)].selected; }
  void SetSelected(int index, bool selected);
  void SelectAll(bool selected);
  int SelectedCount() const;
  // The current line (the caret); in a single-select list also the selection. -1 for none.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);

  int HorizontalExtent() const { return horizontalExtent_; }
  void SetHorizontalExtent(int pixels);

  // --- For backends and tests: the user changed the selection.
  void UserSelected(int index, bool selected);
  void UserSetItemIndex(int index);

 private:
  struct Line {
    std::string text;
    bool selected = false;
  };
  std::vector<Line> items_;
  bool multiSelect_ = false;
  bool sorted_ = false;
  int itemIndex_ = -1;
  int horizontalExtent_ = 0;
};

// The new horizontal scroll range of a list box after a line `width` pixels wide was added:
// it grows to the width plus 10 once the line is more than 10 pixels wider than the range.
int FitScrollWidth(int width, const ListBox& list);

// Adds a line and widens the scroll range to fit it, as every list of the program does; returns
// the line's position.
int AddFitted(ListBox& list, std::string text);

// The order of a sorted list box: letters compared without regard to case, as the system does.
bool ListOrderLess(const std::string& a, const std::string& b);

}  // namespace ui
