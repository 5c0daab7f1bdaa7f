// Fails as its argument says, under the crash handling dustorix.exe starts with: a fault, a C++
// exception nothing catches, abort, or a fault inside a window procedure. The Windows tests run
// it and expect it to end at once with the crash exit code, never to wait for a debugger.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "app/command_line.h"
#include "platform/win32/crash_exit.h"
#include "platform/win32/win.h"

namespace {

void Fault() {
  // An address no program owns; the compiler cannot see that it is one.
  volatile std::uintptr_t address = 16;
  *reinterpret_cast<volatile int*>(address) = 1;
}

LRESULT CALLBACK FaultingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) Fault();
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void FaultInWindowProcedure() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &FaultingProcedure;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"DustorixCrashTest";
  ::RegisterClassW(&windowClass);
  HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
  if (!window) std::exit(2);
  ::PostMessageW(window, WM_APP, 0, 0);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0)
    ::DispatchMessageW(&message);
}

}  // namespace

int main(int argc, char** argv) {
  platform::win32::EndOnCrash(app::kExitCrashed);
  const std::string how = argc > 1 ? argv[1] : "";
  if (how == "fault") Fault();
  if (how == "exception") throw std::runtime_error("nothing catches this");
  if (how == "abort") std::abort();
  if (how == "window") FaultInWindowProcedure();
  return 0;
}
