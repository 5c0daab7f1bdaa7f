#include "clean/removal.h"

#include "clean/run_context.h"

namespace clean {

std::uint64_t FileSizeOf(platform::System& system, const std::string& path) {
  std::optional<platform::DirEntry> entry = system.LookUp(path);
  return entry ? entry->size : 0;
}

bool MoveToRecycleBin(platform::System& system, const std::string& path) {
  return system.MoveToRecycleBin(path);
}

bool RecycleFile(platform::System& system, const std::string& path) {
  return MoveToRecycleBin(system, path);
}

bool DeleteFoundFile(platform::System& system, const std::string& path) {
  return system.DeleteFile(path);
}

bool AddFoundFile(ui::ListBox& reviewList, const std::string& path) {
  reviewList.Add(path);
  reviewList.SetHorizontalExtent(FitScrollWidth(reviewList.TextWidth(path), reviewList));
  return false;
}

}  // namespace clean
