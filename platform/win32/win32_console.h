// The console of the process that started the program, for a command-line run. dustorix.exe is
// a window program: Windows gives it no console of its own, so it attaches to its parent's.
#pragma once

#include "platform/console.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

class Win32Console final : public Console {
 public:
  // Attaches to the parent's console, where there is one, and takes Ctrl+C and Ctrl+Break from
  // then on until it is destroyed.
  Win32Console();
  ~Win32Console() override;
  Win32Console(const Win32Console&) = delete;
  Win32Console& operator=(const Win32Console&) = delete;

  // To a console in UTF-16, through the console itself; to a file or pipe as UTF-8 bytes.
  void Out(std::string_view text) override;
  void Err(std::string_view text) override;
  bool Interrupted() override;
  UtcTime Now() override;

 private:
  struct Stream {
    HANDLE handle = nullptr;
    bool console = false;
  };
  // The standard handle, or the attached console's screen when the parent passed none.
  Stream Open(DWORD which);
  static void Write(const Stream& stream, std::string_view text);

  UniqueHandle screen_;  // CONOUT$, opened when a standard handle is missing
  Stream out_;
  Stream err_;
};

}  // namespace platform::win32
