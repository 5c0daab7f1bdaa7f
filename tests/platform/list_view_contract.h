// A list view in a form, where the same cases run on every backend: the sim (the control's own
// behaviour, driven through its user calls) and win32 (a real SysListView32 driven with window
// messages). The world says what the screen shows; the cases compare it with the model.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/list_view.h"

namespace testing_list_view {

using Kind = ui::ListView::RowKind;
using Order = ui::ListView::SortOrder;

struct Row {
  std::string name;
  std::int64_t size = 0;
  bool checked = false;
  Kind kind = Kind::kNormal;
};

// Files to tick, with a size column and a bar of each size against the largest. It keeps its
// rows as a form of the program would and records what the list told it.
class CheckListForm : public ui::Form {
 public:
  CheckListForm(ui::Application& app, std::vector<Row> rows);

  std::vector<Row> rows;
  ui::ListView list{
      this,
      {8, 8, 384, 240},
      {{"Name", 180}, {"Size", 80, ui::ListView::Align::kRight}, {"Share", 90, {}, true}}};
  ui::Button ok{this, {316, 256, 75, 25}, "OK"};

  std::vector<std::pair<std::vector<int>, bool>> checks;
  std::vector<std::pair<int, Order>> sorts;
  std::vector<int> activations;
  int selectionChanges = 0;
  int okClicks = 0;
};

// A name and size per row: "file0" .. with sizes 1000, 2000 ...
std::vector<Row> Files(int count);

class ListViewWorld {
 public:
  virtual ~ListViewWorld() = default;
  virtual CheckListForm& Form() = 0;
  ui::ListView& List() { return Form().list; }

  // --- What the user does
  virtual void ClickCheckBox(int row) = 0;
  virtual void DoubleClickCheckBox(int row) = 0;
  // A click on the row's name; on no row (below the last) for -1.
  virtual void ClickRow(int row, ui::KeyModifiers modifiers = {}) = 0;
  virtual void DoubleClickRow(int row) = 0;
  virtual void ClickHeader(int column) = 0;
  virtual void Press(int key, ui::KeyModifiers modifiers = {}) = 0;
  // Lets whatever the backend does later (posted messages) happen.
  virtual void Settle() {}

  // --- What the screen shows
  virtual int PageRows() = 0;
  // The row's box: ticked or not; nothing for a row without a box.
  virtual std::optional<bool> BoxShown(int row) = 0;
  virtual bool SelectedShown(int row) = 0;
  virtual int FocusShown() = 0;
  virtual Order ArrowShown(int column) = 0;
  virtual std::string CellShown(int row, int column) = 0;
};

using ListViewWorldFactory = std::function<std::unique_ptr<ListViewWorld>(std::vector<Row>)>;

std::unique_ptr<ListViewWorld> MakeSimListViewWorld(std::vector<Row> rows);

// A factory gives no world where the backend cannot show windows (win32 without a display).
class ListViewContract : public ::testing::TestWithParam<ListViewWorldFactory> {
 protected:
  void SetUp() override {
    if (!GetParam()({})) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)";
  }
  // A world whose form holds these rows.
  ListViewWorld& Open(std::vector<Row> rows);
  CheckListForm& Form() { return world_->Form(); }
  ui::ListView& List() { return world_->List(); }

 private:
  std::unique_ptr<ListViewWorld> world_;
};

}  // namespace testing_list_view
