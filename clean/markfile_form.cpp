#include "clean/markfile_form.h"

#include "platform/ui/application.h"

namespace clean {

TFrmmarkfile* Frmmarkfile = nullptr;

TFrmmarkfile::TFrmmarkfile(ui::Application& app, bool& reviewConfirmed,
                           const lang::LanguageTexts& texts)
    : ui::Form(app),
      Lblmarkfile(this, {7, 8, 498, 13}, "Markierte Dateien werden gel\xC3\xB6scht"),
      LBmarkfile(this, {7, 24, 498, 121}),
      Btnallmark(this, {199, 160, 96, 25}, "Alle Markieren"),
      Btnnomark(this, {303, 160, 116, 25}, "Keine Markieren"),
      Btnnext(this, {427, 160, 75, 25}, "Weiter"),
      reviewConfirmed_(reviewConfirmed),
      texts_(texts) {
  SetName("TFrmmarkfile");
  SetCaption("Gefundene Dateien");
  SetBorder(Border::kSizeable);
  SetOuterSize({520, 220});
  // Smaller, the buttons would cover each other and the list.
  SetMinimumOuterSize({520, 220});
  SetPosition(Position::kMainFormCenter);
  LBmarkfile.SetMultiSelect(true);
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

std::optional<std::vector<std::string>> TFrmmarkfile::Review(std::vector<std::string> found,
                                                             bool stopped) {
  for (std::string& path : found)
    ui::AddFitted(LBmarkfile, std::move(path));
  LBmarkfile.SelectAll(false);
  ApplyTexts(stopped);
  ShowModal();
  std::optional<std::vector<std::string>> marked;
  if (reviewConfirmed_) {
    marked.emplace();
    for (int i = 0; i < LBmarkfile.Count(); ++i) {
      if (LBmarkfile.Selected(i)) marked->push_back(LBmarkfile.Item(i));
    }
  }
  LBmarkfile.Clear();
  return marked;
}

void TFrmmarkfile::ApplyTexts(bool stopped) {
  using lang::Text;
  Lblmarkfile.SetCaption(texts_[Text::kReviewLabel]);
  SetCaption(texts_[stopped ? Text::kReviewTitleStopped : Text::kReviewTitle]);
  Btnallmark.SetCaption(texts_[Text::kMarkAll]);
  Btnnomark.SetCaption(texts_[Text::kUnmarkAll]);
  Btnnext.SetCaption(texts_[Text::kContinue]);
}

void TFrmmarkfile::BtnallmarkClick() {
  LBmarkfile.SelectAll(true);
}

void TFrmmarkfile::BtnnomarkClick() {
  for (int i = 0; i < LBmarkfile.Count(); ++i) {
    if (LBmarkfile.Selected(i)) LBmarkfile.SetSelected(i, false);
  }
}

void TFrmmarkfile::BtnnextClick() {
  reviewConfirmed_ = true;
  SetModalResult(ui::ModalResult::kOk);
  App().ProcessMessages();
}

void TFrmmarkfile::FormActivate() {
  reviewConfirmed_ = false;
}

void TFrmmarkfile::FormClose(ui::CloseAction&) {
  LBmarkfile.SetHorizontalExtent(0);
}

void TFrmmarkfile::FormCanResize(int& width, int& height, bool& allow) {
  LBmarkfile.SetWidth(width - LBmarkfile.Bounds().left - 15);
  LBmarkfile.SetHeight(height - 99);
  Btnallmark.SetLeft(width - 321);
  Btnnomark.SetLeft(width - 217);
  Btnnext.SetLeft(width - 93);
  const int buttonsTop = LBmarkfile.Bounds().top + LBmarkfile.Bounds().height + 15;
  for (ui::Button* button : {&Btnallmark, &Btnnomark, &Btnnext})
    button->SetTop(buttonsTop);
  allow = true;
}

}  // namespace clean
