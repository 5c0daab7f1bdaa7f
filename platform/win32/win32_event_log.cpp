#include "platform/win32/win32_event_log.h"

#include "platform/win32/wide_path.h"
#include "platform/win32/win.h"

namespace platform::win32 {

namespace {

WORD NativeType(EventType type) {
  switch (type) {
    case EventType::kWarning:
      return EVENTLOG_WARNING_TYPE;
    case EventType::kError:
      return EVENTLOG_ERROR_TYPE;
    case EventType::kInformation:
      break;
  }
  return EVENTLOG_INFORMATION_TYPE;
}

}  // namespace

void Win32EventLog::Report(const EventRecord& record) {
  HANDLE source = ::RegisterEventSourceW(nullptr, L"Dustorix");
  if (!source) return;
  std::vector<std::wstring> strings;
  for (const std::string& text : record.strings)
    strings.push_back(WidenForDisplay(text));
  std::vector<LPCWSTR> pointers;
  for (const std::wstring& text : strings)
    pointers.push_back(text.c_str());
  ::ReportEventW(source, NativeType(record.type), 0, record.id, nullptr,
                 static_cast<WORD>(pointers.size()), 0, pointers.data(), nullptr);
  ::DeregisterEventSource(source);
}

}  // namespace platform::win32
