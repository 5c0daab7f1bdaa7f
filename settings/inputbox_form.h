// A small modal dialog that asks for one line of text.
#pragma once

#include <string>

#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"

namespace settings {

class TFrmInputBox : public ui::Form {
 public:
  explicit TFrmInputBox(ui::Application& app);

  ui::Label LbMessage;
  ui::Edit Edinput;
  ui::Button BtnOK;
  ui::Button BtnCancel;

  void BtnOKClick();
  void BtnCancelClick();
  void FormActivate();
  void EdinputKeyDown(int& key);

  // Gives the prompt as many lines as it takes and moves the rest of the dialog below them.
  void FitPrompt();
};

// Asks the question and returns the answer; an empty text means no answer.
std::string ShowInputBox(TFrmInputBox& box, const std::string& caption, const std::string& prompt,
                         const std::string& okCaption, const std::string& cancelCaption);

extern TFrmInputBox* FrmInputBox;

}  // namespace settings
