#include "settings/inputbox_form.h"

namespace settings {

TFrmInputBox* FrmInputBox = nullptr;

TFrmInputBox::TFrmInputBox(ui::Application& app)
    : ui::Form(app),
      LbMessage(this, {8, 8, 257, 13}, "LbMessage"),
      Edinput(this, {8, 28, 257, 21}),
      BtnOK(this, {56, 62, 75, 25}, "BtnOK"),
      BtnCancel(this, {143, 62, 75, 25}, "BtnCancel") {
  SetName("TFrmInputBox");
  SetCaption("FrmInputBox");
  SetClientSize({274, 96});
  SetBorder(Border::kDialog);
  SetPosition(Position::kMainFormCenter);
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
  box.BtnOK.SetCaption(okCaption);
  box.BtnCancel.SetCaption(cancelCaption);
  box.ShowModal();
  return box.Edinput.Text();
}

}  // namespace settings
