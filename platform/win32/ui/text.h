// UTF-8 inside, UTF-16 at the Win32 edge.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/ui/native.h"

#include "platform/win32/wide_path.h"

namespace platform::win32 {

// Text that is not valid UTF-8 shows as nothing rather than as garbage.
inline std::wstring Wide(std::string_view utf8) {
  return Widen(utf8).value_or(std::wstring());
}

inline std::string WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

}  // namespace platform::win32
