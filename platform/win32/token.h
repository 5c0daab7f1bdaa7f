#pragma once

#include <string>

namespace platform::win32 {

// Whether the thread's (or else the process's) access token lists the built-in Administrators
// group (S-1-5-32-544) among its groups, deny-only entries included.
bool TokenHoldsAdministrators();

// The token's user as a SID string; empty when it cannot be read.
std::string TokenUserSid();

}  // namespace platform::win32
