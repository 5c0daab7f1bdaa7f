#include "platform/ui/list_view.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/utf.h"
#include "platform/wildcard.h"

namespace ui {

namespace {

// A batch this large is redrawn whole rather than row by row.
constexpr int kRowsRedrawnOneByOne = 64;

std::u16string Folded(std::string_view text) {
  std::u16string wide = platform::Utf8ToUtf16(text).value_or(std::u16string());
  for (char16_t& unit : wide)
    unit = platform::UpcaseChar(unit);
  return wide;
}

}  // namespace

ListView::ListView(Control* parent, Rect bounds, std::vector<Column> columns)
    : Control(parent, Kind::kListView), columns_(std::move(columns)) {
  SetBounds(bounds);
}

void ListView::SetColumns(std::vector<Column> columns) {
  columns_ = std::move(columns);
  if (sortColumn_ >= ColumnCount()) {
    sortColumn_ = -1;
    sortOrder_ = SortOrder::kNone;
  }
  Notify(Prop::kColumns, -1);
}

void ListView::SetColumnCaption(int index, std::string caption) {
  if (index < 0 || index >= ColumnCount()) return;
  columns_[static_cast<size_t>(index)].caption = std::move(caption);
  Notify(Prop::kColumns, index);
}

void ListView::SetColumnWidth(int index, int width) {
  if (index < 0 || index >= ColumnCount()) return;
  columns_[static_cast<size_t>(index)].width = width;
  Notify(Prop::kColumns, index);
}

void ListView::SetCheckBoxes(bool on) {
  if (on == checkBoxes_) return;
  checkBoxes_ = on;
  Notify(Prop::kCheckBoxes);
}

void ListView::SetRowCount(int count) {
  count = std::max(count, 0);
  if (count == rowCount_) {
    Refresh();
    return;
  }
  rowCount_ = count;
  selected_.Clear();
  focused_ = -1;
  anchor_ = -1;
  topRow_ = 0;
  Notify(Prop::kRowCount);
}

void ListView::Refresh() {
  Notify(Prop::kRows, -1);
}

void ListView::RefreshRows(int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, rowCount_ - 1);
  if (first > last) return;
  if (last - first >= kRowsRedrawnOneByOne) {
    Refresh();
    return;
  }
  for (int row = first; row <= last; ++row)
    Notify(Prop::kRows, row);
}

void ListView::SetSelected(int row, bool selected) {
  if (!ValidRow(row) || Selected(row) == selected) return;
  if (selected)
    selected_.Add(row, row);
  else
    selected_.Remove(row, row);
  Notify(Prop::kSelection, row);
}

void ListView::SelectAll(bool selected) {
  selected_.Clear();
  if (selected && rowCount_ > 0) selected_.Add(0, rowCount_ - 1);
  Notify(Prop::kSelection, -1);
}

void ListView::SetFocusedRow(int row) {
  focused_ = ValidRow(row) ? row : -1;
  if (anchor_ < 0) anchor_ = focused_;
  Notify(Prop::kItemIndex);
}

void ListView::EnsureVisible(int row) {
  if (!ValidRow(row)) return;
  const int page = PageRows();
  if (row < topRow_)
    topRow_ = row;
  else if (row >= topRow_ + page)
    topRow_ = row - page + 1;
  Notify(Prop::kScrollTo, row);
}

void ListView::SetSortArrow(int column, SortOrder order) {
  if (column < 0 || column >= ColumnCount() || order == SortOrder::kNone) {
    column = -1;
    order = SortOrder::kNone;
  }
  sortColumn_ = column;
  sortOrder_ = order;
  Notify(Prop::kSortArrow);
}

std::string ListView::Cell(int row, int column) const {
  if (!ValidRow(row) || column < 0 || column >= ColumnCount() || !CellText) return {};
  return CellText(row, column);
}

bool ListView::Checked(int row) const {
  return ValidRow(row) && RowChecked && RowChecked(row);
}

ListView::RowKind ListView::KindAt(int row) const {
  return ValidRow(row) && KindOfRow ? KindOfRow(row) : RowKind::kNormal;
}

double ListView::Fraction(int row, int column) const {
  if (!ValidRow(row) || !BarFraction) return 0.0;
  const double fraction = BarFraction(row, column);
  return std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
}

bool ListView::Checkable(int row) const {
  return checkBoxes_ && ValidRow(row) && KindAt(row) == RowKind::kNormal;
}

int ListView::PageRows() const {
  return std::max(1, (Bounds().height - kSimRowHeight) / kSimRowHeight);
}

int ListView::FindRow(std::string_view prefix, int start) const {
  const auto textColumn = std::find_if(columns_.begin(), columns_.end(),
                                       [](const Column& column) { return !column.bar; });
  if (prefix.empty() || rowCount_ == 0 || textColumn == columns_.end()) return -1;
  const int column = static_cast<int>(textColumn - columns_.begin());
  const std::u16string wanted = Folded(prefix);
  start = ValidRow(start) ? start : 0;
  for (int step = 0; step < rowCount_; ++step) {
    const int row = (start + step) % rowCount_;
    if (Folded(Cell(row, column)).starts_with(wanted)) return row;
  }
  return -1;
}

// --- What the user does

void ListView::UserClickCheckBox(int row) {
  if (!Visible() || !Enabled()) return;
  if (!Checkable(row)) {
    // A row without a box: a click where the box would be is a click on the row.
    UserClickRow(row);
    return;
  }
  Check({row}, !Checked(row));
}

