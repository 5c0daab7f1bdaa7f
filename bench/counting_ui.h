// A ui backend that forwards every call to another and counts the message checks, so that the
// benchmark can report how many a walk makes per entry on any backend.
#pragma once

#include <cstdint>

#include "platform/ui/peer.h"

namespace bench {

class CountingUi final : public ui::Backend {
 public:
  explicit CountingUi(ui::Backend& inner) : inner_(inner) {}

  std::uint64_t MessageChecks() const { return messageChecks_; }
  void ResetCounts() { messageChecks_ = 0; }
  // Handles what is waiting now, uncounted: between two walks.
  void Drain() { inner_.ProcessMessages(); }

  void ProcessMessages() override {
    ++messageChecks_;
    inner_.ProcessMessages();
  }

  void Attach(ui::Application& app) override { inner_.Attach(app); }
  std::unique_ptr<ui::Peer> CreatePeer(ui::Control& control) override {
    return inner_.CreatePeer(control);
  }
  void RunMainLoop(ui::Form& mainForm) override { inner_.RunMainLoop(mainForm); }
  ui::ModalResult RunModal(ui::Form& form) override { return inner_.RunModal(form); }
  void Restore() override { inner_.Restore(); }
  void BringToFront(ui::Form& form) override { inner_.BringToFront(form); }
  int TextWidth(const ui::Font& font, std::string_view text) override {
    return inner_.TextWidth(font, text);
  }
  int MessageBox(ui::Form* owner, std::string_view text, std::string_view caption, unsigned style,
                 unsigned short languageId) override {
    return inner_.MessageBox(owner, text, caption, style, languageId);
  }

 private:
  ui::Backend& inner_;
  std::uint64_t messageChecks_ = 0;
};

}  // namespace bench
