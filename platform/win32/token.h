#pragma once

namespace platform::win32 {

// Whether the thread's (or else the process's) access token lists the built-in Administrators
// group (S-1-5-32-544) among its groups, deny-only entries included.
bool TokenHoldsAdministrators();

}  // namespace platform::win32
