#include "platform/ui/application.h"

#include "platform/ui/form.h"

namespace ui {

void Application::Run(Form& mainForm) {
  mainForm_ = &mainForm;
  backend_.RunMainLoop(mainForm);
}

bool Application::FilterMessage(const Message& message) {
  bool handled = false;
  if (OnMessage) OnMessage(message, handled);
  return handled;
}

void Application::HintFrom(const Control* underMouse) {
  std::string hint;
  for (const Control* control = underMouse; control; control = control->Parent()) {
    if (!control->Hint().empty()) {
      hint = LongHint(control->Hint());
      break;
    }
  }
  if (hint == hint_) return;
  hint_ = std::move(hint);
  if (OnHint) OnHint();
}

std::string LongHint(const std::string& hint) {
  const size_t bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

}  // namespace ui
