// A list of rows in columns (report view) whose rows belong to the form: the list holds no row
// data at all. It asks the form, on demand, for the row count's rows: a cell's text, whether a
// row is ticked, the row's kind, and for a bar column the fraction of the cell its bar fills.
// 100,000 rows cost no memory here; the selection is kept as ranges of rows.
//
// Check boxes behave as everywhere in Windows: a click on a row's box ticks or unticks that row
// only; a click elsewhere on a row selects it and never changes what is ticked; Space gives
// every selected row the new state of the focused one. Info and heading rows have no box and
// never change state. Ticking is the form's: OnCheck says which rows the user ticked or
// unticked, the form changes its rows, and the list shows them again as the form answers.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/row_set.h"

namespace ui {

// The keys held with a click or a key.
struct KeyModifiers {
  bool ctrl = false;
  bool shift = false;
};

class ListView : public Control {
 public:
  enum class Align { kLeft, kRight, kCenter };
  struct Column {
    std::string caption;
    int width = 100;  // design pixels
    // Numbers are right-aligned. Windows shows the first column left-aligned whatever it says.
    Align align = Align::kLeft;
    // Drawn as a horizontal bar filling BarFraction of the cell, in the highlight colour; the
    // cell has no text.
    bool bar = false;
  };
  enum class RowKind {
    kNormal,  // has a check box (when the list shows them)
    kInfo,    // no box: information that cannot be ticked
    kHeading  // no box, in bold: a group's name above its rows
  };
  enum class SortOrder { kNone, kAscending, kDescending };
  using Modifiers = KeyModifiers;

  ListView(Control* parent, Rect bounds, std::vector<Column> columns = {});

  // --- Columns
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  const Column& GetColumn(int index) const { return columns_[static_cast<size_t>(index)]; }
  void SetColumns(std::vector<Column> columns);
  void SetColumnCaption(int index, std::string caption);
  void SetColumnWidth(int index, int width);
  bool CheckBoxes() const { return checkBoxes_; }
  void SetCheckBoxes(bool on);

  // --- The form's rows, asked for whenever a row is shown or acted on. Missing answers count
  // as an empty text, unticked, a normal row and an empty bar.
  std::function<std::string(int row, int column)> CellText;
  std::function<bool(int row)> RowChecked;
  std::function<RowKind(int row)> KindOfRow;
  std::function<double(int row, int column)> BarFraction;

  int RowCount() const { return rowCount_; }
  // The form's row count changed: every row is shown anew, and the selection and the focus are
  // cleared (the rows they marked are gone or have moved). The same count keeps them.
  void SetRowCount(int count);
  // The form changed its rows in place (sorted them, ticked some): they are shown anew.
  void Refresh();
  void RefreshRows(int first, int last);

  // --- Selection and focus (the focused row is the one the keyboard acts on)
  bool Selected(int row) const { return selected_.Contains(row); }
  int SelectedCount() const { return selected_.Count(); }
  std::vector<int> SelectedRows() const { return selected_.Rows(); }
  const RowSet& Selection() const { return selected_; }
  void SetSelected(int row, bool selected);
  void SelectAll(bool selected);
  // -1 for none.
  int FocusedRow() const { return focused_; }
  void SetFocusedRow(int row);
  // Scrolls the row into view.
  void EnsureVisible(int row);

  // --- The sort arrow on a column header, as Explorer shows it; -1 for none.
  int SortColumn() const { return sortColumn_; }
  SortOrder GetSortOrder() const { return sortOrder_; }
  void SetSortArrow(int column, SortOrder order);

  // --- Events
  // The user ticked (checked) or unticked rows: the form updates them. Only normal rows whose
  // state changes are listed, in ascending order.
  std::function<void(const std::vector<int>& rows, bool checked)> OnCheck;
  // A column header was clicked: the arrow shows the new order already (a new column sorts
  // ascending, the same one again reverses); the form sorts its rows and calls Refresh. The
  // selection stays on the same row numbers: a form that wants it on the same rows selects
  // them anew at their new places.
  std::function<void(int column, SortOrder order)> OnColumnClick;
  // A double-click on a row, or Enter on the focused row while it is selected.
  std::function<void(int row)> OnActivate;
  // The user changed the selection or the focus (not raised for the program's own changes).
  std::function<void()> OnSelectionChange;

  // --- What the user does, reported by a backend or done by a test on the sim
  // A click on the row's box; on a row without one, a click on the row.
  void UserClickCheckBox(int row);
  // A click on a row (or on no row: -1) with Ctrl and Shift as Windows' list treats them.
  void UserClickRow(int row, Modifiers modifiers = {});
  void UserDoubleClickRow(int row);
  void UserClickHeader(int column);
  void UserActivate(int row);
  // Space, Ctrl+A and the keys that move the focus (arrows, Home, End, Page Up, Page Down). The
  // win32 list moves the focus itself and hands only Space and Ctrl+A to this.
  void UserKeyDown(int key, Modifiers modifiers = {});
  // Enter on the focused, selected row activates it rather than the form's default button.
  void KeyPressed(int& key) override;
  // The native list changed the selection or the focus itself; SelectionChangedByUser raises
  // the event once for a batch of such reports.
  void ReportSelected(int first, int last, bool selected);
  void ReportFocused(int row, bool focused);
  void SelectionChangedByUser();

  // The first row from `start` on (then from the top) whose first text column starts with
  // `prefix`, letters compared as the system does; -1 when none does. Typing in the list jumps
  // there.
  int FindRow(std::string_view prefix, int start) const;

  // Rows a page holds on the sim: the list's height less a header, in rows of kSimRowHeight
  // design pixels. The win32 list pages by its own measure.
  static constexpr int kSimRowHeight = 17;
  int PageRows() const;

  // Answers of the form, with the defaults above.
  std::string Cell(int row, int column) const;
  bool Checked(int row) const;
  RowKind KindAt(int row) const;
  double Fraction(int row, int column) const;
  // A row with a box the user can tick.
  bool Checkable(int row) const;

 private:
  bool ValidRow(int row) const { return row >= 0 && row < rowCount_; }
  // Selects only this row and focuses it, as a plain click or a plain arrow key does.
  void SelectOnly(int row);
  // Selects from the anchor to the row and nothing else, as Shift does.
  void SelectFromAnchor(int row, bool keepOthers);
  void ToggleWithSpace(Modifiers modifiers);
  void Check(const std::vector<int>& rows, bool checked);
  void SelectionChanged();

  std::vector<Column> columns_;
  bool checkBoxes_ = true;
  int rowCount_ = 0;
  RowSet selected_;
  int focused_ = -1;
  // Where Shift selects from: the last row clicked or moved to without Shift.
  int anchor_ = -1;
  int topRow_ = 0;
  int sortColumn_ = -1;
  SortOrder sortOrder_ = SortOrder::kNone;
};

}  // namespace ui
