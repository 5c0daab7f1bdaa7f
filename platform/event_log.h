// The Windows event log: a command-line run leaves one record there of how it ended, so that the
// administrators of many PCs can watch unattended runs with the tools they already use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class EventType { kInformation, kWarning, kError };

struct EventRecord {
  EventType type = EventType::kInformation;
  std::uint32_t id = 0;              // the message's number in the program's message table
  std::vector<std::string> strings;  // UTF-8, in the order %1, %2 ... of the message
};

class EventLog {
 public:
  virtual ~EventLog() = default;
  // Writes the record to the Application log under the program's event source. A log that
  // cannot be written leaves no trace and is no failure of the run.
  virtual void Report(const EventRecord& record) = 0;
};

}  // namespace platform
