// What an analysis predicts a run removes, item by item, grouped by the part of the run that
// would remove it: the list the review shows and the clean-up then works through, so that
// nothing goes that was not shown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/proxy_system.h"

namespace clean {

struct PlannedItem {
  enum class Kind : std::uint8_t {
    kDeleteFile,
    kRecycleFile,
    kRemoveFolder,
    kRegistryValue,
    kRegistryKey,  // with all below it
    kUrlCacheEntry,
    kEmptyRecycleBin,
    kRecentDocuments,  // the shell's list, with its shortcuts
  };
  Kind kind = Kind::kDeleteFile;
  std::string subject;  // a path, a URL, a registry key's path
  std::string name;     // a registry value's or subkey's name
  platform::RegistryRoot root = platform::RegistryRoot::kCurrentUser;
  // As the analysis saw it: a file's or folder's attributes, the items it stands for (the bin's
  // and the recent documents' are many) and their bytes.
  std::uint32_t attributes = 0;
  std::uint64_t items = 1;
  std::uint64_t bytes = 0;
  std::uint32_t category = 0;
  bool ticked = true;
  // A registry value or a file that records the file or folder listed just before it (a shared
  // library's count, the recycle bin's record of an item), named by `name`: part of that item,
  // it goes only once the item went.
  bool withFile = false;
};

struct PlanCategory {
  std::string id;    // names it in a machine-read report, in any language
  std::string name;  // in the chosen language
  bool ticked = true;
  bool deletesForGood = false;  // removes files for good although the bin is switched on
  // Only told of, with its size: the program never removes it, and it cannot be ticked.
  bool information = false;
  std::uint64_t items = 0;
  std::uint64_t bytes = 0;
};

class RemovalPlan {
 public:
  // What is recorded from now on belongs to this category; one named before is taken up again.
  void Begin(std::string_view id, std::string_view name);
  void Add(PlannedItem item);
  // Counts what was removed in the current category, without an item; nothing before any
  // category was begun.
  void Count(std::uint64_t items, std::uint64_t bytes);
  // A category that is only told of (PlanCategory::information), shown after the others.
  void AddInformation(std::string_view id, std::string_view name, std::uint64_t items,
                      std::uint64_t bytes);

  const std::vector<PlanCategory>& Categories() const { return categories_; }
  std::vector<PlanCategory>& Categories() { return categories_; }
  const std::vector<PlannedItem>& Items() const { return items_; }
  std::vector<PlannedItem>& Items() { return items_; }
  // The categories that hold something, in the order the run reached them, and those only told
  // of.
  std::vector<std::uint32_t> Shown() const;
  // Items and bytes of the ticked items of ticked categories.
  std::pair<std::uint64_t, std::uint64_t> TickedTotal() const;
  bool Wanted(const PlannedItem& item) const {
    return item.ticked && categories_[item.category].ticked;
  }

  // The final path of a file's folder as the analysis found it, asked once per folder.
  std::unordered_map<std::string, std::string> folderFinalPaths;
  // What the analysis left alone, and why: the report tells it whatever the user chooses.
  std::vector<std::string> notes;
  // How long the analysis took, in milliseconds.
  std::int64_t milliseconds = 0;

 private:
  std::vector<PlanCategory> categories_;
  std::vector<PlannedItem> items_;
  std::uint32_t current_ = 0;
};

// The folder part of a path, with its final backslash.
std::string FolderOf(const std::string& path);

// A System between a run and the dry run below it that writes every removal the dry run takes
// into the plan, with what it removes, under the plan's current category.
class PlanRecorder final : public platform::ProxySystem {
 public:
  // `recycleOn`: the bin is switched on, so a file deleted for good is marked so.
  PlanRecorder(platform::System& dryRun, RemovalPlan& plan, bool recycleOn)
      : ProxySystem(dryRun), plan_(plan), recycleOn_(recycleOn) {}

  bool DeleteFile(std::string_view path) override;
  bool RemoveFolder(std::string_view path) override;
  platform::Recycled MoveToRecycleBin(std::string_view path) override;
  void MoveAllToRecycleBin(std::span<const std::string> paths,
                           std::vector<platform::Recycled>& results) override {
    System::MoveAllToRecycleBin(paths, results);  // each one recorded
  }
  bool DeleteUrlCacheItem(std::string_view sourceUrl) override;
  void EmptyRecycleBin() override;
  void ClearRecentDocuments() override;
  std::unique_ptr<platform::RegistryKey> OpenRegistryKey(platform::RegistryRoot root,
                                                         std::string_view path) override;

 private:
  class RecordingKey;
  // A file or folder about to go, with its folder's final path noted.
  std::optional<platform::FileStatus> Before(std::string_view path);

  RemovalPlan& plan_;
  bool recycleOn_;
};

}  // namespace clean
