// Does nothing until the process whose id it is given ends. The Windows tests run copies of it
// under a browser's program file name, standing in for a browser left running.
#include <cstdlib>

#include "platform/win32/handles.h"
#include "platform/win32/win.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const auto owner = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
  platform::win32::UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, owner));
  if (!process) return 1;
  ::WaitForSingleObject(process.Get(), INFINITE);
  return 0;
}
