#include "app/run_event.h"

#include "app/command_line.h"

namespace app {

platform::EventRecord RunEvent(const RunSummary& summary) {
  platform::EventRecord record;
  switch (summary.exitCode) {
    case kExitDone:
      record.type = platform::EventType::kInformation;
      break;
    case kExitAlreadyRunning:
    case kExitStopped:
      record.type = platform::EventType::kWarning;
      break;
    default:
      record.type = platform::EventType::kError;
  }
  record.id = kRunEventBase + static_cast<std::uint32_t>(summary.exitCode);
  record.strings = {summary.arguments, std::to_string(summary.files), std::to_string(summary.bytes),
                    summary.jsonReport.empty() ? "none" : summary.jsonReport, summary.reason};
  return record;
}

std::string JoinArguments(const std::vector<std::string>& args) {
  std::string line;
  for (const std::string& arg : args) {
    if (!line.empty()) line += ' ';
    const bool quote = arg.empty() || arg.find_first_of(" \t") != std::string::npos;
    line += quote ? '"' + arg + '"' : arg;
  }
  return line;
}

}  // namespace app
