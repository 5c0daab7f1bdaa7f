#include "platform/win32/ui/form_peer.h"

#include <algorithm>
#include <string>

#include "platform/ui/application.h"
#include "platform/win32/ui/control_peer.h"
#include "platform/win32/ui/dpi.h"
#include "platform/win32/ui/text.h"
#include "platform/win32/ui/win32_ui.h"

namespace platform::win32 {

namespace {

// Below the menu ids (from 1000) and clear of IDOK/IDCANCEL, which the dialog manager knows.
constexpr int kFirstControlId = 100;

DWORD FrameStyle(const ui::Form& form) {
  // No WS_CLIPCHILDREN: a group box does not paint its inside, the form does.
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  if (form.GetBorder() == ui::Form::Border::kSizeable) style |= WS_THICKFRAME;
  if (form.MinimizeBox() && form.GetBorder() != ui::Form::Border::kDialog) style |= WS_MINIMIZEBOX;
  return style;
}

DWORD FrameExStyle(const ui::Form& form) {
  return WS_EX_CONTROLPARENT |
         (form.GetBorder() == ui::Form::Border::kDialog ? WS_EX_DLGMODALFRAME : 0);
}

// One window class per form name, so that other programs can find a form by its class.
std::wstring RegisterFormClass(const std::string& formName, WNDPROC procedure) {
  std::wstring name = formName.empty() ? L"DustorixForm" : Wide(formName);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  // The program's icon (resource 1) in the title bar and the task bar; none in a test program.
  windowClass.hIcon = ::LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name.c_str();
  // Fails harmlessly when an earlier form of the same name registered it.
  ::RegisterClassExW(&windowClass);
  return name;
}

bool CanTakeFocus(HWND window) {
  return window && ::IsWindowVisible(window) && ::IsWindowEnabled(window);
}

}  // namespace

FormPeer::FormPeer(Win32Ui& backend, ui::Form& form)
    : backend_(backend),
      form_(form),
      dpi_(backend.ForcedDpi() ? backend.ForcedDpi() : SystemDpi()) {
  const std::wstring className = RegisterFormClass(form.Name(), &WndProc);
  applyingSize_ = true;
  // WM_NCCREATE hands the window to window_.
  ::CreateWindowExW(FrameExStyle(form), className.c_str(), Wide(form.Caption()).c_str(),
                    FrameStyle(form), 0, 0, 0, 0, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                    this);
  applyingSize_ = false;
  if (!window_) return;
  if (!backend.ForcedDpi()) dpi_ = WindowDpi(Window());
  ApplyClientSize();
}

FormPeer::~FormPeer() {
  if (!window_) return;
  backend_.FormHidden(Window());
  // The model is half destroyed by now: the window goes without calling it.
  ::SetWindowLongPtrW(Window(), GWLP_USERDATA, 0);
  // The menu bar is destroyed by its owner, not with the window.
  ::SetMenu(Window(), nullptr);
}

FormPeer* FormPeer::FromWindow(HWND window) {
  if (!window ||
      ::GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&WndProc)) {
    return nullptr;
  }
  return reinterpret_cast<FormPeer*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

int FormPeer::Scale(int designPixels) const {
  return ScaleToDpi(designPixels, dpi_);
}

RECT FormPeer::PixelRect(const ui::Rect& design) const {
  // Edges rather than sizes, so that controls that meet at design meet at every scale.
  return {Scale(design.left), Scale(design.top), Scale(design.left + design.width),
          Scale(design.top + design.height)};
}

HFONT FormPeer::Font(const ui::Font& font) const {
  return backend_.Fonts().Get(font, dpi_);
}

int FormPeer::Adopt(ControlPeer& peer) {
  controls_.push_back(&peer);
  return kFirstControlId + static_cast<int>(controls_.size()) - 1;
}

void FormPeer::Disown(ControlPeer& peer) {
  std::erase(controls_, &peer);
  if (savedFocus_ == peer.Window()) savedFocus_ = nullptr;
}

DWORD FormPeer::GroupStyle(const ui::Control& control) const {
  if (control.GetKind() == ui::Control::Kind::kRadioButton && !controls_.empty()) {
    const ui::Control& previous = controls_.back()->Model();
    if (previous.GetKind() == ui::Control::Kind::kRadioButton &&
        previous.Parent() == control.Parent()) {
      return 0;
    }
  }
  return WS_GROUP;
}

void FormPeer::Focus(HWND control) {
  if (::IsWindowVisible(Window()))
    ::SetFocus(control);
  else
    savedFocus_ = control;
}

void FormPeer::SetOwner(HWND owner) {
  ::SetWindowLongPtrW(Window(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

ControlPeer* FormPeer::PeerOf(HWND window) const {
  const auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [window](ControlPeer* peer) { return peer->Window() == window; });
  return found == controls_.end() ? nullptr : *found;
}

ui::Control& FormPeer::ControlFor(HWND window) const {
  for (HWND up = window; up && up != Window(); up = ::GetParent(up)) {
    if (ControlPeer* peer = PeerOf(up)) return peer->Model();
  }
  return form_;
}

ui::Control& FormPeer::ControlAt(POINT point) const {
  // Group boxes let the mouse through to the form, and disabled controls get no mouse
  // messages: the model says what lies under the point.
  ui::Control* found = &form_;
  for (bool deeper = true; deeper;) {
    deeper = false;
    for (ui::Control* child : found->Children()) {
      const RECT bounds = PixelRect(child->BoundsInForm());
      if (child->Visible() && ::PtInRect(&bounds, point)) {
        found = child;
        deeper = true;
        break;
      }
    }
  }
  return *found;
}

bool FormPeer::KeyDown(const MSG& message) {
  const int key = static_cast<int>(message.wParam);
  ui::Control& target = ControlFor(message.hwnd);
  if (key == ui::kKeyReturn || key == ui::kKeyEscape) {
    // An open drop-down list takes Enter and Escape itself.
    if (target.GetKind() == ui::Control::Kind::kComboBox &&
        ::SendMessageW(WindowOf(target), CB_GETDROPPEDSTATE, 0, 0)) {
      return false;
    }
    backend_.Guard([&] { form_.KeyDown(target, key); });
    return true;
  }
  int pressed = key;
  backend_.Guard([&] { target.KeyPressed(pressed); });
  return pressed == 0;
}

void FormPeer::Changed(ui::Prop prop, int) {
  switch (prop) {
    case ui::Prop::kCaption:
      ::SetWindowTextW(Window(), Wide(form_.Caption()).c_str());
      break;
    case ui::Prop::kBounds:
      if (!applyingSize_) ApplyClientSize();
      break;
    case ui::Prop::kVisible:
      ApplyVisible();
      break;
    case ui::Prop::kEnabled:
      ::EnableWindow(Window(), form_.Enabled());
      break;
    case ui::Prop::kFocus:
      ::SetActiveWindow(Window());
      break;
    case ui::Prop::kMenu:
      BuildMenu();
      break;
    default:  // a form shows no font, text or items of its own
      break;
  }
}

void FormPeer::MenuItemChanged(ui::MenuItem& item) {
  if (!menuBar_) return;
  menuBar_->Update(item);
  ::DrawMenuBar(Window());
}

void FormPeer::BuildMenu() {
  if (!form_.Menu()) return;
  auto bar = std::make_unique<MenuBar>(*form_.Menu());
  ::SetMenu(Window(), bar->Handle());
  menuBar_ = std::move(bar);
  // The bar takes its room from the client area.
  ApplyClientSize();
}

void FormPeer::ApplyClientSize() {
  if (!window_ || ::IsIconic(Window())) return;
  const ui::Size client = form_.ClientSize();
  const SIZE wanted{Scale(client.width), Scale(client.height)};
  const SIZE outer = OuterSizeFor(wanted, static_cast<DWORD>(::GetWindowLongW(Window(), GWL_STYLE)),
                                  static_cast<DWORD>(::GetWindowLongW(Window(), GWL_EXSTYLE)),
                                  ::GetMenu(Window()) != nullptr, dpi_);
  applyingSize_ = true;
  constexpr UINT kResize = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  ::SetWindowPos(Window(), nullptr, 0, 0, outer.cx, outer.cy, kResize);
  // A menu bar that wraps, or a frame drawn otherwise than computed, is corrected once.
  RECT got{};
  ::GetClientRect(Window(), &got);
  if (got.right != wanted.cx || got.bottom != wanted.cy) {
    ::SetWindowPos(Window(), nullptr, 0, 0, outer.cx + wanted.cx - got.right,
                   outer.cy + wanted.cy - got.bottom, kResize);
  }
  applyingSize_ = false;
}

void FormPeer::ApplyVisible() {
  if (!form_.Visible()) {
    backend_.FormHidden(Window());
    ::ShowWindow(Window(), SW_HIDE);
    return;
  }
  if (::IsWindowVisible(Window())) return;
  for (ControlPeer* peer : controls_)
    peer->FormShowing();
  CenterOnScreenOrMainForm();
  ::ShowWindow(Window(), SW_SHOW);
}

void FormPeer::CenterOnScreenOrMainForm() {
  const ui::Form* mainForm = form_.App().MainForm();
  HWND mainWindow = mainForm && mainForm != &form_ ? WindowOf(*mainForm) : nullptr;
  RECT area{};
  if (form_.GetPosition() == ui::Form::Position::kMainFormCenter && mainWindow &&
      ::IsWindowVisible(mainWindow) && !::IsIconic(mainWindow)) {
    ::GetWindowRect(mainWindow, &area);
  } else {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(Window(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    area = monitor.rcWork;
  }
  RECT own{};
  ::GetWindowRect(Window(), &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  int left = area.left + (area.right - area.left - width) / 2;
  int top = area.top + (area.bottom - area.top - height) / 2;
  // Never with the caption off the screen.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  left = std::max<int>(work.left, std::min<int>(left, work.right - width));
  top = std::max<int>(work.top, std::min<int>(top, work.bottom - height));
  ::SetWindowPos(Window(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormPeer::Activated(bool active) {
  if (!active) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(Window(), focus)) savedFocus_ = focus;
    return;
  }
  HWND target = savedFocus_ && ::IsChild(Window(), savedFocus_) && CanTakeFocus(savedFocus_)
                    ? savedFocus_
                    : nullptr;
  // The first tab stop that is not a radio button: focus would check an unchecked one.
  for (auto peer = controls_.begin(); !target && peer != controls_.end(); ++peer) {
    HWND window = (*peer)->Window();
    if (CanTakeFocus(window) && (::GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP) &&
        (*peer)->Model().GetKind() != ui::Control::Kind::kRadioButton) {
      target = window;
    }
  }
  ::SetFocus(target ? target : Window());
  if (backend_.FormActivated(Window())) form_.Activated();
}

void FormPeer::UserResized(int width, int height) {
  if (applyingSize_ || form_.GetBorder() != ui::Form::Border::kSizeable ||
      !::IsWindowVisible(Window())) {
    return;
  }
  const ui::Size client{ScaleFromDpi(width, dpi_), ScaleFromDpi(height, dpi_)};
  const ui::Size outer = form_.OuterSize();
  const ui::Size frame{outer.width - form_.ClientSize().width,
                       outer.height - form_.ClientSize().height};
  // The window has the size already; the model's new bounds are not sent back to it.
  applyingSize_ = true;
  backend_.Guard([&] {
    form_.Resized({client.width + frame.width, client.height + frame.height});
  });
  applyingSize_ = false;
  // The resize handler refused or changed the size.
  if (form_.ClientSize() != client) ApplyClientSize();
}

void FormPeer::LimitTracking(MINMAXINFO& limits) const {
  const ui::Size minimum = form_.MinimumOuterSize();
  if (minimum.width <= 0 && minimum.height <= 0) return;
  const ui::Size outer = form_.OuterSize();
  const ui::Size client = form_.ClientSize();
  const SIZE wanted{Scale(std::max(minimum.width - (outer.width - client.width), 0)),
                    Scale(std::max(minimum.height - (outer.height - client.height), 0))};
  const SIZE pixels =
      OuterSizeFor(wanted, static_cast<DWORD>(::GetWindowLongW(Window(), GWL_STYLE)),
                   static_cast<DWORD>(::GetWindowLongW(Window(), GWL_EXSTYLE)),
                   ::GetMenu(Window()) != nullptr, dpi_);
  limits.ptMinTrackSize = {pixels.cx, pixels.cy};
}

void FormPeer::DpiChanged(int dpi, const RECT& suggested) {
  if (backend_.ForcedDpi()) return;
  dpi_ = dpi;
  applyingSize_ = true;
  ::SetWindowPos(Window(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  applyingSize_ = false;
  ApplyClientSize();
  for (ControlPeer* peer : controls_)
    peer->Rescale();
}

LRESULT FormPeer::ControlColor(UINT message, HDC dc, HWND control) {
  ControlPeer* peer = PeerOf(control);
  if (!peer || !peer->DrawsFontColor() || peer->Model().TextFont().color.isDefault) {
    return ::DefWindowProcW(Window(), message, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(control));
  }
  const ui::Color& color = peer->Model().TextFont().color;
  ::SetTextColor(dc, RGB(color.r, color.g, color.b));
  ::SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CALLBACK FormPeer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created =
        static_cast<FormPeer*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    created->window_.Reset(window);
  }
  auto* peer = reinterpret_cast<FormPeer*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!peer) return ::DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Destroyed from outside: nothing is left to destroy later.
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    peer->window_.Release();
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  peer->backend_.Guard([&] { result = peer->Handle(message, wParam, lParam); });
  return result;
}

LRESULT FormPeer::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam != 0) {
        if (ControlPeer* peer = PeerOf(reinterpret_cast<HWND>(lParam))) {
          peer->Notified(HIWORD(wParam));
        }
        return 0;
      }
      if (HIWORD(wParam) == 0 && form_.Menu()) {
        if (ui::MenuItem* item = form_.Menu()->FindById(LOWORD(wParam))) item->Click();
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lParam);
      if (ControlPeer* peer = PeerOf(header.hwndFrom)) return peer->NotifyReceived(header);
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ControlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
      form_.Close();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE)
        Activated(false);
      else if (!HIWORD(wParam))  // not while minimised
        Activated(true);
      return 0;
    case WM_MOUSEMOVE:
      ControlAt({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))})
          .MouseMoved();
      break;
    case WM_SIZE:
      for (ControlPeer* peer : controls_)
        peer->FormResized();
      if (wParam != SIZE_MINIMIZED) UserResized(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_NEXTDLGCTL:
      // IsDialogMessage moves through radio groups with this, as a dialog window would.
      ::SetFocus(LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                : ::GetNextDlgTabItem(Window(), ::GetFocus(), wParam != 0));
      return 0;
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_GETMINMAXINFO:
      LimitTracking(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(Window(), message, wParam, lParam);
}

}  // namespace platform::win32
