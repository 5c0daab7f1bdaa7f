#include "clean/removal_plan.h"

#include <algorithm>

#include "platform/wildcard.h"

namespace clean {

using platform::FileStatus;
using Kind = PlannedItem::Kind;

namespace {
PlannedItem Item(Kind kind, std::string subject = {}) {
  PlannedItem item;
  item.kind = kind;
  item.subject = std::move(subject);
  return item;
}
}  // namespace

void RemovalPlan::Begin(std::string_view id, std::string_view name) {
  for (std::uint32_t i = 0; i < categories_.size(); ++i) {
    if (categories_[i].id == id) {
      current_ = i;
      return;
    }
  }
  current_ = static_cast<std::uint32_t>(categories_.size());
  categories_.push_back({std::string(id), std::string(name)});
}

void RemovalPlan::Add(PlannedItem item) {
  // Something recorded before any category was begun is still shown, never removed unseen.
  if (categories_.empty()) Begin("other", "?");
  item.category = current_;
  PlanCategory& category = categories_[current_];
  category.items += item.items;
  category.bytes += item.bytes;
  items_.push_back(std::move(item));
}

void RemovalPlan::Count(std::uint64_t items, std::uint64_t bytes) {
  if (categories_.empty()) return;
  categories_[current_].items += items;
  categories_[current_].bytes += bytes;
}

void RemovalPlan::AddInformation(std::string_view id, std::string_view name, std::uint64_t items,
                                 std::uint64_t bytes) {
  PlanCategory category{std::string(id), std::string(name)};
  category.ticked = false;
  category.information = true;
  category.items = items;
  category.bytes = bytes;
  categories_.push_back(std::move(category));
}

std::vector<std::uint32_t> RemovalPlan::Shown() const {
  std::vector<bool> holds(categories_.size());
  for (const PlannedItem& item : items_)
    holds[item.category] = true;
  std::vector<std::uint32_t> shown;
  for (std::uint32_t i = 0; i < categories_.size(); ++i) {
    if (holds[i] || categories_[i].information) shown.push_back(i);
  }
  return shown;
}

std::pair<std::uint64_t, std::uint64_t> RemovalPlan::TickedTotal() const {
  std::pair<std::uint64_t, std::uint64_t> total;
  for (const PlannedItem& item : items_) {
    if (!Wanted(item)) continue;
    total.first += item.items;
    total.second += item.bytes;
  }
  return total;
}

std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Records the values and subkeys the run deletes through it.
class PlanRecorder::RecordingKey final : public platform::RegistryKey {
 public:
  RecordingKey(PlanRecorder& owner, std::unique_ptr<platform::RegistryKey> inner,
               platform::RegistryRoot root, std::string path)
      : owner_(owner), inner_(std::move(inner)), root_(root), path_(std::move(path)) {}

  std::vector<std::string> ValueNames() override { return inner_->ValueNames(); }
  std::optional<platform::RegistryValue> ReadValue(std::string_view name) override {
    return inner_->ReadValue(name);
  }
  bool DeleteValue(std::string_view name) override {
    if (!inner_->DeleteValue(name)) return false;
    Add(Kind::kRegistryValue, name);
    return true;
  }
  std::vector<std::string> SubKeyNames() override { return inner_->SubKeyNames(); }
  bool DeleteSubKeyTree(std::string_view name) override {
    if (!inner_->DeleteSubKeyTree(name)) return false;
    Add(Kind::kRegistryKey, name);
    return true;
  }

 private:
  void Add(Kind kind, std::string_view name) {
    PlannedItem item = Item(kind, path_);
    item.name.assign(name);
    item.root = root_;
    const std::vector<PlannedItem>& items = owner_.plan_.Items();
    if (kind == Kind::kRegistryValue && !items.empty() &&
        (items.back().kind == Kind::kDeleteFile || items.back().kind == Kind::kRecycleFile) &&
        items.back().subject == name) {
      item.withFile = true;
      item.items = 0;
    }
    owner_.plan_.Add(std::move(item));
  }

