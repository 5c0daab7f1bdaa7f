// The application object: title, message loop, message filter and hint tracking.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/peer.h"
#include "platform/ui/types.h"

namespace ui {

class Control;
class Form;

class Application {
 public:
  explicit Application(Backend& backend) : backend_(backend) { backend_.Attach(*this); }
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  Backend& GetBackend() { return backend_; }
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

  // Shows the main form and runs the message loop until it closes.
  void Run(Form& mainForm);
  Form* MainForm() const { return mainForm_; }
  void ProcessMessages() { backend_.ProcessMessages(); }
  void Restore() { backend_.Restore(); }

  // Called with every message the main thread takes from its queue, in every loop, before it
  // is dispatched; setting `handled` keeps it from being dispatched.
  std::function<void(const Message& message, bool& handled)> OnMessage;
  // Backends call this for each message; true when it was handled.
  bool FilterMessage(const Message& message);

  // The long form of the hint of the control under the mouse, or of its nearest parent with a
  // hint; OnHint fires when it changes.
  const std::string& Hint() const { return hint_; }
  std::function<void()> OnHint;
  void HintFrom(const Control* underMouse);

 private:
  Backend& backend_;
  std::string title_;
  Form* mainForm_ = nullptr;
  std::string hint_;
};

// The part of a hint after "|", or the whole hint when it has none.
std::string LongHint(const std::string& hint);

}  // namespace ui
