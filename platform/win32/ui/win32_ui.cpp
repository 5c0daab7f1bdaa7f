#include "platform/win32/ui/win32_ui.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "platform/win32/ui/dpi.h"
#include "platform/win32/ui/form_peer.h"
#include "platform/win32/ui/peers.h"
#include "platform/win32/ui/text.h"

namespace platform::win32 {

namespace {

// What a modal form does to the other windows of the thread: disabled while it shows.
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND modal) : modal_(modal) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
    for (HWND window : windows_)
      ::EnableWindow(window, FALSE);
  }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;
  ~OtherWindowsDisabled() { EnableAgain(); }

  void EnableAgain() {
    for (HWND window : windows_) {
      if (::IsWindow(window)) ::EnableWindow(window, TRUE);
    }
    windows_.clear();
  }

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self) {
    auto& disabled = *reinterpret_cast<OtherWindowsDisabled*>(self);
    if (window != disabled.modal_ && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
      disabled.windows_.push_back(window);
    }
    return TRUE;
  }

  HWND modal_;
  std::vector<HWND> windows_;
};

// One message-filter hook per thread, for the backend made last.
struct FilterHook {
  std::vector<Win32Ui*> backends;
  UniqueHook hook;
};
thread_local FilterHook filterHook;

// The window a modal form stays above: the one that opened it, else the main form.
HWND ModalOwner(HWND modal, const ui::Form* mainForm) {
  HWND active = ::GetActiveWindow();
  if (active && active != modal && ::IsWindowVisible(active)) return active;
  HWND main = mainForm ? WindowOf(*mainForm) : nullptr;
  return main && main != modal && ::IsWindowVisible(main) ? main : nullptr;
}

}  // namespace

Win32Ui::Win32Ui() : forcedDpi_(platform::win32::ForcedDpi()) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC =
      ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS;
  ::InitCommonControlsEx(&controls);
  if (filterHook.backends.empty()) {
    filterHook.hook.Reset(
        ::SetWindowsHookExW(WH_MSGFILTER, &FilterSystemLoop, nullptr, ::GetCurrentThreadId()));
  }
  filterHook.backends.push_back(this);
}

Win32Ui::~Win32Ui() {
  std::erase(filterHook.backends, this);
  if (filterHook.backends.empty()) filterHook.hook.Reset();
}

