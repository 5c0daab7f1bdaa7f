// The native top-level window of a form: frame, caption, size at the monitor's dpi, menu bar,
// and the window procedure that turns the messages of the form and its controls into model calls.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/form.h"
#include "platform/win32/ui/menu_bar.h"
#include "platform/win32/ui/window_peer.h"

namespace platform::win32 {

class ControlPeer;
class Win32Ui;

class FormPeer final : public WindowPeer {
 public:
  FormPeer(Win32Ui& backend, ui::Form& form);
  ~FormPeer() override;

  // The peer of one of the backend's form windows; null for any other window.
  static FormPeer* FromWindow(HWND window);

  HWND Window() const override { return window_.Get(); }
  ui::Form& Model() const { return form_; }
  Win32Ui& Backend() const { return backend_; }

  int Dpi() const { return dpi_; }
  int Scale(int designPixels) const;
  // Bounds relative to the form's client area in the form's pixels.
  RECT PixelRect(const ui::Rect& design) const;
  HFONT Font(const ui::Font& font) const;

  // --- The form's controls
  // Registers a control's peer as it is created; returns its control id.
  int Adopt(ControlPeer& peer);
  void Disown(ControlPeer& peer);
  // WS_GROUP for every control but a radio button that follows one of the same parent: the
  // arrow keys move within such a run.
  DWORD GroupStyle(const ui::Control& control) const;
  // Focuses the control now, or when the form is next activated while it is hidden.
  void Focus(HWND control);

  // A WM_KEYDOWN from the queue for this form or one of its controls; true when it is used up.
  bool KeyDown(const MSG& message);
  void SetOwner(HWND owner);

  // --- ui::Peer
  void Changed(ui::Prop prop, int index) override;
  void MenuItemChanged(ui::MenuItem& item) override;
  void Repaint() override { ::UpdateWindow(Window()); }

 private:
  static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  ControlPeer* PeerOf(HWND window) const;
  // The control whose window is or holds this window; the form itself when none does.
  ui::Control& ControlFor(HWND window) const;
  // The innermost visible control under a point of the client area; the form when none.
  ui::Control& ControlAt(POINT point) const;
  void ApplyClientSize();
  void ApplyVisible();
  void CenterOnScreenOrMainForm();
  void BuildMenu();
  void Activated(bool active);
  void UserResized(int width, int height);
  // The smallest size the user can drag the window to: the model's minimum.
  void LimitTracking(MINMAXINFO& limits) const;
  void DpiChanged(int dpi, const RECT& suggested);
  LRESULT ControlColor(UINT message, HDC dc, HWND control);

  Win32Ui& backend_;
  ui::Form& form_;
  int dpi_;
  UniqueWindow window_;
  std::unique_ptr<MenuBar> menuBar_;
  std::vector<ControlPeer*> controls_;
  HWND savedFocus_ = nullptr;
  // Set while the window takes a size from the model, so that WM_SIZE is not echoed back.
  bool applyingSize_ = false;
};

}  // namespace platform::win32
