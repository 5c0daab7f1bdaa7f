// Entry point of dustorix.exe: the one place that picks the real backends. Without arguments it
// is the window; with them, a run on the console it was started from.
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/instance.h"
#include "app/run_event.h"
#include "platform/win32/crash_exit.h"
#include "platform/win32/ui/win32_ui.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_console.h"
#include "platform/win32/win32_event_log.h"
#include "platform/win32/win32_system.h"

#include <shellapi.h>

#include "run_events.h"  // made by windmc from run_events.mc

// The message table and the records the program writes agree on the event ids.
static_assert(DUSTORIX_RUN_DONE == app::kRunEventBase + app::kExitDone);
static_assert(DUSTORIX_RUN_SETTINGS_UNREADABLE ==
              app::kRunEventBase + app::kExitSettingsUnreadable);
static_assert(DUSTORIX_RUN_BAD_ARGUMENTS == app::kRunEventBase + app::kExitBadArguments);
static_assert(DUSTORIX_RUN_ALREADY_RUNNING == app::kRunEventBase + app::kExitAlreadyRunning);
static_assert(DUSTORIX_RUN_STOPPED == app::kRunEventBase + app::kExitStopped);
static_assert(DUSTORIX_RUN_REPORT_NOT_WRITTEN == app::kRunEventBase + app::kExitReportNotWritten);

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
    platform::win32::Win32EventLog eventLog;
    return app::RunCommandLine(system, console, eventLog, args);
  }
  platform::win32::Win32Ui ui;
  return app::RunDustorix(system, ui);
}
