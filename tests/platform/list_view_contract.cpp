// What a user does with a list view with check boxes, the same on the sim and on a real
// SysListView32: ticking is a click on a box or Space, never a plain click; the selection and
// the focus move as in every Windows list; headers sort; double-click and Enter activate.
#include "tests/platform/list_view_contract.h"

#include <algorithm>

#include "platform/sim/sim_ui.h"
#include "platform/ui/application.h"

namespace testing_list_view {

namespace {

using ui::KeyModifiers;
using Checks = std::vector<std::pair<std::vector<int>, bool>>;
using Rows = std::vector<int>;

constexpr KeyModifiers kCtrl{true, false};
constexpr KeyModifiers kShift{false, true};

}  // namespace

CheckListForm::CheckListForm(ui::Application& app, std::vector<Row> rowsShown)
    : ui::Form(app), rows(std::move(rowsShown)) {
  SetName("TListViewTestForm");
  SetCaption("List view");
  SetClientSize({400, 290});
  ok.SetDefault(true);
  ok.OnClick = [this] { ++okClicks; };
  list.CellText = [this](int row, int column) {
    const Row& shown = rows[static_cast<size_t>(row)];
    return column == 0 ? shown.name : column == 1 ? std::to_string(shown.size) : std::string();
  };
  list.RowChecked = [this](int row) { return rows[static_cast<size_t>(row)].checked; };
  list.KindOfRow = [this](int row) { return rows[static_cast<size_t>(row)].kind; };
  list.BarFraction = [this](int row, int) {
    std::int64_t largest = 1;
    for (const Row& each : rows)
      largest = std::max(largest, each.size);
    return static_cast<double>(rows[static_cast<size_t>(row)].size) / static_cast<double>(largest);
  };
  list.OnCheck = [this](const std::vector<int>& changed, bool checked) {
    for (int row : changed)
      rows[static_cast<size_t>(row)].checked = checked;
    checks.emplace_back(changed, checked);
  };
  list.OnColumnClick = [this](int column, Order order) {
    sorts.emplace_back(column, order);
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
      const bool less = column == 0 ? a.name < b.name : a.size < b.size;
      const bool greater = column == 0 ? b.name < a.name : b.size < a.size;
      return order == Order::kAscending ? less : greater;
    });
    list.Refresh();
  };
  list.OnActivate = [this](int row) { activations.push_back(row); };
  list.OnSelectionChange = [this] { ++selectionChanges; };
  list.SetRowCount(static_cast<int>(rows.size()));
  Realize();
}

std::vector<Row> Files(int count) {
  std::vector<Row> rows;
  for (int i = 0; i < count; ++i)
    rows.push_back({"file" + std::to_string(i), 1000 * (i + 1)});
  return rows;
}

ListViewWorld& ListViewContract::Open(std::vector<Row> rows) {
  world_ = GetParam()(std::move(rows));
  return *world_;
}

namespace {

// The control as the sim leaves it: what it holds is what a screen would show.
class SimListViewWorld final : public ListViewWorld {
 public:
  explicit SimListViewWorld(std::vector<Row> rows) : form_(app_, std::move(rows)) {}

  CheckListForm& Form() override { return form_; }
  void ClickCheckBox(int row) override { List().UserClickCheckBox(row); }
  void DoubleClickCheckBox(int row) override {
    List().UserClickCheckBox(row);
    List().UserClickCheckBox(row);
  }
  void ClickRow(int row, KeyModifiers modifiers) override { List().UserClickRow(row, modifiers); }
  void DoubleClickRow(int row) override { List().UserDoubleClickRow(row); }
  void ClickHeader(int column) override { List().UserClickHeader(column); }
  // As the win32 backend routes a key: the form's dialog keys, else the list's own.
  void Press(int key, KeyModifiers modifiers) override {
    if (key == ui::kKeyReturn || key == ui::kKeyEscape) {
      form_.KeyDown(List(), key);
      return;
    }
    int pressed = key;
    List().KeyPressed(pressed);
    if (pressed != 0) List().UserKeyDown(pressed, modifiers);
  }

