#include "lang/lang_form.h"

namespace lang {

namespace {

// The first two characters of a UTF-8 text ("Ελ" for the Greek entry).
std::string FirstTwoCharacters(const std::string& text) {
  size_t end = 0;
  for (int characters = 0; end < text.size() && characters < 2; ++characters) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
      ++end;
  }
  return text.substr(0, end);
}

}  // namespace

TFrmlang::TFrmlang(ui::Application& app, std::string& languageCode)
    : ui::Form(app),
      CbBlang(this, {8, 8, 145, 21}),
      BBtnok(this, {41, 36, 75, 25}, "&OK", ui::Button::ButtonKind::kOk),
      languageCode_(languageCode) {
  SetName("TFrmlang");
  SetCaption("Sprache/Language");
  SetClientSize({169, 65});
  SetBorder(Border::kDialog);
  CbBlang.Add("English");
  CbBlang.Add("Deutsch");
  CbBlang.Add(kGreekName);
  BBtnok.OnClick = [this] { BBtnokClick(); };
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  FormCreate();
  Realize();
}

void TFrmlang::FormCreate() {
  CbBlang.SetItemIndex(0);
}

void TFrmlang::BBtnokClick() {
  languageCode_ = FirstTwoCharacters(CbBlang.Text());
}

void TFrmlang::FormClose(ui::CloseAction&) {
  std::string& code = languageCode_;
  if (code == FirstTwoCharacters(kGreekName)) {
    code = "Gr";
  } else if (code != "De" && code != "En") {
    code = "En";
  }
}

}  // namespace lang
