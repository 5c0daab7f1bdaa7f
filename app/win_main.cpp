// Entry point of dustorix.exe: the one place that picks the real backends. Without arguments it
// is the window; with them, a run on the console it was started from.
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/instance.h"
#include "platform/win32/crash_exit.h"
#include "platform/win32/ui/win32_ui.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_console.h"
#include "platform/win32/win32_system.h"

#include <shellapi.h>

namespace {

// The arguments after the program's name, split as every Windows program splits them.
std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> args;
  if (!argv) return args;
  for (int i = 1; i < count; ++i)
    args.push_back(platform::win32::Narrow(argv[i]));
  ::LocalFree(argv);
  return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  platform::win32::EndOnCrash(app::kExitCrashed);
  platform::win32::Win32System system;
  const std::vector<std::string> args = Arguments();
  if (!args.empty()) {
    platform::win32::Win32Console console;
    return app::RunCommandLine(system, console, args);
  }
  platform::win32::Win32Ui ui;
  return app::RunDustorix(system, ui);
}
