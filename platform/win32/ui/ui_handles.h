// Owning wrappers for the windowing handles of the ui backend, in the pattern of handles.h.
#pragma once

#include "platform/win32/handles.h"
#include "platform/win32/ui/native.h"

namespace platform::win32 {

struct WindowTraits {
  using Value = HWND;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value window) { return window != nullptr; }
  static void Close(Value window) { ::DestroyWindow(window); }
};

struct FontTraits {
  using Value = HFONT;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value font) { return font != nullptr; }
  static void Close(Value font) { ::DeleteObject(font); }
};

struct MenuTraits {
  using Value = HMENU;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value menu) { return menu != nullptr; }
  static void Close(Value menu) { ::DestroyMenu(menu); }
};

struct MemoryDcTraits {
  using Value = HDC;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value dc) { return dc != nullptr; }
  static void Close(Value dc) { ::DeleteDC(dc); }
};

struct HookTraits {
  using Value = HHOOK;
  static Value Invalid() { return nullptr; }
  static bool Valid(Value hook) { return hook != nullptr; }
  static void Close(Value hook) { ::UnhookWindowsHookEx(hook); }
};

using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueFont = UniqueResource<FontTraits>;
using UniqueMenu = UniqueResource<MenuTraits>;
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;
using UniqueHook = UniqueResource<HookTraits>;

// A font selected into a device context for the length of a scope.
class SelectedFont {
 public:
  SelectedFont(HDC dc, HFONT font) : dc_(dc), old_(::SelectObject(dc, font)) {}
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;
  ~SelectedFont() { ::SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The screen's device context for the length of a scope, for measuring text.
class ScreenDc {
 public:
  ScreenDc() : dc_(::GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc_) ::ReleaseDC(nullptr, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace platform::win32
