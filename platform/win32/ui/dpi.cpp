#include "platform/win32/ui/dpi.h"

#include <cwchar>

#include "platform/win32/ui/ui_handles.h"

namespace platform::win32 {

namespace {

// Newer user32 functions, looked up at run time: older systems and Wine may lack them.
template <typename Function>
Function User32(const char* name) {
  const FARPROC address = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

}  // namespace

int SystemDpi() {
  static const int dpi = [] {
    const ScreenDc screen;
    const int value = screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return value > 0 ? value : kDesignDpi;
  }();
  return dpi;
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int ForcedDpi() {
  wchar_t value[16] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", value, 16);
  if (length == 0 || length >= 16) return 0;
  wchar_t* end = nullptr;
  const long percent = std::wcstol(value, &end, 10);
  if (*end != L'\0' || percent < 50 || percent > 500) return 0;
  return static_cast<int>(percent * kDesignDpi / 100);
}

SIZE OuterSizeFor(SIZE client, DWORD style, DWORD exStyle, bool hasMenu, int dpi) {
  static const auto adjustForDpi = User32<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  if (!adjustForDpi || !adjustForDpi(&rect, style, hasMenu, exStyle, static_cast<UINT>(dpi))) {
    ::AdjustWindowRectEx(&rect, style, hasMenu, exStyle);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

LOGFONTW MessageFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    LOGFONTW font = metrics.lfMessageFont;
    // The metrics come at the system dpi.
    font.lfHeight = ::MulDiv(font.lfHeight, dpi, SystemDpi());
    return font;
  }
  LOGFONTW font{};
  font.lfHeight = -ScaleToDpi(11, dpi);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  std::wcscpy(font.lfFaceName, L"MS Shell Dlg 2");
  return font;
}

}  // namespace platform::win32
