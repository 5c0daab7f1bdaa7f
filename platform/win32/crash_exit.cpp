#include "platform/win32/crash_exit.h"

#include <csignal>
#include <exception>

#include "platform/win32/win.h"

namespace platform::win32 {

namespace {

int crashExitCode = 1;

// Written with no allocation and no C runtime: after a fault the heap may be what failed.
void WriteError(const char* what, DWORD code) {
  char line[128];
  int length = 0;
  const auto append = [&](const char* text) {
    while (*text && length < static_cast<int>(sizeof line) - 1)
      line[length++] = *text++;
  };
  append("dustorix: stopped by an unexpected error (");
  append(what);
  if (code != 0) {
    append(" 0x");
    for (int shift = 28; shift >= 0; shift -= 4)
      line[length++] = "0123456789ABCDEF"[(code >> shift) & 0xF];
  }
  append(")\r\n");
  HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD written = 0;
  if (err && err != INVALID_HANDLE_VALUE)
    ::WriteFile(err, line, static_cast<DWORD>(length), &written, nullptr);
}

[[noreturn]] void End(const char* what, DWORD code) {
  WriteError(what, code);
  // TerminateProcess, not ExitProcess: no DLL and no static destructor runs in a broken process.
  ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(crashExitCode));
  for (;;)
    ::Sleep(INFINITE);
}

LONG WINAPI Unhandled(EXCEPTION_POINTERS* pointers) {
  End("exception",
      pointers && pointers->ExceptionRecord ? pointers->ExceptionRecord->ExceptionCode : 0);
}

[[noreturn]] void Terminated() {
  End("C++ exception not caught", 0);
}

void Aborted(int) {
  End("abort", 0);
}

}  // namespace

void EndOnCrash(int exitCode) {
  crashExitCode = exitCode;
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  // Room on the stack for the filter when the fault is a stack overflow.
  ULONG guarantee = 64 * 1024;
  ::SetThreadStackGuarantee(&guarantee);
  ::SetUnhandledExceptionFilter(&Unhandled);
  std::set_terminate(&Terminated);
  std::signal(SIGABRT, &Aborted);
}

}  // namespace platform::win32
