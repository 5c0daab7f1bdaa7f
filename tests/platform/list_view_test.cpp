// The list view's own rules that need no screen: the row ranges of its selection, typing to find
// a row, the answers it falls back on, and user actions on a list that cannot take them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>

#include "platform/sim/sim_ui.h"
#include "platform/ui/application.h"
#include "tests/platform/list_view_contract.h"

namespace ui {
namespace {

using Ranges = std::vector<RowSet::Range>;

TEST(RowSet, MergesTouchingRangesAndSplitsOnRemoval) {
  RowSet rows;
  rows.Add(5, 7);
  rows.Add(10, 12);
  EXPECT_EQ(rows.Ranges(), (Ranges{{5, 7}, {10, 12}}));
  rows.Add(8, 9);  // touches both
  EXPECT_EQ(rows.Ranges(), (Ranges{{5, 12}}));
  rows.Add(0, 0);
  rows.Add(2, 3);
  rows.Add(1, 1);
  EXPECT_EQ(rows.Ranges(), (Ranges{{0, 3}, {5, 12}}));
  rows.Remove(2, 6);
  EXPECT_EQ(rows.Ranges(), (Ranges{{0, 1}, {7, 12}}));
  rows.Remove(9, 9);
  EXPECT_EQ(rows.Ranges(), (Ranges{{0, 1}, {7, 8}, {10, 12}}));
  EXPECT_EQ(rows.Count(), 7);
  EXPECT_EQ(rows.Rows(), (std::vector<int>{0, 1, 7, 8, 10, 11, 12}));
  rows.Add(4, 3);  // reversed: nothing
  rows.Remove(3, 2);
  EXPECT_EQ(rows.Count(), 7);
  EXPECT_EQ(rows.First(), 0);
  rows.Clear();
  EXPECT_EQ(rows.First(), -1);
}

TEST(RowSet, EdgesOfTheIntegerRangeDoNotWrap) {
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  RowSet rows;
  rows.Add(kMax - 1, kMax);
  rows.Add(kMin, kMin + 1);
  rows.Add(0, 0);
  EXPECT_EQ(rows.Ranges(), (Ranges{{kMin, kMin + 1}, {0, 0}, {kMax - 1, kMax}}));
  EXPECT_TRUE(rows.Contains(kMax));
  EXPECT_FALSE(rows.Contains(kMax - 2));
  rows.Remove(kMin, kMax);
  EXPECT_TRUE(rows.Ranges().empty());
}

// Any mix of additions and removals leaves exactly the rows a plain set would hold.
TEST(RowSet, AgreesWithAPlainSetOfRows) {
  std::mt19937 random(20240607);
  std::uniform_int_distribution<int> row(0, 63);
  std::uniform_int_distribution<int> length(0, 9);
  RowSet ranges;
  std::set<int> plain;
  for (int step = 0; step < 5000; ++step) {
    const int first = row(random);
    const int last = first + length(random);
    const bool add = random() % 2 == 0;
    for (int each = first; each <= last; ++each) {
      if (add)
        plain.insert(each);
      else
        plain.erase(each);
    }
    if (add)
      ranges.Add(first, last);
    else
      ranges.Remove(first, last);
    ASSERT_EQ(ranges.Rows(), std::vector<int>(plain.begin(), plain.end())) << "step " << step;
    for (size_t i = 1; i < ranges.Ranges().size(); ++i) {
      ASSERT_GT(ranges.Ranges()[i].first, ranges.Ranges()[i - 1].last + 1) << "not merged";
    }
    ASSERT_EQ(ranges.Contains(first), plain.contains(first));
  }
}

class ListViewModel : public ::testing::Test {
 protected:
  platform::sim::SimUi sim;
  Application app{sim};
};

TEST_F(ListViewModel, TypingFindsTheNextRowThatStartsWithIt) {
  std::vector<testing_list_view::Row> rows = {{"Zeta"},
                                              {"\xC3\xA4pfel"},
                                              {"apple"},
                                              {"\xCE\xB1\xCF\x81\xCF\x87\xCE\xB5\xCE\xAF\xCE\xB1"},
                                              {"Apricot"}};
  testing_list_view::CheckListForm form(app, rows);
  ListView& list = form.list;
  EXPECT_EQ(list.FindRow("AP", 0), 2);
  EXPECT_EQ(list.FindRow("ap", 3), 4);
  EXPECT_EQ(list.FindRow("ap", 99), 2) << "from past the end it starts at the top";
  EXPECT_EQ(list.FindRow("ze", 1), 0) << "it wraps round";
  EXPECT_EQ(list.FindRow("\xC3\x84P", 0), 1) << "an umlaut in either case";
  EXPECT_EQ(list.FindRow("\xCE\x91\xCE\xA1", 0), 3) << "Greek capitals find small letters";
  EXPECT_EQ(list.FindRow("x", 0), -1);
  EXPECT_EQ(list.FindRow("", 0), -1);
  // Only the first column with text is searched: a bar column has none.
  list.SetColumns({{"Share", 50, ListView::Align::kLeft, true}, {"Size", 100}});
  EXPECT_EQ(list.FindRow("0", 2), 2) << "column 1 holds the sizes, all 0";
  EXPECT_EQ(list.FindRow("a", 0), -1) << "the names are not searched";
  list.SetColumns({{"Share", 50, ListView::Align::kLeft, true}});
  EXPECT_EQ(list.FindRow("a", 0), -1);
}

TEST_F(ListViewModel, MissingOrOddAnswersOfTheFormFallBackSafely) {
  Form form(app);
  ListView list(&form, {0, 0, 200, 100},
                {{"Name", 100}, {"Bar", 50, ListView::Align::kLeft, true}});
  list.SetRowCount(3);
  EXPECT_EQ(list.Cell(1, 0), "");
  EXPECT_FALSE(list.Checked(1));
  EXPECT_EQ(list.KindAt(1), ListView::RowKind::kNormal);
  EXPECT_EQ(list.Fraction(1, 1), 0.0);
  list.UserClickCheckBox(1);  // no OnCheck: nothing happens, nothing breaks
  list.UserKeyDown(kKeySpace);
  EXPECT_EQ(list.SelectedCount(), 0) << "no row has the focus: Space does nothing";

  double answer = std::nan("");
  list.BarFraction = [&](int, int) { return answer; };
  EXPECT_EQ(list.Fraction(0, 1), 0.0);
  answer = 3.5;
  EXPECT_EQ(list.Fraction(0, 1), 1.0);
  answer = -1;
  EXPECT_EQ(list.Fraction(0, 1), 0.0);
  list.CellText = [](int row, int) { return "row " + std::to_string(row); };
  EXPECT_EQ(list.Cell(3, 0), "") << "no row 3: the form is not asked";
  EXPECT_EQ(list.Cell(2, 5), "") << "no column 5";
  EXPECT_EQ(list.Cell(2, 0), "row 2");
}

TEST_F(ListViewModel, ADisabledOrHiddenListTakesNoUserAction) {
  testing_list_view::CheckListForm form(app, testing_list_view::Files(3));
  ListView& list = form.list;
  list.SetEnabled(false);
  list.UserClickCheckBox(0);
  list.UserClickRow(1);
  list.UserKeyDown(kKeyA, {true, false});
  list.UserClickHeader(0);
  EXPECT_TRUE(form.checks.empty());
  EXPECT_EQ(list.SelectedCount(), 0);
  EXPECT_EQ(list.SortColumn(), -1);
  list.SetEnabled(true);
  list.SetVisible(false);
  list.UserClickCheckBox(0);
  EXPECT_TRUE(form.checks.empty());
  list.SetVisible(true);
  list.UserClickCheckBox(0);
  EXPECT_EQ(form.checks.size(), 1u);
}

TEST_F(ListViewModel, AKeyHandlerThatTakesEnterKeepsItFromTheRow) {
  testing_list_view::CheckListForm form(app, testing_list_view::Files(3));
  form.list.UserClickRow(1);
  form.list.OnKeyDown = [](int& key) {
    if (key == kKeyReturn) key = 0;
  };
  form.KeyDown(form.list, kKeyReturn);
  EXPECT_TRUE(form.activations.empty());
  EXPECT_EQ(form.okClicks, 0);
}

}  // namespace
}  // namespace ui
