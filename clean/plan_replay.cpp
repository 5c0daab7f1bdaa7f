#include "clean/plan_replay.h"

#include "clean/scan.h"
#include "lang/quantities.h"
#include "platform/wildcard.h"

namespace clean {

using Kind = PlannedItem::Kind;

namespace {
// The stop button is looked at between items; messages are let through this often.
constexpr std::size_t kMessageInterval = 64;
}  // namespace

void PlanReplay::Run() {
  done_.assign(plan_.Categories().size(), {});
  std::size_t sinceMessages = 0;
  for (const PlannedItem& item : plan_.Items()) {
    if (!plan_.Wanted(item)) continue;
    if (run_.Stopped()) break;
    if (item.kind == Kind::kRecycleFile) {
      if (!Unchanged(item)) {
        ++changed_;
      } else {
        batch_.push_back(&item);
        if (batch_.size() == kBatchSize) RecycleBatch();
      }
    } else {
      RecycleBatch();
      Remove(item);
    }
    if (++sinceMessages == kMessageInterval) {
      sinceMessages = 0;
      run_.ProcessMessages();
    }
  }
  if (!run_.Stopped()) RecycleBatch();
  batch_.clear();

  const lang::LanguageTexts& texts = run_.Texts();
  for (const std::uint32_t index : plan_.Shown()) {
    const PlanCategory& category = plan_.Categories()[index];
    const Done& done = done_[index];
    if (!category.ticked || (done.items == 0 && done.paths.empty())) continue;
    run_.Report(category.name + ": " + lang::FilesAndSize(done.items, done.bytes, texts));
    for (const std::string& path : done.paths)
      run_.Report(path);
  }
  if (changed_ > 0) {
    run_.Report(lang::Filled(texts[lang::Text::kChangedSinceAnalysis],
                             {lang::FormatCount(changed_, texts)}));
  }
}

bool PlanReplay::SameFolder(const std::string& path) {
  const std::string folder = FolderOf(path);
  const auto known = sameFolder_.find(folder);
  if (known != sameFolder_.end()) return known->second;
  const auto then = plan_.folderFinalPaths.find(folder);
  const bool same =
      then != plan_.folderFinalPaths.end() && run_.System().FinalPath(folder) == then->second;
  sameFolder_.emplace(folder, same);
  return same;
}

bool PlanReplay::Unchanged(const PlannedItem& item) {
  const std::optional<platform::FileStatus> now = run_.System().Status(item.subject);
  if (!now || now->attributes != item.attributes) return false;
  if (item.kind != Kind::kRemoveFolder &&
      (now->IsDirectory() || now->IsReparsePoint() || now->size != item.bytes)) {
    return false;
  }
  return SameFolder(item.subject);
}

void PlanReplay::Gone(const PlannedItem& item, std::uint64_t items, std::uint64_t bytes) {
  const PlanCategory& category = plan_.Categories()[item.category];
  run_.PartBegins(category.id, category.name);
  run_.AddFreed(static_cast<std::int64_t>(bytes), static_cast<std::int64_t>(items));
  if (item.kind == Kind::kRecycleFile) run_.AddRecycled(static_cast<std::int64_t>(bytes));
  Done& done = done_[item.category];
  done.items += items;
  done.bytes += bytes;
  if (item.kind == Kind::kDeleteFile || item.kind == Kind::kRecycleFile) {
    if (!item.withFile) done.paths.push_back(item.subject);
  }
  lastGone_ = item.subject;
}

void PlanReplay::RecycleBatch() {
  if (batch_.empty()) return;
  std::vector<std::string> paths;
  paths.reserve(batch_.size());
  for (const PlannedItem* item : batch_)
    paths.push_back(item->subject);
  std::vector<platform::Recycled> results;
  run_.System().MoveAllToRecycleBin(paths, results);
  const lang::LanguageTexts& texts = run_.Texts();
  for (std::size_t i = 0; i < batch_.size(); ++i) {
    switch (results[i]) {
      case platform::Recycled::kYes:
        Gone(*batch_[i], 1, batch_[i]->bytes);
        break;
      case platform::Recycled::kRefused:
        run_.Report(lang::Filled(texts[lang::Text::kRecycleRefused], {paths[i]}));
        break;
      case platform::Recycled::kPathTooLong:
        run_.Report(lang::Filled(texts[lang::Text::kRecyclePathTooLong], {paths[i]}));
        break;
      case platform::Recycled::kMissing:
        ++changed_;
        break;
    }
  }
  batch_.clear();
}

void PlanReplay::Remove(const PlannedItem& item) {
  platform::System& system = run_.System();
  bool gone = false;
  switch (item.kind) {
    case Kind::kDeleteFile:
      if (item.withFile && lastGone_ != item.name) return;
      gone = Unchanged(item) && system.DeleteFile(item.subject);
      break;
    case Kind::kRemoveFolder:
      // A folder that still holds a file kept as changed stays: the file was counted.
      if (Unchanged(item) && system.RemoveFolder(item.subject)) Gone(item, 0, 0);
      return;
    case Kind::kRecycleFile:
      break;  // in batches
    case Kind::kRegistryValue: {
      if (item.withFile && lastGone_ != item.name) return;
      const std::unique_ptr<platform::RegistryKey> key =
          system.OpenRegistryKey(item.root, item.subject);
      gone = key && key->ReadValue(item.name) && key->DeleteValue(item.name);
      break;
    }
    case Kind::kRegistryKey: {
      const std::unique_ptr<platform::RegistryKey> key =
          system.OpenRegistryKey(item.root, item.subject);
      gone = key && key->DeleteSubKeyTree(item.name);
      break;
    }
    case Kind::kUrlCacheEntry:
      gone = system.DeleteUrlCacheItem(item.subject);
      break;
    case Kind::kEmptyRecycleBin: {
      // Emptied only while it holds no more than was shown: what went there since is kept.
      const std::optional<platform::RecycleBinContent> now = system.QueryRecycleBin();
      if (now && now->items <= item.items && now->bytes <= item.bytes) {
        system.EmptyRecycleBin();
        const std::optional<platform::RecycleBinContent> after = system.QueryRecycleBin();
        if (after && after->items < now->items) {
          Gone(item, now->items - after->items, now->bytes - std::min(now->bytes, after->bytes));
          return;
        }
      }
      break;
    }
    case Kind::kRecentDocuments:
      system.ClearRecentDocuments();
      Gone(item, item.items, item.bytes);
      return;
  }
  if (!gone) {
    ++changed_;
    return;
  }
  Gone(item, item.items, item.bytes);
}

}  // namespace clean
