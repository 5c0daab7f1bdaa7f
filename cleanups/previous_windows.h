// The previous Windows installation an upgrade leaves in %SystemDrive%\Windows.old. It belongs to
// the system: only Windows' own Disk Cleanup removes it (Windows itself does after 10 days), so
// the program only tells how large it is.
#pragma once

#include <cstdint>
#include <optional>

#include "cleanups/run_context.h"

namespace cleanups {

struct FolderTotal {
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
};

// The files and bytes below the system drive's Windows.old, when that is a folder and no link;
// links inside are not entered. What was counted until a stop, when the run is stopped.
std::optional<FolderTotal> PreviousWindowsInstallation(RunContext& run);

}  // namespace cleanups
