// The native child window of a control: what every kind shares (bounds at the form's dpi, font,
// visibility, enabled state, focus, mouse and cursor). One small class per kind adds the rest.
#pragma once

#include "platform/ui/control.h"
#include "platform/win32/ui/form_peer.h"
#include "platform/win32/ui/ui_handles.h"
#include "platform/win32/ui/window_peer.h"

namespace platform::win32 {

class ControlPeer : public WindowPeer {
 public:
  ~ControlPeer() override;

  HWND Window() const override { return window_.Get(); }
  ui::Control& Model() const { return control_; }

  void Changed(ui::Prop prop, int index) final;
  void MenuItemChanged(ui::MenuItem&) final {}
  void Repaint() override { ::UpdateWindow(Window()); }

  // A WM_COMMAND notification the control sent to its form.
  virtual void Notified(int code) { static_cast<void>(code); }
  // A WM_NOTIFY the control sent to its form; the result goes back to the control.
  virtual LRESULT NotifyReceived(NMHDR& header) {
    static_cast<void>(header);
    return 0;
  }
  // Labels, check boxes, radio buttons and group boxes draw the model's font colour.
  virtual bool DrawsFontColor() const { return false; }
  // After the form's dpi or size changed.
  void Rescale();
  virtual void FormResized() {}
  // Just before the form's window is shown.
  virtual void FormShowing() {}

 protected:
  ControlPeer(FormPeer& form, ui::Control& control);
  // Makes the window and gives it the common state; each kind's constructor calls it first.
  void Create(const wchar_t* className, DWORD style, DWORD exStyle = 0);
  // What only this kind shows.
  virtual void Apply(ui::Prop prop, int index) {
    static_cast<void>(prop);
    static_cast<void>(index);
  }
  virtual RECT PixelBounds() const;
  // A message to the control's window before the native control sees it; true when it is used
  // up, with the result to return. Runs guarded: nothing it throws gets past.
  virtual bool Intercept(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static_cast<void>(message);
    static_cast<void>(wParam);
    static_cast<void>(lParam);
    static_cast<void>(result);
    return false;
  }
  LRESULT CallNative(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::CallWindowProcW(original_, Window(), message, wParam, lParam);
  }
  virtual void Layout();
  void ApplyCaption();
  FormPeer& Form() const { return form_; }
  HFONT NativeFont() const { return form_.Font(control_.TextFont()); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(Window(), message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void ApplyFont();
  // A control shows, and takes input, only when its parents inside the form do too.
  void ApplyVisibleAndEnabled();

  FormPeer& form_;
  ui::Control& control_;
  UniqueWindow window_;
  WNDPROC original_ = nullptr;
};

}  // namespace platform::win32
