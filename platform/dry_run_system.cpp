#include "platform/dry_run_system.h"

#include "platform/shell_names.h"
#include "platform/utf.h"
#include "platform/wildcard.h"

namespace platform {

namespace {

std::u16string Folded(std::string_view utf8) {
  std::u16string units;
  if (std::optional<std::u16string> wide = Utf8ToUtf16(utf8)) {
    units = std::move(*wide);
  } else {
    // Not text: compared byte for byte, which still tells two such names apart.
    units.assign(utf8.begin(), utf8.end());
  }
  for (char16_t& unit : units)
    unit = UpcaseChar(unit);
  return units;
}

std::string FoldedUtf8(std::string_view utf8) {
  return Utf16ToUtf8(Folded(utf8));
}

}  // namespace

// A registry key whose deleted values stay deleted for this run.
class DryRunSystem::DryRunKey final : public RegistryKey {
 public:
  DryRunKey(DryRunSystem& owner, std::unique_ptr<RegistryKey> inner, std::string prefix)
      : owner_(owner), inner_(std::move(inner)), prefix_(std::move(prefix)) {}

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    for (std::string& name : inner_->ValueNames()) {
      if (!Deleted(name)) names.push_back(std::move(name));
    }
    return names;
  }
  std::optional<RegistryValue> ReadValue(std::string_view name) override {
    if (Deleted(name)) return std::nullopt;
    return inner_->ReadValue(name);
  }
  bool DeleteValue(std::string_view name) override {
    if (Deleted(name) || !inner_->ReadValue(name)) return false;
    owner_.deletedRegistryValues_.insert(prefix_ + FoldedUtf8(name));
    owner_.Record(Change::Kind::kDeleteRegistryValue, prefix_ + std::string(name));
    return true;
  }

 private:
  bool Deleted(std::string_view name) const {
    return owner_.deletedRegistryValues_.count(prefix_ + FoldedUtf8(name)) != 0;
  }

  DryRunSystem& owner_;
  std::unique_ptr<RegistryKey> inner_;
  std::string prefix_;  // the root and the key's path, folded, then a separator
};

std::u16string DryRunSystem::Key(std::string_view path) {
  // The run forms its paths from absolute folders and listed names, so a lexical form is
  // enough: Windows' own full-path rules would fold "junk." onto its namesake "junk".
  std::u16string key;
  for (char16_t unit : Folded(path)) {
    if (unit == u'/') unit = u'\\';
    if (unit == u'\\' && !key.empty() && key.back() == u'\\') continue;
    key += unit;
  }
  while (key.size() > 2 && key.back() == u'\\')
    key.pop_back();
  return key;
}

bool DryRunSystem::Gone(const std::u16string& key) const {
  if (gone_.empty()) return false;
  if (gone_.count(key)) return true;
  if (goneFolders_.empty()) return false;
  for (std::size_t cut = key.find(u'\\'); cut != std::u16string::npos;
       cut = key.find(u'\\', cut + 1)) {
    if (goneFolders_.count(key.substr(0, cut))) return true;
  }
  return false;
}

void DryRunSystem::MarkGone(const std::u16string& key, bool folder) {
  lookedUp_.reset();
  lookedUpPath_.clear();
  if (folder) goneFolders_.insert(key);
  if (!gone_.insert(key).second) return;
  const std::size_t cut = key.rfind(u'\\');
  ++goneInFolder_[cut == std::u16string::npos ? std::u16string() : key.substr(0, cut)];
}

void DryRunSystem::Record(Change::Kind kind, std::string_view subject) {
  changes_.push_back({kind, std::string(subject)});
}

std::uint64_t DryRunSystem::TreeBytes(const std::string& folder) {
  std::uint64_t bytes = 0;
  const std::string prefix = folder.empty() || folder.back() == '\\' ? folder : folder + '\\';
  ListFolder(prefix, [&](const DirEntry& entry) {
    bytes += entry.size;
    if (entry.IsDirectory() && !entry.IsReparsePoint()) bytes += TreeBytes(prefix + entry.name);
    return true;
  });
  return bytes;
}

std::optional<FileStatus> DryRunSystem::EntryAt(std::string_view path) {
  if (listed_ && path.size() > listedFolder_.size() && path.starts_with(listedFolder_)) {
    std::string_view name = path.substr(listedFolder_.size());
    if (!listedFolder_.ends_with('\\') && name.front() == '\\') name.remove_prefix(1);
    if (name == listed_->name) return FileStatus{listed_->attributes, listed_->size};
  }
  if (lookedUp_ && path == lookedUpPath_) return lookedUp_;
  return Status(path);
}

bool DryRunSystem::DeleteFile(std::string_view path) {
  const std::optional<FileStatus> entry = EntryAt(path);
  if (!entry || entry->IsDirectory() || (entry->attributes & attr::kReadOnly)) return false;
  Record(Change::Kind::kDeleteFile, path);
  MarkGone(Key(path), false);
  return true;
}

