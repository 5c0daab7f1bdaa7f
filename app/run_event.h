// The record a command-line run leaves in the event log. Its id tells the outcome: 1000 plus the
// exit code. Every record carries the same insertion strings in the same order, so that a
// monitoring tool can read them by position: the arguments, the files and bytes, the JSON report
// and the reason. The texts around them are the message table in run_events.mc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/event_log.h"

namespace app {

inline constexpr std::uint32_t kRunEventBase = 1000;

struct RunSummary {
  int exitCode = 0;
  std::string arguments;  // as given, quoted where needed, so that a task can be recognised
  // Removed and freed; for an analysis, what a clean run would remove and free.
  std::int64_t files = 0;
  std::int64_t bytes = 0;
  std::string jsonReport;  // full path; empty when none was asked for
  std::string reason;      // why the run did not do all it was asked; empty when it did
};

platform::EventRecord RunEvent(const RunSummary& summary);

// The arguments as one line, each quoted when it holds a blank or is empty.
std::string JoinArguments(const std::vector<std::string>& args);

}  // namespace app
