// Entry point of dustorix.exe: the one place that picks the real backend.
#include "platform/win32/win.h"

#include "platform/win32/win32_system.h"
#include "settings/settings_files.h"

namespace {

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  platform::win32::Win32System system;
  settings::Settings userSettings;
  settings::LoadSettings(system, userSettings);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"TFrmMain";
  if (!::RegisterClassExW(&windowClass)) return 0;
  HWND window = ::CreateWindowExW(
      0, L"TFrmMain", L"Dustorix", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
      CW_USEDEFAULT, CW_USEDEFAULT, 235, 252, nullptr, nullptr, instance, nullptr);
  if (!window) return 0;
  ::ShowWindow(window, showCommand);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  settings::SaveSettings(system, userSettings);
  return 0;
}
