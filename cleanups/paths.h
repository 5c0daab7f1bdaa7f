// Windows path text, taken apart without asking the file system.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cleanups {

// The length of the drive part: 2 for "C:", the server and share for "\\server\share"; 0 for
// a path without one.
std::size_t DrivePartLength(std::string_view path);

// Whether the path names the root of a drive or share, as "C:", "C:\", "\", "\\server\share\",
// also in the \\?\ and \\.\ forms.
bool IsDriveRoot(std::string_view path);

// Whether the path stands on its own: "C:\..." or "\\server\share...", not relative to the
// current directory or drive.
bool IsAbsolutePath(std::string_view path);

// `folder` followed by `tail` with exactly one backslash between them; empty when `folder` is.
std::string Under(std::string_view folder, std::string_view tail);

std::string WithBackslash(std::string_view path);

}  // namespace cleanups
