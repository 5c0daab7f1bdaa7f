// The files of one category of the review, one by one: each with a box, its name, folder and
// size, sortable by any column. Unticking one keeps it out of the clean-up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clean/removal_plan.h"
#include "lang/language_texts.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_view.h"

namespace clean {

class TFrmviewfiles : public ui::Form {
 public:
  TFrmviewfiles(ui::Application& app, const lang::LanguageTexts& texts);

  ui::Label Lblviewfiles;
  ui::ListView LVviewfiles;
  ui::Button Btnclose;

  // Shows the items of the plan's category `category`, as the plan ticks them; ticks and unticks
  // go straight into the plan.
  void ShowFiles(RemovalPlan& plan, std::uint32_t category);
  void ApplyTexts(const std::string& category);

  void FormCanResize(int& width, int& height, bool& allow);

 private:
  PlannedItem& Item(int row) const { return plan_->Items()[rows_[static_cast<size_t>(row)]]; }
  std::string Cell(const PlannedItem& item, int column) const;
  void Sort(int column, ui::ListView::SortOrder order);

  const lang::LanguageTexts& texts_;
  RemovalPlan* plan_ = nullptr;
  std::vector<std::size_t> rows_;  // the category's items, in the order shown
};

}  // namespace clean
