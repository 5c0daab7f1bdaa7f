// The headless ui backend: controls only hold their state. A test drives the forms as a user
// would (clicks, selections, typing) and queues a script for every modal display and for the
// main loop; ProcessMessages delivers posted messages and calls the test's hook.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/peer.h"

namespace platform::sim {

class SimUi final : public ui::Backend {
 public:
  using FormScript = std::function<void(ui::Form& form)>;

  // Width of every character in the sim's fixed text metric, in pixels.
  static constexpr int kCharWidth = 6;

  // --- Scripts
  // Runs for the next modal display; `formName` (if given) must name the form shown.
  void QueueModal(FormScript script, std::string formName = {});
  void SetMainLoop(FormScript script) { mainLoop_ = std::move(script); }
  // Called at every ProcessMessages, after posted messages were delivered.
  std::function<void()> onProcessMessages;
  // Called when a form is shown modally without a script, or with another name than queued;
  // the default aborts the test program with a message.
  std::function<void(ui::Form& form, const std::string& problem)> onScriptProblem;
  size_t PendingScripts() const { return modalScripts_.size(); }

  // --- Messages, as another process would post them
  void PostMessage(ui::Message message) { posted_.push_back(message); }

  // --- What the program did
  struct MessageBoxCall {
    std::string text;
    std::string caption;
    unsigned style = 0;
    unsigned short languageId = 0;
    std::string ownerName;
  };
  const std::vector<MessageBoxCall>& MessageBoxes() const { return messageBoxes_; }
  // The button the user presses in a message box; by default its first one (OK, Yes ...).
  std::function<int(const MessageBoxCall& box)> answerMessageBox;
  int Restores() const { return restores_; }
  const std::vector<std::string>& BroughtToFront() const { return broughtToFront_; }
  // Forms in the order they were shown modally.
  const std::vector<std::string>& ModalHistory() const { return modalHistory_; }

  // --- ui::Backend
  void Attach(ui::Application& app) override { app_ = &app; }
  std::unique_ptr<ui::Peer> CreatePeer(ui::Control& control) override;
  void RunMainLoop(ui::Form& mainForm) override;
  ui::ModalResult RunModal(ui::Form& form) override;
  void ProcessMessages() override;
  void Restore() override { ++restores_; }
  void BringToFront(ui::Form& form) override { broughtToFront_.push_back(form.Name()); }
  int TextWidth(const ui::Font& font, std::string_view text) override;
  int MessageBox(ui::Form* owner, std::string_view text, std::string_view caption, unsigned style,
                 unsigned short languageId) override;

 private:
  void Problem(ui::Form& form, const std::string& problem);

  ui::Application* app_ = nullptr;
  struct Queued {
    FormScript script;
    std::string formName;
  };
  std::deque<Queued> modalScripts_;
  FormScript mainLoop_;
  std::deque<ui::Message> posted_;
  std::vector<MessageBoxCall> messageBoxes_;
  int restores_ = 0;
  std::vector<std::string> broughtToFront_;
  std::vector<std::string> modalHistory_;
};

}  // namespace platform::sim
