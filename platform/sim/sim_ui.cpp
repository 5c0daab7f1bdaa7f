#include "platform/sim/sim_ui.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace platform::sim {

void SimUi::QueueModal(FormScript script, std::string formName) {
  modalScripts_.push_back({std::move(script), std::move(formName)});
}

void SimUi::Problem(ui::Form& form, const std::string& problem) {
  if (onScriptProblem) {
    onScriptProblem(form, problem);
    return;
  }
  std::fprintf(stderr, "sim ui: %s (form %s)\n", problem.c_str(), form.Name().c_str());
  std::abort();
}

std::unique_ptr<ui::Peer> SimUi::CreatePeer(ui::Control&) {
  return nullptr;
}

void SimUi::RunMainLoop(ui::Form& mainForm) {
  mainForm.Show();
  mainForm.Activated();
  if (!mainLoop_) {
    Problem(mainForm, "the main loop ran without a script");
    return;
  }
  FormScript script = std::move(mainLoop_);
  mainLoop_ = nullptr;
  script(mainForm);
}

ui::ModalResult SimUi::RunModal(ui::Form& form) {
  modalHistory_.push_back(form.Name());
  form.SetModal(true);
  form.SetShowing(true);
  form.SetVisible(true);
  form.Activated();
  if (modalScripts_.empty()) {
    Problem(form, "shown modally without a queued script");
  } else {
    Queued next = std::move(modalScripts_.front());
    modalScripts_.pop_front();
    if (!next.formName.empty() && next.formName != form.Name()) {
      Problem(form, "the queued script was for " + next.formName);
    }
    next.script(form);
  }
  // A script that leaves the form open stands for a user who closes it with the close box.
  if (form.GetModalResult() == ui::ModalResult::kNone) form.Close();
  form.SetModal(false);
  form.RunCloseHandler();
  form.SetShowing(false);
  form.SetVisible(false);
  return form.GetModalResult();
}

void SimUi::ProcessMessages() {
  while (!posted_.empty()) {
    const ui::Message message = posted_.front();
    posted_.pop_front();
    if (app_) app_->FilterMessage(message);
  }
  if (onProcessMessages) onProcessMessages();
}

int SimUi::TextWidth(const ui::Font&, std::string_view text) {
  int characters = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  return characters * kCharWidth;
}

int SimUi::MessageBox(ui::Form* owner, std::string_view text, std::string_view caption,
                      unsigned style, unsigned short languageId) {
  messageBoxes_.push_back({std::string(text), std::string(caption), style, languageId,
                           owner ? owner->Name() : std::string()});
  if (answerMessageBox) return answerMessageBox(messageBoxes_.back());
  // The first button of each set of MB_OK ... MB_RETRYCANCEL: IDOK, IDOK, IDABORT, IDYES, IDYES,
  // IDRETRY.
  constexpr int kFirstButton[] = {1, 1, 3, 6, 6, 4};
  const unsigned buttons = style & 0xF;
  return buttons < std::size(kFirstButton) ? kFirstButton[buttons] : 1;
}

}  // namespace platform::sim
