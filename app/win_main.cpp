// Entry point of dustorix.exe: the one place that picks the real backends.
#include "app/instance.h"
#include "platform/win32/ui/win32_ui.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_system.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  platform::win32::Win32System system;
  platform::win32::Win32Ui ui;
  return app::RunDustorix(system, ui);
}