bool DryRunSystem::RemoveFolder(std::string_view path) {
  const std::optional<FileStatus> entry = EntryAt(path);
  if (!entry || !entry->IsDirectory()) return false;
  if (!entry->IsReparsePoint()) {
    bool holdsSomething = false;
    ListFolder(path, [&](const DirEntry&) {
      holdsSomething = true;
      return false;
    });
    if (holdsSomething) return false;
  }
  Record(Change::Kind::kRemoveFolder, path);
  // Emptied first, or a link: nothing below it is left to hide.
  MarkGone(Key(path), false);
  return true;
}

bool DryRunSystem::MoveToRecycleBin(std::string_view path) {
  // The backends refuse these before asking the shell.
  if (path.find_first_of("*?") != std::string_view::npos || HasNameTheShellCannotReach(path)) {
    return false;
  }
  const std::optional<FileStatus> entry = EntryAt(path);
  if (!entry) return false;
  const std::uint64_t bytes =
      entry->IsDirectory() && !entry->IsReparsePoint() ? TreeBytes(std::string(path)) : entry->size;
  Record(Change::Kind::kMoveToRecycleBin, path);
  MarkGone(Key(path), entry->IsDirectory() && !entry->IsReparsePoint());
  ++recycled_.items;
  recycled_.bytes += bytes;
  return true;
}

bool DryRunSystem::WriteFile(std::string_view path, std::string_view) {
  Record(Change::Kind::kWriteFile, path);
  return true;
}

bool DryRunSystem::ReplaceFile(std::string_view from, std::string_view to) {
  Record(Change::Kind::kReplaceFile, std::string(from) + " -> " + std::string(to));
  return true;
}

ReadResult DryRunSystem::ReadFile(std::string_view path, FileAccess access) {
  if (Gone(Key(path))) return {};
  return ProxySystem::ReadFile(path, access);
}

bool DryRunSystem::ListFolder(std::string_view folder, FunctionRef<bool(const DirEntry&)> visit) {
  std::u16string key;
  bool filter = false;
  if (!gone_.empty()) {
    key = Key(folder);
    if (Gone(key)) return false;
    filter = goneInFolder_.count(key) != 0;
  }
  std::u16string child = key + u'\\';
  const std::size_t stem = child.size();
  // Listings nest (a walk lists a subfolder while showing its parent's entry).
  const std::string_view outerFolder = listedFolder_;
  const DirEntry* const outerEntry = listed_;
  const bool listed = ProxySystem::ListFolder(folder, [&](const DirEntry& entry) {
    if (filter) {
      child.resize(stem);
      child += Folded(entry.name);
      if (gone_.count(child)) return true;
    }
    listedFolder_ = folder;
    listed_ = &entry;
    const bool more = visit(entry);
    listed_ = nullptr;
    return more;
  });
  listedFolder_ = outerFolder;
  listed_ = outerEntry;
  return listed;
}

std::optional<DirEntry> DryRunSystem::LookUp(std::string_view path) {
  if (Gone(Key(path))) return std::nullopt;
  std::optional<DirEntry> entry = ProxySystem::LookUp(path);
  lookedUp_.reset();
  if (entry) lookedUp_ = FileStatus{entry->attributes, entry->size};
  lookedUpPath_.assign(path);
  return entry;
}

std::optional<FileStatus> DryRunSystem::Status(std::string_view path) {
  if (Gone(Key(path))) return std::nullopt;
  lookedUp_ = ProxySystem::Status(path);
  lookedUpPath_.assign(path);
  return lookedUp_;
}

std::unique_ptr<RegistryKey> DryRunSystem::OpenRegistryKey(RegistryRoot root,
                                                           std::string_view path) {
  std::unique_ptr<RegistryKey> key = ProxySystem::OpenRegistryKey(root, path);
  if (!key) return nullptr;
  std::string prefix = root == RegistryRoot::kCurrentUser ? "HKCU\\" : "HKLM\\";
  prefix += FoldedUtf8(path) + '\n';
  return std::make_unique<DryRunKey>(*this, std::move(key), std::move(prefix));
}

void DryRunSystem::ListUrlCache(FunctionRef<bool(const std::string& sourceUrl)> visit) {
  ProxySystem::ListUrlCache(
      [&](const std::string& url) { return deletedUrls_.count(url) ? true : visit(url); });
}

bool DryRunSystem::DeleteUrlCacheItem(std::string_view sourceUrl) {
  if (!deletedUrls_.insert(std::string(sourceUrl)).second) return false;
  Record(Change::Kind::kDeleteUrlCacheItem, sourceUrl);
  return true;
}

void DryRunSystem::EmptyRecycleBin() {
  Record(Change::Kind::kEmptyRecycleBin, {});
  binEmptied_ = true;
  recycled_ = {};
}

std::optional<RecycleBinContent> DryRunSystem::QueryRecycleBin() {
  std::optional<RecycleBinContent> content = ProxySystem::QueryRecycleBin();
  if (!content) return std::nullopt;
  if (binEmptied_) return RecycleBinContent{};
  content->items += recycled_.items;
  content->bytes += recycled_.bytes;
  return content;
}

void DryRunSystem::ClearRecentDocuments() {
  Record(Change::Kind::kClearRecentDocuments, {});
}

}  // namespace platform
