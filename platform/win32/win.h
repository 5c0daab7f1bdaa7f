// <windows.h> without the A/W macros that would rename System's members (DeleteFile ...).
// Win32 code in this project includes this instead and calls the W functions by their names.
#pragma once

#include <windows.h>

#undef DeleteFile
#undef ReplaceFile
#undef GetDriveType
#undef RegisterWindowMessage
