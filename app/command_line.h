// Unattended runs: `dustorix.exe /analyze` and `/clean` run the engine with the saved settings,
// with no window, and report on the console they were started from.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "clean/clean_run.h"
#include "platform/console.h"
#include "platform/event_log.h"
#include "platform/system.h"

namespace app {

// What a command-line run ends with.
enum ExitCode : int {
  kExitDone = 0,
  kExitSettingsUnreadable = 1,  // nothing was searched
  kExitBadArguments = 2,        // nothing was done
  kExitAlreadyRunning = 3,      // Dustorix runs already in this session; nothing was done
  kExitStopped = 4,             // Ctrl+C or Ctrl+Break
  kExitReportNotWritten = 5,    // the run was made, but its JSON report could not be written
  // An error nothing handled ended the program, window or command line: apart from the other
  // codes, so that a script can tell a crash from every outcome of a run.
  kExitCrashed = 10,
};

struct CommandLine {
  enum class Action { kUsage, kAnalyze, kClean };
  Action action = Action::kUsage;
  clean::DriveChoice drives;  // all drives unless one is named
  std::string dataFolder;     // found as the window finds it unless one is named
  std::string jsonFile;       // none when empty
};

// The arguments after the program's name; nothing when they are malformed, and `error` says
// why.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

std::string Usage();

// Runs what the arguments ask for and returns the exit code. Every run, refused ones too, leaves
// one record in the event log; the usage (/?) is no run.
int RunCommandLine(platform::System& system, platform::Console& console,
                   platform::EventLog& eventLog, const std::vector<std::string>& args);

}  // namespace app
