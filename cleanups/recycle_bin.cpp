// The recycle bin by age: each fixed drive's bin keeps, in the user's own folder, every deleted
// item as a pair: its content ($R…, a file or a whole folder) and its record ($I… of the same
// rest of name), whose first 24 bytes are a version (1 or 2), the content's size and the time of
// deletion (a FILETIME), all little-endian.
#include <string>
#include <vector>

#include "cleanups/paths.h"
#include "cleanups/special_cleanups.h"
#include "platform/little_endian.h"

namespace cleanups {

namespace {

constexpr std::size_t kRecordHead = 24;

bool IsRecordName(std::string_view name) {
  return name.size() > 2 && name[0] == '$' && (name[1] == 'I' || name[1] == 'i');
}

}  // namespace

void SpecialCleanups::RemoveRecycledBefore(std::uint64_t before) {
  const std::string sid = system_.UserSid();
  if (sid.empty()) return;
  for (const platform::DriveInfo& drive : system_.Drives()) {
    if (drive.type != platform::DriveType::kFixed || run_.Stopped()) continue;
    const std::string root{drive.letter, ':', '\\'};
    // The user's folder only, and only where it is what it says: the drive's root is its home, so
    // that a link at the user's folder or at the bin above it is refused.
    const std::optional<std::string> folder = Guarded(Under(root + "$Recycle.Bin", sid), root);
    if (!folder) continue;
    std::vector<std::string> records;
    system_.ListFolder(*folder, [&](const platform::DirEntry& entry) {
      if (!entry.IsDirectory() && !entry.IsReparsePoint() && IsRecordName(entry.name)) {
        records.push_back(entry.name);
      }
      return true;
    });
    for (const std::string& record : records) {
      if (run_.Stopped()) return;
      const platform::ReadResult read =
          system_.ReadFile(Under(*folder, record), platform::FileAccess::kRead);
      // A record that cannot be read, or of a form not known, tells no age: its item stays.
      if (!read.bytes || read.bytes->size() < kRecordHead) continue;
      const std::uint64_t version = platform::LittleEndian(*read.bytes, 0, 8);
      const std::uint64_t deleted = platform::LittleEndian(*read.bytes, 16, 8);
      if ((version != 1 && version != 2) || deleted == 0 || deleted >= before) continue;
      RemoveRecycledItem(*folder, record);
      run_.ProcessMessages();
    }
  }
}

void SpecialCleanups::RemoveRecycledItem(const std::string& folder, const std::string& record) {
  const std::string content = Under(folder, "$R" + record.substr(2));
  if (const std::optional<platform::FileStatus> status = system_.Status(content)) {
    if (!status->IsDirectory()) {
      DeleteCountedFile(content);
    } else if (status->IsReparsePoint()) {
      // A link is removed as a link; what it leads to is no item of the bin.
      system_.RemoveFolder(content);
    } else {
      EmptyFolder(content, true);
    }
  }
  // The record goes once its content is gone, never before: the bin would lose the item.
  if (system_.Status(content)) return;
  const std::string path = Under(folder, record);
  const std::optional<platform::FileStatus> status = system_.Status(path);
  if (status && system_.DeleteFile(path)) run_.AddFreed(static_cast<std::int64_t>(status->size), 0);
}

}  // namespace cleanups
