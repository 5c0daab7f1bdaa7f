// A drop-down list without free text.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace ui {

class ComboBox : public Control {
 public:
  ComboBox(Control* parent, Rect bounds);

  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& Item(int index) const { return items_[static_cast<size_t>(index)]; }
  void Add(std::string text);
  void Clear();
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  // The chosen line, empty when none is chosen.
  std::string Text() const;

  // --- For backends and tests: the user chose a line.
  void UserChose(int index);

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

}  // namespace ui