  PlanRecorder& owner_;
  std::unique_ptr<platform::RegistryKey> inner_;
  platform::RegistryRoot root_;
  std::string path_;
};

std::optional<FileStatus> PlanRecorder::Before(std::string_view path) {
  std::optional<FileStatus> status = ProxySystem::Status(path);
  if (!status) return status;
  const std::string folder = FolderOf(std::string(path));
  if (!plan_.folderFinalPaths.contains(folder)) {
    plan_.folderFinalPaths.emplace(folder, ProxySystem::FinalPath(folder));
  }
  return status;
}

namespace {

// Whether `path` is the recycle bin's record ($I…) of the item `previous` ($R…) beside it.
bool IsRecordOf(std::string_view path, std::string_view previous) {
  const std::size_t cut = path.rfind('\\');
  if (cut == std::string_view::npos || previous.size() != path.size() ||
      previous.substr(0, cut + 1) != path.substr(0, cut + 1)) {
    return false;
  }
  const std::string_view name = path.substr(cut + 1);
  const std::string_view other = previous.substr(cut + 1);
  return name.size() > 2 && name[0] == '$' && (name[1] == 'I' || name[1] == 'i') &&
         other[0] == '$' && (other[1] == 'R' || other[1] == 'r') &&
         name.substr(2) == other.substr(2);
}

}  // namespace

bool PlanRecorder::DeleteFile(std::string_view path) {
  const std::optional<FileStatus> status = Before(path);
  if (!status || !ProxySystem::DeleteFile(path)) return false;
  PlannedItem item = Item(Kind::kDeleteFile, std::string(path));
  item.attributes = status->attributes;
  item.bytes = status->size;
  const std::vector<PlannedItem>& items = plan_.Items();
  if (!items.empty() && IsRecordOf(path, items.back().subject)) {
    item.withFile = true;
    item.items = 0;
    item.name = items.back().subject;
  }
  plan_.Add(std::move(item));
  if (recycleOn_) plan_.Categories()[plan_.Items().back().category].deletesForGood = true;
  return true;
}

bool PlanRecorder::RemoveFolder(std::string_view path) {
  const std::optional<FileStatus> status = Before(path);
  if (!status || !ProxySystem::RemoveFolder(path)) return false;
  // A folder is emptied first and counted by its files; the folder itself frees nothing.
  PlannedItem item = Item(Kind::kRemoveFolder, std::string(path));
  item.attributes = status->attributes;
  item.items = 0;
  plan_.Add(std::move(item));
  return true;
}

platform::Recycled PlanRecorder::MoveToRecycleBin(std::string_view path) {
  const std::optional<FileStatus> status = Before(path);
  const platform::Recycled result = ProxySystem::MoveToRecycleBin(path);
  if (!status || result != platform::Recycled::kYes) return result;
  PlannedItem item = Item(Kind::kRecycleFile, std::string(path));
  item.attributes = status->attributes;
  item.bytes = status->size;
  plan_.Add(std::move(item));
  return result;
}

bool PlanRecorder::DeleteUrlCacheItem(std::string_view sourceUrl) {
  if (!ProxySystem::DeleteUrlCacheItem(sourceUrl)) return false;
  plan_.Add(Item(Kind::kUrlCacheEntry, std::string(sourceUrl)));
  return true;
}

void PlanRecorder::EmptyRecycleBin() {
  const std::optional<platform::RecycleBinContent> content = ProxySystem::QueryRecycleBin();
  ProxySystem::EmptyRecycleBin();
  // An empty bin, or one that cannot be told, is nothing to show.
  if (!content || content->items == 0) return;
  PlannedItem item = Item(Kind::kEmptyRecycleBin);
  item.items = content->items;
  item.bytes = content->bytes;
  plan_.Add(std::move(item));
}

void PlanRecorder::ClearRecentDocuments() {
  // The shell deletes the shortcuts of the recent-documents folder with the list.
  PlannedItem item = Item(Kind::kRecentDocuments);
  item.items = 0;
  const std::string recent = ProxySystem::SpecialFolder(platform::csidl::kRecent);
  if (!recent.empty()) {
    const std::string folder = recent.back() == '\\' ? recent : recent + '\\';
    ProxySystem::ListFolder(folder, [&](const platform::DirEntry& entry) {
      if (!entry.IsDirectory() && platform::MatchesWildcard("*.lnk", entry.name)) {
        ++item.items;
        item.bytes += entry.size;
      }
      return true;
    });
  }
  ProxySystem::ClearRecentDocuments();
  plan_.Add(std::move(item));
}

std::unique_ptr<platform::RegistryKey> PlanRecorder::OpenRegistryKey(platform::RegistryRoot root,
                                                                     std::string_view path) {
  std::unique_ptr<platform::RegistryKey> key = ProxySystem::OpenRegistryKey(root, path);
  if (!key) return nullptr;
  return std::make_unique<RecordingKey>(*this, std::move(key), root, std::string(path));
}

}  // namespace clean
