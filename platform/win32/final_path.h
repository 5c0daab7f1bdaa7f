// Where an open file or folder really is, and the few things only Wine can tell about it.
#pragma once

#include "platform/win32/win.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform::win32 {

// Whether the program runs under Wine (its ntdll names its version).
bool RunningUnderWine();

// The path of what the handle was opened on, every link resolved, in plain form (`C:\x`,
// `\\server\share\x`, `C:\` for a root); empty when it leads outside every drive (a host path
// under Wine) or cannot be told.
std::string FinalPathOf(HANDLE handle);

// The verbatim path's plain form, to compare with a final path: `\\?\C:\x` is `C:\x`.
std::wstring PlainPath(std::wstring_view verbatim);

// Whether two paths name the same entry, compared as Windows compares names.
bool SamePath(std::string_view a, std::string_view b);

// What a handle opened on a file or link (FILE_FLAG_OPEN_REPARSE_POINT) tells before the file is
// removed: its attributes, and whether it is the very file the path names and no link. Under
// Wine a host symlink to a file shows as a plain file; only its final path gives it away.
struct OpenedFile {
  DWORD attributes = 0;
  DWORD links = 0;  // hard links to the file's data
  bool isLink = true;
};
std::optional<OpenedFile> InspectOpened(HANDLE handle, std::wstring_view verbatimPath);

// The drive letter Wine maps to the host's root folder ('\0' when none, and on Windows).
char HostRootDriveLetter();

}  // namespace platform::win32
