#include "settings/inputbox_form.h"

#include <algorithm>
#include <string_view>

namespace settings {

TFrmInputBox* FrmInputBox = nullptr;

namespace {
// The layout for a prompt of one line; each further line moves the rest down.
constexpr int kLineHeight = 13;
constexpr int kPromptWidth = 257;
constexpr int kEditTop = 28;
constexpr int kButtonsTop = 62;
constexpr ui::Size kClientSize{274, 96};

// Lines a text takes when broken at spaces so that no line is wider than `room`; a word wider
// than that has a line of its own.
int LinesWithin(ui::Control& label, std::string_view text, int room) {
  int lines = 1;
  std::string line;
  for (size_t start = 0; start <= text.size();) {
    const size_t end = std::min(text.find(' ', start), text.size());
    const std::string_view word = text.substr(start, end - start);
    std::string longer = line.empty() ? std::string(word) : line + " " + std::string(word);
    if (!line.empty() && label.TextWidth(longer) > room) {
      ++lines;
      longer = word;
    }
    line = std::move(longer);
    start = end + 1;
  }
  return lines;
}
}  // namespace

TFrmInputBox::TFrmInputBox(ui::Application& app)
    : ui::Form(app),
      LbMessage(this, {8, 8, kPromptWidth, kLineHeight}, "LbMessage"),
      Edinput(this, {8, kEditTop, 257, 21}),
      BtnOK(this, {56, kButtonsTop, 75, 25}, "BtnOK"),
      BtnCancel(this, {143, kButtonsTop, 75, 25}, "BtnCancel") {
  SetName("TFrmInputBox");
  SetCaption("FrmInputBox");
  SetClientSize(kClientSize);
  SetBorder(Border::kDialog);
  SetPosition(Position::kMainFormCenter);
  LbMessage.SetWordWrap(true);
  BtnOK.SetDefault(true);
  BtnOK.OnClick = [this] { BtnOKClick(); };
  BtnCancel.OnClick = [this] { BtnCancelClick(); };
  OnActivate = [this] { FormActivate(); };
  for (ui::Control* control :
       {static_cast<ui::Control*>(&Edinput), static_cast<ui::Control*>(&BtnOK),
        static_cast<ui::Control*>(&BtnCancel)}) {
    control->OnKeyDown = [this](int& key) { EdinputKeyDown(key); };
  }
  Realize();
}

void TFrmInputBox::FitPrompt() {
  // Lines are counted within nine tenths of the label's width, so that a slightly wider font
  // than the one measured still fits them. A prompt that needs more than one line breaks within
  // those nine tenths, so that it fills the lines the dialog grows by.
  const std::string& prompt = LbMessage.Caption();
  int width = kPromptWidth;
  int lines = LinesWithin(LbMessage, prompt, width * 9 / 10);
  if (lines > 1) {
    width = width * 9 / 10;
    lines = LinesWithin(LbMessage, prompt, width * 9 / 10);
  }
  const int below = (lines - 1) * kLineHeight;
  LbMessage.SetWidth(width);
  LbMessage.SetHeight(lines * kLineHeight);
  Edinput.SetTop(kEditTop + below);
  BtnOK.SetTop(kButtonsTop + below);
  BtnCancel.SetTop(kButtonsTop + below);
  SetClientSize({kClientSize.width, kClientSize.height + below});
}

void TFrmInputBox::BtnOKClick() {
  SetModalResult(ui::ModalResult::kOk);
}

void TFrmInputBox::BtnCancelClick() {
  Edinput.SetText({});
  Close();
}

void TFrmInputBox::FormActivate() {
  Edinput.SetFocus();
}

void TFrmInputBox::EdinputKeyDown(int& key) {
  if (key != ui::kKeyEscape) return;
  key = 0;  // handled here: the dialog keys do not press anything else
  BtnCancel.Click();
}

std::string ShowInputBox(TFrmInputBox& box, const std::string& caption, const std::string& prompt,
                         const std::string& okCaption, const std::string& cancelCaption) {
  box.Edinput.SetText({});
  box.SetCaption(caption);
  box.LbMessage.SetCaption(prompt);
  box.FitPrompt();
  box.BtnOK.SetCaption(okCaption);
  box.BtnCancel.SetCaption(cancelCaption);
  box.ShowModal();
  return box.Edinput.Text();
}

}  // namespace settings
