// Design pixels (96 dots per inch) to the pixels of a monitor.
#pragma once

#include "platform/win32/ui/native.h"

namespace platform::win32 {

inline constexpr int kDesignDpi = 96;

int SystemDpi();
// The dpi of the monitor the window is on, where the system can tell per window.
int WindowDpi(HWND window);
// The dpi that DUSTORIX_UI_SCALE (a percentage such as "150") forces, or 0. It lets screenshots at
// other scales be taken where per-monitor dpi cannot be observed (Wine).
int ForcedDpi();

inline int ScaleToDpi(int design, int dpi) {
  return ::MulDiv(design, dpi, kDesignDpi);
}
inline int ScaleFromDpi(int pixels, int dpi) {
  return ::MulDiv(pixels, kDesignDpi, dpi);
}

// The outer size of a window with this client size, frame style and dpi.
SIZE OuterSizeFor(SIZE client, DWORD style, DWORD exStyle, bool hasMenu, int dpi);

// The system's message-box font at a dpi.
LOGFONTW MessageFont(int dpi);

}  // namespace platform::win32
