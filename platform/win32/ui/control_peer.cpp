#include "platform/win32/ui/control_peer.h"

#include <uxtheme.h>

#include "platform/win32/ui/text.h"
#include "platform/win32/ui/win32_ui.h"

namespace platform::win32 {

ControlPeer::ControlPeer(FormPeer& form, ui::Control& control) : form_(form), control_(control) {}

ControlPeer::~ControlPeer() {
  form_.Disown(*this);
  if (window_ && original_) {
    ::SetWindowLongPtrW(Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    ::SetWindowLongPtrW(Window(), GWLP_USERDATA, 0);
  }
}

void ControlPeer::Create(const wchar_t* className, DWORD style, DWORD exStyle) {
  const RECT bounds = PixelBounds();
  const DWORD group = form_.GroupStyle(control_);
  const int id = form_.Adopt(*this);
  window_.Reset(::CreateWindowExW(
      exStyle, className, L"", WS_CHILD | group | style, bounds.left, bounds.top,
      bounds.right - bounds.left, bounds.bottom - bounds.top, form_.Window(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr));
  if (!window_) return;
  // Subclassed the classic way: SetWindowSubclass keeps its data in window properties, which
  // Wine fetches from its server on every message (100 us a message to a list box).
  ::SetWindowLongPtrW(Window(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(Window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  ApplyFont();
  ApplyVisibleAndEnabled();
}

void ControlPeer::Changed(ui::Prop prop, int index) {
  switch (prop) {
    case ui::Prop::kBounds:
      Layout();
      break;
    case ui::Prop::kVisible:
    case ui::Prop::kEnabled:
      ApplyVisibleAndEnabled();
      break;
    case ui::Prop::kFont:
      ApplyFont();
      Layout();
      break;
    case ui::Prop::kFocus:
      form_.Focus(Window());
      break;
    case ui::Prop::kCursor:  // asked for at every WM_SETCURSOR
      break;
    default:
      Apply(prop, index);
      break;
  }
}

void ControlPeer::Rescale() {
  ApplyFont();
  Layout();
}

RECT ControlPeer::PixelBounds() const {
  return form_.PixelRect(control_.BoundsInForm());
}

void ControlPeer::Layout() {
  const RECT bounds = PixelBounds();
  // Drawn anew where it lands, not copied there: the form (which does not clip its children)
  // paints its background over the place afterwards, and a copy would never be drawn again.
  ::SetWindowPos(Window(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void ControlPeer::ApplyCaption() {
  ::SetWindowTextW(Window(), Wide(control_.Caption()).c_str());
}

void ControlPeer::ApplyFont() {
  // Themed buttons draw their text in the theme's colour whatever WM_CTLCOLORBTN says.
  if (DrawsFontColor() && !control_.TextFont().color.isDefault) {
    ::SetWindowTheme(Window(), L"", L"");
  }
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(NativeFont()), TRUE);
  ::InvalidateRect(Window(), nullptr, TRUE);
}

void ControlPeer::ApplyVisibleAndEnabled() {
  bool visible = true;
  bool enabled = true;
  for (const ui::Control* up = &control_; up->Parent(); up = up->Parent()) {
    visible = visible && up->Visible();
    enabled = enabled && up->Enabled();
  }
  // The focus would stay on a window that cannot be seen or used.
  if ((!visible || !enabled) && ::GetFocus() == Window()) {
    ::SetFocus(::GetNextDlgTabItem(form_.Window(), Window(), FALSE));
  }
  ::EnableWindow(Window(), enabled);
  ::ShowWindow(Window(), visible ? SW_SHOWNA : SW_HIDE);
  for (ui::Control* child : control_.Children()) {
    if (auto* peer = dynamic_cast<ControlPeer*>(child->GetPeer())) peer->ApplyVisibleAndEnabled();
  }
}

LRESULT CALLBACK ControlPeer::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  auto& peer = *reinterpret_cast<ControlPeer*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  bool used = false;
  LRESULT result = 0;
  peer.form_.Backend().Guard([&] { used = peer.Intercept(message, wParam, lParam, result); });
  if (used) return result;
  switch (message) {
    case WM_MOUSEMOVE:
      peer.form_.Backend().Guard([&] { peer.control_.MouseMoved(); });
      break;
    case WM_SETCURSOR:
      if (peer.control_.GetCursor() == ui::Cursor::kHand && LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return ::CallWindowProcW(peer.original_, window, message, wParam, lParam);
}

}  // namespace platform::win32
