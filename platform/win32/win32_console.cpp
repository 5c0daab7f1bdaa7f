#include "platform/win32/win32_console.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "platform/win32/wide_path.h"

namespace platform::win32 {

namespace {

// Set by the handler, which Windows runs on a thread of its own.
std::atomic<bool> interrupted{false};

BOOL WINAPI OnControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  interrupted = true;
  return TRUE;
}

bool Usable(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

Win32Console::Win32Console() {
  // A redirected handle is taken before attaching, so that the console cannot replace it.
  const bool outGiven = Usable(::GetStdHandle(STD_OUTPUT_HANDLE));
  const bool errGiven = Usable(::GetStdHandle(STD_ERROR_HANDLE));
  ::AttachConsole(ATTACH_PARENT_PROCESS);
  if (!outGiven || !errGiven) {
    screen_.Reset(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
  }
  out_ = Open(STD_OUTPUT_HANDLE);
  err_ = Open(STD_ERROR_HANDLE);
  // A start in a new process group turns Ctrl+C off for the process; a run takes it anyway.
  ::SetConsoleCtrlHandler(nullptr, FALSE);
  ::SetConsoleCtrlHandler(OnControl, TRUE);
}

Win32Console::~Win32Console() {
  ::SetConsoleCtrlHandler(OnControl, FALSE);
}

Win32Console::Stream Win32Console::Open(DWORD which) {
  Stream stream;
  stream.handle = ::GetStdHandle(which);
  if (!Usable(stream.handle)) stream.handle = screen_.Get();
  DWORD mode = 0;
  stream.console = Usable(stream.handle) && ::GetConsoleMode(stream.handle, &mode);
  return stream;
}

void Win32Console::Write(const Stream& stream, std::string_view text) {
  if (!Usable(stream.handle) || text.empty()) return;
  if (stream.console) {
    const std::wstring wide = WidenForDisplay(text);
    std::wstring_view rest = wide;
    while (!rest.empty()) {
      DWORD written = 0;
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 8192));
      if (!::WriteConsoleW(stream.handle, rest.data(), chunk, &written, nullptr) || written == 0) {
        return;
      }
      rest.remove_prefix(written);
    }
    return;
  }
  while (!text.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1u << 20));
    if (!::WriteFile(stream.handle, text.data(), chunk, &written, nullptr) || written == 0) return;
    text.remove_prefix(written);
  }
}

void Win32Console::Out(std::string_view text) {
  Write(out_, text);
}

void Win32Console::Err(std::string_view text) {
  Write(err_, text);
}

bool Win32Console::Interrupted() {
  return interrupted;
}

UtcTime Win32Console::Now() {
  SYSTEMTIME now{};
  ::GetSystemTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace platform::win32
