// The Win32 backend of the ui toolkit: a native window for every form and control, the main and
// modal message loops, the application's message filter, dpi scaling and the system UI font.
// The backend must outlive the forms realized on it: they share its fonts.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/peer.h"
#include "platform/win32/ui/font_cache.h"
#include "platform/win32/ui/native.h"
#include "platform/win32/ui/text_meter.h"
#include "platform/win32/ui/ui_handles.h"

namespace platform::win32 {

class Win32Ui final : public ui::Backend {
 public:
  Win32Ui();
  ~Win32Ui() override;
  Win32Ui(const Win32Ui&) = delete;
  Win32Ui& operator=(const Win32Ui&) = delete;

  // Receives what a handler threw; the window procedures and loops swallow it and go on. The
  // default writes it to the debugger output and to standard error.
  std::function<void(const std::string& what)> onHandlerError;

  // --- ui::Backend
  void Attach(ui::Application& app) override { app_ = &app; }
  std::unique_ptr<ui::Peer> CreatePeer(ui::Control& control) override;
  void RunMainLoop(ui::Form& mainForm) override;
  ui::ModalResult RunModal(ui::Form& form) override;
  void ProcessMessages() override;
  void Restore() override;
  void BringToFront(ui::Form& form) override;
  int TextWidth(const ui::Font& font, std::string_view text) override;
  int MessageBox(ui::Form* owner, std::string_view text, std::string_view caption, unsigned style,
                 unsigned short languageId) override;

  // --- For the peers
  // Runs model code for a window procedure or a loop: nothing it throws gets past.
  template <typename Action>
  void Guard(Action&& action) noexcept {
    try {
      action();
    } catch (const std::exception& error) {
      ReportHandlerError(error.what());
    } catch (...) {
      ReportHandlerError("unknown exception");
    }
  }
  FontCache& Fonts() { return fonts_; }
  // The dpi that DUSTORIX_UI_SCALE forced when the backend was made, or 0.
  int ForcedDpi() const { return forcedDpi_; }
  // A form's window became active. True when that is news to the program: a form shown or
  // returned to, not the user switching back from another program to the same form.
  bool FormActivated(HWND form);
  void FormHidden(HWND form);

 private:
  // The one path of every message taken from the queue: filter, dialog keys, dispatch.
  void Dispatch(MSG& message);
  // The application's filter; true when it handled the message.
  bool Filter(const MSG& message);
  // The loops the system runs itself (message boxes, menus, scroll bars) pass their messages
  // through this hook, so that the filter sees them too.
  static LRESULT CALLBACK FilterSystemLoop(int code, WPARAM wParam, LPARAM lParam);
  void ReportHandlerError(const char* what) noexcept;

  ui::Application* app_ = nullptr;
  int forcedDpi_;
  HWND activeForm_ = nullptr;
  // The message our loop hands to IsDialogMessage, which passes it to the hook once more.
  const MSG* inDialogMessage_ = nullptr;
  FontCache fonts_;
  TextMeter meter_;
  // The last queue check found nothing, at this tick count.
  bool quiet_ = false;
  ULONGLONG quietTick_ = 0;
};

// The native window of a realized form or control; null when it has none.
HWND WindowOf(const ui::Control& control);

}  // namespace platform::win32