void ListView::UserClickRow(int row, Modifiers modifiers) {
  if (!Visible() || !Enabled()) return;
  const RowSet before = selected_;
  const int focusedBefore = focused_;
  if (!ValidRow(row)) {
    // A click below the rows clears the selection unless it extends it.
    if (!modifiers.ctrl && !modifiers.shift) selected_.Clear();
  } else if (modifiers.shift) {
    SelectFromAnchor(row, modifiers.ctrl);
  } else if (modifiers.ctrl) {
    if (Selected(row))
      selected_.Remove(row, row);
    else
      selected_.Add(row, row);
    focused_ = row;
    anchor_ = row;
  } else {
    SelectOnly(row);
  }
  if (selected_ != before || focused_ != focusedBefore) SelectionChanged();
}

void ListView::UserDoubleClickRow(int row) {
  UserClickRow(row);
  if (ValidRow(row)) UserActivate(row);
}

void ListView::UserClickHeader(int column) {
  if (!Visible() || !Enabled() || column < 0 || column >= ColumnCount()) return;
  const SortOrder order = column == sortColumn_ && sortOrder_ == SortOrder::kAscending
                              ? SortOrder::kDescending
                              : SortOrder::kAscending;
  SetSortArrow(column, order);
  if (OnColumnClick) OnColumnClick(column, order);
}

void ListView::UserActivate(int row) {
  if (ValidRow(row) && OnActivate) OnActivate(row);
}

void ListView::UserKeyDown(int key, Modifiers modifiers) {
  if (!Visible() || !Enabled() || rowCount_ == 0) return;
  if (key == kKeySpace) {
    ToggleWithSpace(modifiers);
    return;
  }
  if (key == kKeyA && modifiers.ctrl) {
    const RowSet before = selected_;
    selected_.Clear();
    selected_.Add(0, rowCount_ - 1);
    if (selected_ != before) SelectionChanged();
    return;
  }
  const int last = rowCount_ - 1;
  const int page = PageRows();
  int target = -1;
  switch (key) {
    case kKeyDown:
      target = focused_ < 0 ? 0 : std::min(focused_ + 1, last);
      break;
    case kKeyUp:
      target = std::max(focused_ - 1, 0);
      break;
    case kKeyHome:
      target = 0;
      break;
    case kKeyEnd:
      target = last;
      break;
    case kKeyPageDown:
      // The bottom row of the page, or a page further when the focus is there already.
      target = focused_ == topRow_ + page - 1 ? focused_ + page - 1 : topRow_ + page - 1;
      target = std::min(target, last);
      break;
    case kKeyPageUp:
      target = focused_ == topRow_ ? topRow_ - page + 1 : topRow_;
      target = std::max(target, 0);
      break;
    default:
      return;
  }
  if (target == focused_) return;
  if (modifiers.shift)
    SelectFromAnchor(target, false);
  else if (modifiers.ctrl)
    focused_ = target;  // Ctrl moves the focus alone
  else
    SelectOnly(target);
  EnsureVisible(target);
  SelectionChanged();
}

void ListView::KeyPressed(int& key) {
  Control::KeyPressed(key);
  if (key == kKeyReturn && ValidRow(focused_) && Selected(focused_)) {
    key = 0;
    UserActivate(focused_);
  }
}

void ListView::ReportSelected(int first, int last, bool selected) {
  first = std::max(first, 0);
  last = std::min(last, rowCount_ - 1);
  if (selected)
    selected_.Add(first, last);
  else
    selected_.Remove(first, last);
}

void ListView::ReportFocused(int row, bool focused) {
  if (focused && ValidRow(row)) {
    focused_ = row;
    anchor_ = row;
  } else if (!focused && row == focused_) {
    focused_ = -1;
  }
}

void ListView::SelectionChangedByUser() {
  if (OnSelectionChange) OnSelectionChange();
}

// --- Helpers

void ListView::SelectOnly(int row) {
  selected_.Clear();
  selected_.Add(row, row);
  focused_ = row;
  anchor_ = row;
}

void ListView::SelectFromAnchor(int row, bool keepOthers) {
  if (!ValidRow(anchor_)) anchor_ = row;
  if (!keepOthers) selected_.Clear();
  selected_.Add(std::min(anchor_, row), std::max(anchor_, row));
  focused_ = row;
}

void ListView::ToggleWithSpace(Modifiers modifiers) {
  int focus = ValidRow(focused_) ? focused_ : selected_.First();
  if (!ValidRow(focus)) return;
  if (modifiers.ctrl) {
    // Ctrl+Space selects or deselects the focused row alone and ticks nothing.
    if (Selected(focus))
      selected_.Remove(focus, focus);
    else
      selected_.Add(focus, focus);
    focused_ = focus;
    anchor_ = focus;
    SelectionChanged();
    return;
  }
  if (!Selected(focus)) {
    SelectOnly(focus);
    SelectionChanged();
  }
  std::vector<int> targets;
  for (const RowSet::Range& range : selected_.Ranges()) {
    for (int row = range.first; row <= range.last; ++row) {
      if (Checkable(row)) targets.push_back(row);
    }
  }
  if (targets.empty()) return;
  // All of them take the new state of the focused row, or of the first one that has a box.
  const bool checked = !Checked(Checkable(focus) ? focus : targets.front());
  std::erase_if(targets, [&](int row) { return Checked(row) == checked; });
  Check(targets, checked);
}

void ListView::Check(const std::vector<int>& rows, bool checked) {
  if (rows.empty()) return;
  if (OnCheck) OnCheck(rows, checked);
  if (rows.size() > static_cast<size_t>(kRowsRedrawnOneByOne)) {
    Refresh();
    return;
  }
  for (int row : rows)
    Notify(Prop::kRows, row);
}

void ListView::SelectionChanged() {
  Notify(Prop::kSelection, -1);
  Notify(Prop::kItemIndex);
  SelectionChangedByUser();
}

}  // namespace ui
