// No failure waits for a person: a scheduled run has nobody to click a system error box away,
// and under Wine a crashed process waits for a debugger forever unless it handles the crash
// itself.
#pragma once

namespace platform::win32 {

// From now on the system shows no error box for this process, and anything that would end it
// unhandled (a fault, a C++ exception nothing caught, abort) writes one line to standard error
// and ends the process with `exitCode`.
void EndOnCrash(int exitCode);

}  // namespace platform::win32
