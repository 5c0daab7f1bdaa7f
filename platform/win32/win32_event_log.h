// The Application log of the local machine, under the event source "Dustorix". The installer
// registers the source with dustorix.exe as its message file; a portable copy writes under the
// unregistered source, which Windows shows with a note that the description is missing.
#pragma once

#include "platform/event_log.h"

namespace platform::win32 {

class Win32EventLog final : public EventLog {
 public:
  void Report(const EventRecord& record) override;
};

}  // namespace platform::win32
