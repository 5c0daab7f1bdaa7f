// The removal hooks of a clean run and the size look-up they share.
#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"
#include "platform/ui/list_box.h"

namespace clean {

// The size of the entry at exactly this path; 0 when there is none (or it is a folder).
std::uint64_t FileSizeOf(platform::System& system, const std::string& path);

// Moves a file or folder to the recycle bin; true when the shell reported success.
bool MoveToRecycleBin(platform::System& system, const std::string& path);
// The hook when found files go to the recycle bin.
bool RecycleFile(platform::System& system, const std::string& path);
// The hook when found files are deleted for good; a folder path fails.
bool DeleteFoundFile(platform::System& system, const std::string& path);
// The hook of review mode: the path joins the review list; nothing is removed.
bool AddFoundFile(ui::ListBox& reviewList, const std::string& path);

}  // namespace clean
