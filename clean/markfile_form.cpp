#include "clean/markfile_form.h"

#include <algorithm>
#include <cstdio>

#include "lang/quantities.h"
#include "platform/ui/application.h"

namespace clean {

TFrmmarkfile* Frmmarkfile = nullptr;

namespace {
// Below the list: the total with the button that shows a row's files, then the other buttons.
constexpr int kTotalBelowList = 6;
constexpr int kButtonsBelowList = 36;
}  // namespace

TFrmmarkfile::TFrmmarkfile(ui::Application& app, bool& reviewConfirmed,
                           const lang::LanguageTexts& texts)
    : ui::Form(app),
      Lblmarkfile(this, {7, 8, 569, 13}),
      LVmarkfile(this, {7, 26, 569, 224}),
      Lbltotal(this, {7, 256, 441, 13}),
      Btnviewfiles(this, {456, 252, 120, 25}, "Dateien anzeigen"),
      Lbltime(this, {7, 292, 150, 13}),
      Btnallmark(this, {160, 286, 96, 25}, "Alle Markieren"),
      Btnnomark(this, {264, 286, 116, 25}, "Keine Markieren"),
      Btnnext(this, {388, 286, 90, 25}, "Bereinigen"),
      Btncancel(this, {486, 286, 90, 25}, "Abbrechen", ui::Button::ButtonKind::kCancel),
      Frmviewfiles(app, texts),
      reviewConfirmed_(reviewConfirmed),
      texts_(texts) {
  SetName("TFrmmarkfile");
  SetCaption("Gefundene Dateien");
  SetBorder(Border::kSizeable);
  SetOuterSize({600, 360});
  // Smaller, the buttons would cover each other and the list.
  SetMinimumOuterSize({600, 360});
  SetPosition(Position::kMainFormCenter);
  LVmarkfile.SetColumns({{"", 286},
                         {"", 84, ui::ListView::Align::kRight},
                         {"", 84, ui::ListView::Align::kRight},
                         {"", 90, ui::ListView::Align::kLeft, true}});
  LVmarkfile.CellText = [this](int row, int column) -> std::string {
    const PlanCategory& category = Row(row);
    switch (column) {
      case 0:
        if (category.information)
          return lang::Filled(texts_[lang::Text::kPreviousWindowsRow], {category.name});
        return category.deletesForGood
                   ? lang::Filled(texts_[lang::Text::kDeletesForGood], {category.name})
                   : category.name;
      case 1:
        return lang::FormatCount(category.items, texts_);
      case 2:
        return lang::FormatSize(category.bytes, texts_);
      default:
        return {};
    }
  };
  LVmarkfile.RowChecked = [this](int row) { return Row(row).ticked; };
  LVmarkfile.BarFraction = [this](int row, int) {
    return static_cast<double>(Row(row).bytes) / static_cast<double>(largest_);
  };
  LVmarkfile.OnCheck = [this](const std::vector<int>& changed, bool checked) {
    // A row only told of stays unticked.
    for (int row : changed)
      Row(row).ticked = checked && !Row(row).information;
    LVmarkfile.Refresh();
    ShowTotal();
  };
  LVmarkfile.OnActivate = [this](int) { BtnviewfilesClick(); };
  Btnviewfiles.OnClick = [this] { BtnviewfilesClick(); };
  Btncancel.SetCancel(true);
  Btnnext.SetDefault(true);
  Btnallmark.OnClick = [this] { BtnallmarkClick(); };
  Btnnomark.OnClick = [this] { BtnnomarkClick(); };
  Btnnext.OnClick = [this] { BtnnextClick(); };
  OnActivate = [this] { FormActivate(); };
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  OnCanResize = [this](int& width, int& height, bool& allow) {
    FormCanResize(width, height, allow);
  };
  Realize();
}

bool TFrmmarkfile::Review(RemovalPlan& plan, bool stopped) {
  plan_ = &plan;
  rows_ = plan.Shown();
  largest_ = 1;
  for (const std::uint32_t index : rows_)
    largest_ = std::max(largest_, plan.Categories()[index].bytes);
  LVmarkfile.SetRowCount(static_cast<int>(rows_.size()));
  ApplyTexts(stopped);
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f", static_cast<double>(plan.milliseconds) / 1000.0);
  std::string shown = seconds;
  // The decimal mark as the language writes it in sizes.
  if (lang::FormatSize(1536, texts_).find(',') != std::string::npos) {
    std::replace(shown.begin(), shown.end(), '.', ',');
  }
  Lbltime.SetCaption(lang::Filled(texts_[lang::Text::kAnalysisTook], {shown}));
  ShowTotal();
  ShowModal();
  const bool confirmed = reviewConfirmed_;
  rows_.clear();
  LVmarkfile.SetRowCount(0);
  plan_ = nullptr;
  return confirmed;
}

void TFrmmarkfile::ApplyTexts(bool stopped) {
  using lang::Text;
  Lblmarkfile.SetCaption(texts_[stopped ? Text::kAnalysisStoppedHeadline : Text::kReviewPlanLabel]);
  SetCaption(texts_[Text::kReviewPlanTitle]);
  LVmarkfile.SetColumnCaption(0, texts_[Text::kReviewColumnCategory]);
  LVmarkfile.SetColumnCaption(1, texts_[Text::kReviewColumnItems]);
  LVmarkfile.SetColumnCaption(2, texts_[Text::kReviewColumnSize]);
  LVmarkfile.SetColumnCaption(3, texts_[Text::kReviewColumnShare]);
  Btnviewfiles.SetCaption(texts_[Text::kViewFiles]);
  Btnallmark.SetCaption(texts_[Text::kMarkAll]);
  Btnnomark.SetCaption(texts_[Text::kUnmarkAll]);
  Btnnext.SetCaption(texts_[Text::kCleanUp]);
  Btncancel.SetCaption(lang::WithoutAccessKey(texts_[Text::kCancel]));
}

void TFrmmarkfile::ShowTotal() {
  if (!plan_) return;
  const auto [items, bytes] = plan_->TickedTotal();
  Lbltotal.SetCaption(
      lang::Filled(texts_[lang::Text::kReviewTotal], {lang::FilesAndSize(items, bytes, texts_)}));
}

void TFrmmarkfile::TickAll(bool ticked) {
  if (!plan_) return;
  for (const std::uint32_t index : rows_)
    plan_->Categories()[index].ticked = ticked && !plan_->Categories()[index].information;
  LVmarkfile.Refresh();
  ShowTotal();
}

void TFrmmarkfile::BtnviewfilesClick() {
  if (!plan_ || rows_.empty()) return;
  const int row = LVmarkfile.FocusedRow() >= 0 ? LVmarkfile.FocusedRow() : 0;
  Frmviewfiles.ShowFiles(*plan_, rows_[static_cast<size_t>(row)]);
  ShowTotal();
}

void TFrmmarkfile::BtnallmarkClick() {
  TickAll(true);
}

void TFrmmarkfile::BtnnomarkClick() {
  TickAll(false);
}

void TFrmmarkfile::BtnnextClick() {
  reviewConfirmed_ = true;
  SetModalResult(ui::ModalResult::kOk);
  App().ProcessMessages();
}

void TFrmmarkfile::FormActivate() {
  reviewConfirmed_ = false;
}

void TFrmmarkfile::FormClose(ui::CloseAction&) {}

void TFrmmarkfile::FormCanResize(int& width, int& height, bool& allow) {
  const int right = width - 24;
  LVmarkfile.SetWidth(right - LVmarkfile.Bounds().left);
  LVmarkfile.SetHeight(height - LVmarkfile.Bounds().top - 110);
  const int listBottom = LVmarkfile.Bounds().top + LVmarkfile.Bounds().height;
  Lblmarkfile.SetWidth(right - Lblmarkfile.Bounds().left);
  Btnviewfiles.SetLeft(right - Btnviewfiles.Bounds().width);
  Btnviewfiles.SetTop(listBottom + kTotalBelowList - 4);
  Lbltotal.SetWidth(Btnviewfiles.Bounds().left - 8 - Lbltotal.Bounds().left);
  Lbltotal.SetTop(listBottom + kTotalBelowList);
  Lbltime.SetTop(listBottom + kButtonsBelowList + 6);
  int left = right;
  for (ui::Button* button : {&Btncancel, &Btnnext, &Btnnomark, &Btnallmark}) {
    left -= button->Bounds().width;
    button->SetLeft(left);
    button->SetTop(listBottom + kButtonsBelowList);
    left -= 8;
  }
  allow = true;
}

}  // namespace clean