LRESULT CALLBACK Win32Ui::FilterSystemLoop(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && !filterHook.backends.empty()) {
    Win32Ui& backend = *filterHook.backends.back();
    const MSG& message = *reinterpret_cast<const MSG*>(lParam);
    const MSG* filtered = backend.inDialogMessage_;
    const bool seen = filtered && filtered->hwnd == message.hwnd &&
                      filtered->message == message.message && filtered->wParam == message.wParam &&
                      filtered->lParam == message.lParam && filtered->time == message.time;
    if (!seen && backend.Filter(message)) return TRUE;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::unique_ptr<ui::Peer> Win32Ui::CreatePeer(ui::Control& control) {
  using Kind = ui::Control::Kind;
  if (control.GetKind() == Kind::kForm) {
    return std::make_unique<FormPeer>(*this, static_cast<ui::Form&>(control));
  }
  auto* form = dynamic_cast<FormPeer*>(control.OwnerForm().GetPeer());
  if (!form) return nullptr;
  switch (control.GetKind()) {
    case Kind::kButton:
      return MakeButtonPeer(*form, static_cast<ui::Button&>(control));
    case Kind::kCheckBox:
      return MakeCheckBoxPeer(*form, static_cast<ui::CheckBox&>(control));
    case Kind::kRadioButton:
      return MakeRadioButtonPeer(*form, static_cast<ui::RadioButton&>(control));
    case Kind::kLabel:
      return MakeLabelPeer(*form, static_cast<ui::Label&>(control));
    case Kind::kGroupBox:
      return MakeGroupBoxPeer(*form, static_cast<ui::GroupBox&>(control));
    case Kind::kEdit:
      return MakeEditPeer(*form, static_cast<ui::Edit&>(control));
    case Kind::kListBox:
      return MakeListBoxPeer(*form, static_cast<ui::ListBox&>(control));
    case Kind::kComboBox:
      return MakeComboBoxPeer(*form, static_cast<ui::ComboBox&>(control));
    case Kind::kStatusBar:
      return MakeStatusBarPeer(*form, static_cast<ui::StatusBar&>(control));
    case Kind::kListView:
      return MakeListViewPeer(*form, static_cast<ui::ListView&>(control));
    case Kind::kForm:
      break;
  }
  return nullptr;
}

bool Win32Ui::Filter(const MSG& message) {
  bool handled = false;
  if (app_) {
    Guard([&] {
      handled = app_->FilterMessage({message.message, message.wParam, message.lParam});
    });
  }
  return handled;
}

void Win32Ui::Dispatch(MSG& message) {
  if (Filter(message)) return;
  if (FormPeer* form = FormPeer::FromWindow(::GetAncestor(message.hwnd, GA_ROOT))) {
    if (message.message == WM_KEYDOWN && form->KeyDown(message)) return;
    // Tab, Shift+Tab, the arrow keys in radio groups and the controls' mnemonics.
    const MSG* outer = std::exchange(inDialogMessage_, &message);
    const bool used = ::IsDialogMessageW(form->Window(), &message);
    inDialogMessage_ = outer;
    if (used) return;
  }
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

void Win32Ui::RunMainLoop(ui::Form& mainForm) {
  mainForm.Show();
  MSG message;
  while (mainForm.Showing() && ::GetMessageW(&message, nullptr, 0, 0) > 0)
    Dispatch(message);
}

ui::ModalResult Win32Ui::RunModal(ui::Form& form) {
  auto* peer = dynamic_cast<FormPeer*>(form.GetPeer());
  HWND window = peer ? peer->Window() : nullptr;
  form.SetModal(true);
  form.SetShowing(true);
  if (window) peer->SetOwner(ModalOwner(window, app_ ? app_->MainForm() : nullptr));
  // Shown first, so that the owner keeps its focused control for when it is active again.
  form.SetVisible(true);
  OtherWindowsDisabled disabled(window);

  bool quit = false;
  WPARAM quitCode = 0;
  for (;;) {
    MSG message;
    while (window && !quit && form.GetModalResult() == ui::ModalResult::kNone) {
      if (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        Dispatch(message);
      } else {
        quit = true;
        quitCode = message.wParam;
      }
    }
    // Without a window nothing could ever end the display.
    if (quit || !window) form.SetModalResult(ui::ModalResult::kCancel);
    form.SetModal(false);
    bool closes = true;
    Guard([&] { closes = form.RunCloseHandler(); });
    if (closes || quit || !window) break;
    form.SetModalResult(ui::ModalResult::kNone);
    form.SetModal(true);
  }
  // Enabled before the form hides, so that the owner is the window activated next.
  disabled.EnableAgain();
  form.SetVisible(false);
  form.SetShowing(false);
  // The loop outside ends too.
  if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
  return form.GetModalResult();
}

void Win32Ui::ProcessMessages() {
  // Called after every entry of a scan, so it must be nearly free while nothing is waiting.
  // Asking the queue is not (under Wine it is a server round trip): after an answer of nothing,
  // it is asked again only once the tick count has moved, which bounds the delay by one tick.
  const ULONGLONG tick = ::GetTickCount64();
  if (quiet_ && tick == quietTick_) return;
  quiet_ = HIWORD(::GetQueueStatus(QS_ALLINPUT)) == 0;
  quietTick_ = tick;
  if (quiet_) return;
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the loop that runs this one.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

void Win32Ui::Restore() {
  const ui::Form* mainForm = app_ ? app_->MainForm() : nullptr;
  HWND window = mainForm ? WindowOf(*mainForm) : nullptr;
  if (window && ::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
}

void Win32Ui::BringToFront(ui::Form& form) {
  HWND window = WindowOf(form);
  if (!window) return;
  ::SetForegroundWindow(window);
  ::SetActiveWindow(window);
}

int Win32Ui::TextWidth(const ui::Font& font, std::string_view text) {
  return meter_.Width(fonts_.Get(font, kDesignDpi), text);
}

int Win32Ui::MessageBox(ui::Form* owner, std::string_view text, std::string_view caption,
                        unsigned style, unsigned short languageId) {
  const WORD language = languageId ? MAKELANGID(languageId, SUBLANG_DEFAULT) : 0;
  return ::MessageBoxExW(owner ? WindowOf(*owner) : nullptr, Wide(text).c_str(),
                         Wide(caption).c_str(), style, language);
}

bool Win32Ui::FormActivated(HWND form) {
  if (form == activeForm_) return false;
  activeForm_ = form;
  return true;
}

void Win32Ui::FormHidden(HWND form) {
  if (form == activeForm_) activeForm_ = nullptr;
}

void Win32Ui::ReportHandlerError(const char* what) noexcept {
  try {
    if (onHandlerError) {
      onHandlerError(what);
      return;
    }
  } catch (...) {
    // A failing report hook must not end the program either; the default report follows.
  }
  const std::wstring text = L"Dustorix: a handler failed: " + Wide(what) + L"\n";
  ::OutputDebugStringW(text.c_str());
  std::fprintf(stderr, "Dustorix: a handler failed: %s\n", what);
}

HWND WindowOf(const ui::Control& control) {
  const auto* peer = dynamic_cast<const WindowPeer*>(control.GetPeer());
  return peer ? peer->Window() : nullptr;
}

}  // namespace platform::win32
