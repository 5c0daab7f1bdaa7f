// An event log for tests: it keeps the records the program wrote.
#pragma once

#include <vector>

#include "platform/event_log.h"

namespace platform::sim {

class SimEventLog final : public EventLog {
 public:
  void Report(const EventRecord& record) override { records.push_back(record); }

  std::vector<EventRecord> records;
};

}  // namespace platform::sim
