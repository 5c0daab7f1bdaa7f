// The review dialog: every category an analysis found, of which the user ticks those to remove.
#pragma once

#include <cstdint>
#include <vector>

#include "clean/removal_plan.h"
#include "clean/view_files_form.h"
#include "lang/language_texts.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_view.h"

namespace clean {

class TFrmmarkfile : public ui::Form {
 public:
  // `reviewConfirmed` belongs to the main window, `texts` is its table, read at the moment of
  // use.
  TFrmmarkfile(ui::Application& app, bool& reviewConfirmed, const lang::LanguageTexts& texts);

  ui::Label Lblmarkfile;
  ui::ListView LVmarkfile;
  ui::Label Lbltotal;
  ui::Button Btnviewfiles;
  ui::Label Lbltime;
  ui::Button Btnallmark;
  ui::Button Btnnomark;
  ui::Button Btnnext;
  ui::Button Btncancel;
  // The files of the focused row, one by one.
  TFrmviewfiles Frmviewfiles;

  // Shows the plan's categories, all ticked; true once the user chose "Bereinigen", with the
  // plan ticked as they left it, false when the dialog was left by any other way.
  bool Review(RemovalPlan& plan, bool stopped);
  // The captions; after a stop the label says that the list is what was found until then.
  void ApplyTexts(bool stopped);

  void BtnviewfilesClick();
  void BtnallmarkClick();
  void BtnnomarkClick();
  void BtnnextClick();
  void FormActivate();
  void FormClose(ui::CloseAction& action);
  void FormCanResize(int& width, int& height, bool& allow);

 private:
  PlanCategory& Row(int row) const { return plan_->Categories()[rows_[static_cast<size_t>(row)]]; }
  void TickAll(bool ticked);
  void ShowTotal();

  bool& reviewConfirmed_;
  const lang::LanguageTexts& texts_;
  RemovalPlan* plan_ = nullptr;
  std::vector<std::uint32_t> rows_;  // the plan's categories that hold something
  std::uint64_t largest_ = 1;
};

extern TFrmmarkfile* Frmmarkfile;

}  // namespace clean
