#include "cleanups/previous_windows.h"

#include <string>
#include <vector>

#include "cleanups/special_cleanups.h"

namespace cleanups {

std::optional<FolderTotal> PreviousWindowsInstallation(RunContext& run) {
  platform::System& system = run.System();
  const std::string windows = system.WindowsFolder();
  if (windows.size() < 3 || windows[1] != ':' || windows[2] != '\\') return std::nullopt;
  const std::string place = windows.substr(0, 3) + "Windows.old";
  if (!IsRealFolder(system, place)) return std::nullopt;
  FolderTotal total;
  std::vector<std::string> folders{place + '\\'};
  while (!folders.empty() && !run.Stopped()) {
    const std::string folder = std::move(folders.back());
    folders.pop_back();
    system.ListFolder(folder, [&](const platform::DirEntry& entry) {
      if (!entry.IsDirectory()) {
        ++total.files;
        total.bytes += entry.size;
      } else if (!entry.IsReparsePoint()) {
        folders.push_back(folder + entry.name + '\\');
      }
      return true;
    });
    run.ProcessMessages();
  }
  return total;
}

}  // namespace cleanups