  int PageRows() override { return List().PageRows(); }
  std::optional<bool> BoxShown(int row) override {
    if (!List().Checkable(row)) return std::nullopt;
    return List().Checked(row);
  }
  bool SelectedShown(int row) override { return List().Selected(row); }
  int FocusShown() override { return List().FocusedRow(); }
  Order ArrowShown(int column) override {
    return List().SortColumn() == column ? List().GetSortOrder() : Order::kNone;
  }
  std::string CellShown(int row, int column) override { return List().Cell(row, column); }

 private:
  platform::sim::SimUi ui_;
  ui::Application app_{ui_};
  CheckListForm form_;
};

// The rows the screen and the model both show selected.
Rows SelectionOf(ListViewWorld& world) {
  Rows shown;
  for (int row = 0; row < world.List().RowCount(); ++row) {
    if (world.SelectedShown(row)) shown.push_back(row);
  }
  EXPECT_EQ(shown, world.List().SelectedRows()) << "the screen and the model disagree";
  EXPECT_EQ(world.FocusShown(), world.List().FocusedRow()) << "the focus differs";
  return shown;
}

std::vector<std::optional<bool>> BoxesOf(ListViewWorld& world) {
  std::vector<std::optional<bool>> boxes;
  for (int row = 0; row < world.List().RowCount(); ++row)
    boxes.push_back(world.BoxShown(row));
  return boxes;
}

TEST_P(ListViewContract, ABoxClickTicksThatRowAloneAndLeavesTheSelection) {
  ListViewWorld& world = Open(Files(5));
  world.ClickRow(1);
  const int changesBefore = Form().selectionChanges;
  world.ClickCheckBox(3);
  EXPECT_EQ(Form().checks, (Checks{{{3}, true}}));
  EXPECT_TRUE(Form().rows[3].checked);
  EXPECT_EQ(world.BoxShown(3), true);
  EXPECT_EQ(SelectionOf(world), Rows{1});
  world.ClickCheckBox(3);
  EXPECT_EQ(world.BoxShown(3), false);
  world.Settle();
  EXPECT_EQ(Form().selectionChanges, changesBefore);
  EXPECT_EQ(BoxesOf(world), (std::vector<std::optional<bool>>{false, false, false, false, false}));
}

TEST_P(ListViewContract, ClicksOnRowsSelectAndNeverTick) {
  std::vector<Row> rows = Files(6);
  rows[2].checked = rows[5].checked = true;
  ListViewWorld& world = Open(rows);
  const auto boxes = BoxesOf(world);
  world.ClickRow(2);
  EXPECT_EQ(SelectionOf(world), Rows{2});
  world.ClickRow(4, kCtrl);
  EXPECT_EQ(SelectionOf(world), (Rows{2, 4}));
  world.ClickRow(0, kShift);  // from the last row clicked
  EXPECT_EQ(SelectionOf(world), (Rows{0, 1, 2, 3, 4}));
  EXPECT_EQ(world.FocusShown(), 0);
  world.ClickRow(2, kCtrl);
  EXPECT_EQ(SelectionOf(world), (Rows{0, 1, 3, 4}));
  world.ClickRow(3);  // one of the selected rows: it alone stays
  EXPECT_EQ(SelectionOf(world), Rows{3});
  world.ClickRow(1, kShift);
  EXPECT_EQ(SelectionOf(world), (Rows{1, 2, 3}));
  world.ClickRow(5);
  EXPECT_EQ(SelectionOf(world), Rows{5});
  world.ClickRow(-1);  // below the rows
  EXPECT_EQ(SelectionOf(world), Rows{});
  EXPECT_TRUE(Form().checks.empty());
  EXPECT_EQ(BoxesOf(world), boxes);
}

TEST_P(ListViewContract, SpaceGivesEverySelectedRowTheFocusedRowsNewState) {
  std::vector<Row> rows = Files(6);
  rows[1].checked = rows[2].checked = true;
  rows[3].kind = Kind::kInfo;
  ListViewWorld& world = Open(rows);
  EXPECT_EQ(world.BoxShown(3), std::nullopt) << "an info row has no box";
  world.ClickRow(1);
  world.ClickRow(4, kShift);
  ASSERT_EQ(SelectionOf(world), (Rows{1, 2, 3, 4}));
  world.Press(ui::kKeySpace);
  // Row 4 (focused) was unticked, though the first selected one was ticked: every selected
  // row with a box is ticked; rows 1 and 2 were already.
  EXPECT_EQ(Form().checks, (Checks{{{4}, true}}));
  world.Press(ui::kKeySpace);
  EXPECT_EQ(Form().checks, (Checks{{{4}, true}, {{1, 2, 4}, false}}));
  EXPECT_EQ(BoxesOf(world),
            (std::vector<std::optional<bool>>{false, false, false, std::nullopt, false, false}));
  EXPECT_EQ(SelectionOf(world), (Rows{1, 2, 3, 4})) << "Space keeps the selection";
  EXPECT_FALSE(Form().rows[3].checked);
}

TEST_P(ListViewContract, SpaceOnAFocusedRowOutsideTheSelectionSelectsAndTicksIt) {
  ListViewWorld& world = Open(Files(4));
  world.ClickRow(0);
  world.Press(ui::kKeyDown, kCtrl);  // the focus moves alone
  EXPECT_EQ(world.FocusShown(), 1);
  EXPECT_EQ(SelectionOf(world), Rows{0});
  world.Press(ui::kKeySpace);
  EXPECT_EQ(SelectionOf(world), Rows{1});
  EXPECT_EQ(Form().checks, (Checks{{{1}, true}}));
  // Ctrl+Space adds the focused row to the selection and ticks nothing.
  world.Press(ui::kKeyDown, kCtrl);
  world.Press(ui::kKeySpace, kCtrl);
  EXPECT_EQ(SelectionOf(world), (Rows{1, 2}));
  EXPECT_EQ(Form().checks.size(), 1u);
}

TEST_P(ListViewContract, CtrlASelectsEveryRowAndSpaceLeavesRowsWithoutABox) {
  std::vector<Row> rows = Files(5);
  rows.insert(rows.begin(), Row{"Downloads", 0, false, Kind::kHeading});
  rows.push_back({"Previous installation", 0, false, Kind::kInfo});
  ListViewWorld& world = Open(rows);
  world.ClickRow(2);
  world.Press(ui::kKeyA, kCtrl);
  EXPECT_EQ(SelectionOf(world), (Rows{0, 1, 2, 3, 4, 5, 6}));
  world.Press(ui::kKeySpace);
  EXPECT_EQ(Form().checks, (Checks{{{1, 2, 3, 4, 5}, true}}));
  EXPECT_EQ(world.BoxShown(0), std::nullopt);
  EXPECT_EQ(world.BoxShown(6), std::nullopt);
  EXPECT_FALSE(Form().rows[0].checked);
  EXPECT_FALSE(Form().rows[6].checked);
  EXPECT_EQ(world.CellShown(0, 0), "Downloads");
}

TEST_P(ListViewContract, ARowWithoutABoxTakesAClickWhereTheBoxWouldBeAsARowClick) {
  std::vector<Row> rows = Files(3);
  rows[1].kind = Kind::kInfo;
  ListViewWorld& world = Open(rows);
  world.ClickCheckBox(1);
  EXPECT_TRUE(Form().checks.empty());
  EXPECT_EQ(SelectionOf(world), Rows{1});
  world.Press(ui::kKeySpace);
  EXPECT_TRUE(Form().checks.empty()) << "Space on an info row alone ticks nothing";
}

TEST_P(ListViewContract, ArrowsHomeEndAndPagesMoveTheFocusAndTheSelection) {
  ListViewWorld& world = Open(Files(60));
  const int page = world.PageRows();
  ASSERT_GT(page, 2);
  world.ClickRow(0);
  world.Press(ui::kKeyDown);
  EXPECT_EQ(SelectionOf(world), Rows{1});
  world.Press(ui::kKeyDown, kShift);
  world.Press(ui::kKeyDown, kShift);
  EXPECT_EQ(SelectionOf(world), (Rows{1, 2, 3}));
  world.Press(ui::kKeyUp);
  EXPECT_EQ(SelectionOf(world), Rows{2});
  world.Press(ui::kKeyEnd);
  EXPECT_EQ(SelectionOf(world), Rows{59});
  world.Press(ui::kKeyHome);
  EXPECT_EQ(SelectionOf(world), Rows{0});
  world.Press(ui::kKeyUp);
  EXPECT_EQ(SelectionOf(world), Rows{0}) << "nothing above the first row";
  world.Press(ui::kKeyPageDown);
  EXPECT_EQ(SelectionOf(world), Rows{page - 1}) << "the last row of the page";
  world.Press(ui::kKeyPageDown);
  EXPECT_EQ(SelectionOf(world), Rows{2 * page - 2}) << "a page further";
  world.Press(ui::kKeyPageUp);
  EXPECT_EQ(SelectionOf(world), Rows{page - 1}) << "the top row of the page";
  EXPECT_TRUE(Form().checks.empty());
}

TEST_P(ListViewContract, HeaderClicksShowTheArrowAndTheFormSorts) {
  std::vector<Row> rows = {{"b", 300}, {"c", 100}, {"a", 200}};
  ListViewWorld& world = Open(rows);
  world.ClickHeader(1);
  EXPECT_EQ(Form().sorts, (std::vector<std::pair<int, Order>>{{1, Order::kAscending}}));
  EXPECT_EQ(world.ArrowShown(1), Order::kAscending);
  EXPECT_EQ(world.ArrowShown(0), Order::kNone);
  EXPECT_EQ(world.CellShown(0, 1), "100");
  world.ClickHeader(1);
  EXPECT_EQ(world.ArrowShown(1), Order::kDescending);
  EXPECT_EQ(world.CellShown(0, 1), "300");
  EXPECT_EQ(world.CellShown(0, 0), "b");
  world.ClickHeader(0);
  EXPECT_EQ(world.ArrowShown(0), Order::kAscending);
  EXPECT_EQ(world.ArrowShown(1), Order::kNone);
  EXPECT_EQ(world.CellShown(0, 0), "a");
  EXPECT_EQ(world.CellShown(2, 0), "c");
  // A program's arrow, as a form restores the order it was left in.
  Form().list.SetSortArrow(1, Order::kDescending);
  EXPECT_EQ(world.ArrowShown(1), Order::kDescending);
  EXPECT_EQ(world.ArrowShown(0), Order::kNone);
}

TEST_P(ListViewContract, DoubleClickAndEnterActivateARowNotABox) {
  ListViewWorld& world = Open(Files(4));
  world.DoubleClickRow(2);
  EXPECT_EQ(Form().activations, Rows{2});
  EXPECT_EQ(SelectionOf(world), Rows{2});
  world.Press(ui::kKeyReturn);
  EXPECT_EQ(Form().activations, (Rows{2, 2}));
  EXPECT_EQ(Form().okClicks, 0) << "Enter on a selected row is the row's";
  // A fast second click on a box ticks again, as on a check box, and opens nothing.
  world.DoubleClickCheckBox(1);
  EXPECT_EQ(Form().checks, (Checks{{{1}, true}, {{1}, false}}));
  EXPECT_EQ(Form().activations.size(), 2u);
  world.ClickRow(-1);
  world.Press(ui::kKeyReturn);
  EXPECT_EQ(Form().okClicks, 1) << "with no row selected Enter presses the default button";
  EXPECT_EQ(Form().activations.size(), 2u);
}

TEST_P(ListViewContract, TheSelectionEventComesOncePerUserChangeAndNeverForTheProgram) {
  ListViewWorld& world = Open(Files(5));
  const auto changesAfter = [&](auto action) {
    const int before = Form().selectionChanges;
    action();
    world.Settle();
    return Form().selectionChanges - before;
  };
  EXPECT_EQ(changesAfter([&] { world.ClickRow(1); }), 1);
  EXPECT_EQ(changesAfter([&] { world.ClickRow(1); }), 0) << "nothing changed";
  EXPECT_EQ(changesAfter([&] { world.ClickRow(3, kShift); }), 1);
  EXPECT_EQ(changesAfter([&] { world.Press(ui::kKeyA, kCtrl); }), 1);
  EXPECT_EQ(changesAfter([&] { world.ClickCheckBox(0); }), 0);
  EXPECT_EQ(changesAfter([&] {
              List().SelectAll(false);
              List().SetSelected(4, true);
              List().SetFocusedRow(4);
            }),
            0);
  EXPECT_EQ(SelectionOf(world), Rows{4});
  EXPECT_EQ(world.FocusShown(), 4);
}

TEST_P(ListViewContract, TheProgramsChangesToRowsShow) {
  ListViewWorld& world = Open(Files(5));
  world.ClickRow(3);
  Form().rows[1].checked = true;
  Form().rows[1].name = "renamed";
  List().RefreshRows(1, 1);
  EXPECT_EQ(world.BoxShown(1), true);
  EXPECT_EQ(world.CellShown(1, 0), "renamed");
  EXPECT_EQ(world.CellShown(1, 2), "") << "a bar column has no text";
  EXPECT_EQ(SelectionOf(world), Rows{3}) << "the same count keeps the selection";
  // Fewer rows: the selection and the focus went with the old rows.
  Form().rows.resize(2);
  List().SetRowCount(2);
  EXPECT_EQ(SelectionOf(world), Rows{});
  EXPECT_EQ(world.FocusShown(), -1);
  world.Press(ui::kKeyA, kCtrl);
  EXPECT_EQ(SelectionOf(world), (Rows{0, 1}));
  // Without boxes Space ticks nothing; rows show none.
  List().SetCheckBoxes(false);
  world.Press(ui::kKeySpace);
  EXPECT_TRUE(Form().checks.empty());
  EXPECT_EQ(world.BoxShown(0), std::nullopt);
}

TEST_P(ListViewContract, HundredThousandRowsAreSelectedAndTickedAtOnce) {
  ListViewWorld& world = Open(Files(100000));
  world.ClickRow(0);
  world.Press(ui::kKeyA, kCtrl);
  EXPECT_EQ(List().SelectedCount(), 100000);
  EXPECT_EQ(List().Selection().Ranges().size(), 1u) << "one range, not a flag per row";
  world.Press(ui::kKeySpace);
  ASSERT_EQ(Form().checks.size(), 1u);
  EXPECT_EQ(Form().checks[0].first.size(), 100000u);
  EXPECT_EQ(world.BoxShown(99999), true);
  world.Press(ui::kKeyEnd);
  EXPECT_EQ(List().SelectedRows(), Rows{99999});
  EXPECT_TRUE(world.SelectedShown(99999));
  EXPECT_FALSE(world.SelectedShown(0));
  EXPECT_EQ(world.CellShown(99999, 0), "file99999");
}

}  // namespace

std::unique_ptr<ListViewWorld> MakeSimListViewWorld(std::vector<Row> rows) {
  return std::make_unique<SimListViewWorld>(std::move(rows));
}

INSTANTIATE_TEST_SUITE_P(Sim, ListViewContract,
                         ::testing::Values(ListViewWorldFactory(&MakeSimListViewWorld)));

}  // namespace testing_list_view
