#include "platform/dry_run_system.h"

#include <algorithm>

#include "platform/shell_names.h"
#include "platform/utf.h"
#include "platform/wildcard.h"

namespace platform {

namespace {

// `utf8` decoded into `out`, upper-cased as Windows compares names; bytes that are no text stand
// for themselves, which still tells two such names apart.
void FoldInto(std::string_view utf8, std::u16string& out) {
  if (!Utf8ToUtf16(utf8, out)) out.assign(utf8.begin(), utf8.end());
  for (char16_t& unit : out)
    unit = UpcaseChar(unit);
}

std::string FoldedUtf8(std::string_view utf8) {
  std::u16string folded;
  FoldInto(utf8, folded);
  return Utf16ToUtf8(folded);
}

std::size_t HashOf(std::u16string_view units) {
  return std::hash<std::u16string_view>{}(units);
}

const char* RootName(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kCurrentUser:
      return "HKCU";
    case RegistryRoot::kLocalMachine:
      return "HKLM";
    case RegistryRoot::kUsers:
      return "HKU";
    case RegistryRoot::kClassesRoot:
      return "HKCR";
  }
  return "?";
}

// The root and the key's path, folded, one backslash before each part.
std::string FoldedKey(RegistryRoot root, std::string_view path) {
  std::string key = RootName(root);
  const std::string folded = FoldedUtf8(path);
  std::string_view rest = folded;
  while (!rest.empty()) {
    const std::size_t cut = std::min(rest.find('\\'), rest.size());
    if (cut > 0) (key += '\\') += rest.substr(0, cut);
    rest.remove_prefix(std::min(cut + 1, rest.size()));
  }
  return key;
}

}  // namespace

// A registry key whose deleted values and subkeys stay deleted for this run.
class DryRunSystem::DryRunKey final : public RegistryKey {
 public:
  DryRunKey(DryRunSystem& owner, std::unique_ptr<RegistryKey> inner, std::string folded)
      : owner_(owner),
        inner_(std::move(inner)),
        folded_(folded),
        prefix_(std::move(folded) + '\n') {}

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
    owner_.Record(Change::kDeleteRegistryValue, prefix_ + std::string(name));
    return true;
  }
  std::vector<std::string> SubKeyNames() override {
    std::vector<std::string> names;
    for (std::string& name : inner_->SubKeyNames()) {
      if (!owner_.RegistryKeyDeleted(SubKey(name))) names.push_back(std::move(name));
    }
    return names;
  }
  bool DeleteSubKeyTree(std::string_view name) override {
    if (name.empty() || name.find('\\') != std::string_view::npos) return false;
    const std::string subKey = SubKey(name);
    if (owner_.RegistryKeyDeleted(subKey)) return false;
    bool there = false;
    for (const std::string& existing : inner_->SubKeyNames())
      there = there || SameName(existing, name);
    if (!there) return false;
    owner_.Record(Change::kDeleteRegistryKey, subKey);
    owner_.deletedRegistryKeys_.insert(subKey);
    return true;
  }

 private:
  bool Deleted(std::string_view name) const {
    return owner_.deletedRegistryValues_.count(prefix_ + FoldedUtf8(name)) != 0;
  }
  std::string SubKey(std::string_view name) const { return folded_ + '\\' + FoldedUtf8(name); }

  DryRunSystem& owner_;
  std::unique_ptr<RegistryKey> inner_;
  std::string folded_;  // the root and the key's path, folded
  std::string prefix_;  // the same, then a separator before a value's name
};

bool DryRunSystem::RegistryKeyDeleted(std::string_view folded) const {
  if (deletedRegistryKeys_.empty()) return false;
  for (std::size_t cut = folded.find('\\'); cut != std::string_view::npos;
       cut = folded.find('\\', cut + 1)) {
    if (deletedRegistryKeys_.count(std::string(folded.substr(0, cut)))) return true;
  }
  return deletedRegistryKeys_.count(std::string(folded)) != 0;
}

DryRunSystem::Key DryRunSystem::KeyOf(std::string_view path) {
  // The run forms its paths from absolute folders and listed names, so a lexical form is
  // enough: Windows' own full-path rules would fold "junk." onto its namesake "junk".
  FoldInto(path, folded_);
  std::size_t kept = 0;
  for (char16_t unit : folded_) {
    if (unit == u'/') unit = u'\\';
    if (unit == u'\\' && kept > 0 && folded_[kept - 1] == u'\\') continue;
    folded_[kept++] = unit;
  }
  while (kept > 2 && folded_[kept - 1] == u'\\')
    --kept;
  folded_.resize(kept);
  return HashOf(folded_);
}

bool DryRunSystem::FoldedGone(Key key) const {
  if (gone_.count(key)) return true;
  if (goneFolders_.empty()) return false;
  const std::u16string_view folded = folded_;
  for (std::size_t cut = folded.find(u'\\'); cut != std::u16string_view::npos;
       cut = folded.find(u'\\', cut + 1)) {
    if (goneFolders_.count(HashOf(folded.substr(0, cut)))) return true;
  }
  return false;
}

bool DryRunSystem::Gone(std::string_view path) {
  return !gone_.empty() && FoldedGone(KeyOf(path));
}

void DryRunSystem::MarkGone(std::string_view path, bool folder) {
  lookedUp_.reset();
  lookedUpPath_.clear();
  const Key key = KeyOf(path);
  if (folder) goneFolders_.insert(key);
  if (!gone_.insert(key).second) return;
  const std::size_t cut = folded_.rfind(u'\\');
  ++goneInFolder_[HashOf(
      std::u16string_view(folded_).substr(0, cut == std::u16string::npos ? 0 : cut))];
}

void DryRunSystem::Record(Change kind, std::string_view subject) {
  const std::size_t begin = subjects_.size();
  subjects_ += subject;
  changes_.push_back({kind, begin, subjects_.size()});
}

std::size_t DryRunSystem::Count(Change kind) const {
  std::size_t count = 0;
  for (const Made& change : changes_)
    count += change.kind == kind;
  return count;
}

std::string_view DryRunSystem::Subject(std::size_t n) const {
  return std::string_view(subjects_).substr(changes_[n].begin, changes_[n].end - changes_[n].begin);
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

bool DryRunSystem::LeadsElsewhere(std::string_view path, const FileStatus& entry) {
  // As the backends find out before they remove a file: a link, or (under Wine, where a link to
  // a file looks like the file) a path whose final path is another.
  return entry.IsReparsePoint() || !SameName(ProxySystem::FinalPath(path), path);
}

bool DryRunSystem::DeleteFile(std::string_view path) {
  const std::optional<FileStatus> entry = EntryAt(path);
  if (!entry || entry->IsDirectory() || (entry->attributes & attr::kReadOnly) ||
      LeadsElsewhere(path, *entry)) {
    return false;
  }
  Record(Change::kDeleteFile, path);
  MarkGone(path, false);
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
  Record(Change::kRemoveFolder, path);
  // Emptied first, or a link: nothing below it is left to hide.
  MarkGone(path, false);
  return true;
}

Recycled DryRunSystem::MoveToRecycleBin(std::string_view path) {
  // The backends refuse these before asking the shell.
  if (path.find_first_of("*?") != std::string_view::npos) return Recycled::kRefused;
  const std::optional<FileStatus> entry = EntryAt(path);
  if (!entry) return Recycled::kMissing;
  if (path.size() >= kShellPathLimit) return Recycled::kPathTooLong;
  if (HasNameTheShellCannotReach(path) || entry->IsDirectory() || LeadsElsewhere(path, *entry) ||
      path.size() < 3 || GetDriveType(path.substr(0, 2)) != DriveType::kFixed) {
    return Recycled::kRefused;
  }
  Record(Change::kMoveToRecycleBin, path);
  MarkGone(path, false);
  ++recycled_.items;
  recycled_.bytes += entry->size;
  return Recycled::kYes;
}

bool DryRunSystem::WriteFile(std::string_view path, std::string_view) {
  Record(Change::kWriteFile, path);
  return true;
}

bool DryRunSystem::ReplaceFile(std::string_view, std::string_view to) {
  Record(Change::kReplaceFile, to);
  return true;
}

bool DryRunSystem::WriteNewFile(std::string_view path, std::string_view) {
  if (EntryAt(path)) return false;
  Record(Change::kWriteNewFile, path);
  return true;
}

std::optional<std::string> DryRunSystem::ReadFileStart(std::string_view path, std::size_t count) {
  if (Gone(path)) return std::nullopt;
  return ProxySystem::ReadFileStart(path, count);
}

std::string DryRunSystem::FinalPath(std::string_view path) {
  if (Gone(path)) return {};
  return ProxySystem::FinalPath(path);
}

bool DryRunSystem::CreateFolder(std::string_view path) {
  Record(Change::kCreateFolder, path);
  return true;
}

ReadResult DryRunSystem::ReadFile(std::string_view path, FileAccess access) {
  if (Gone(path)) return {};
  return ProxySystem::ReadFile(path, access);
}

bool DryRunSystem::ListFolder(std::string_view folder, FunctionRef<bool(const DirEntry&)> visit) {
  // The folder's own folded form: the visitor may ask other paths of the dry run meanwhile.
  std::u16string child;
  bool filter = false;
  if (!gone_.empty()) {
    const Key key = KeyOf(folder);
    if (FoldedGone(key)) return false;
    filter = goneInFolder_.count(key) != 0;
    if (filter) child = folded_ + u'\\';
  }
  const std::size_t stem = child.size();
  std::u16string name;
  // Listings nest (a walk lists a subfolder while showing its parent's entry).
  const std::string_view outerFolder = listedFolder_;
  const DirEntry* const outerEntry = listed_;
  const bool listed = ProxySystem::ListFolder(folder, [&](const DirEntry& entry) {
    if (filter) {
      FoldInto(entry.name, name);
      child.resize(stem);
      child += name;
      if (gone_.count(HashOf(child))) return true;
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
  if (Gone(path)) return std::nullopt;
  std::optional<DirEntry> entry = ProxySystem::LookUp(path);
  lookedUp_.reset();
  if (entry) lookedUp_ = FileStatus{entry->attributes, entry->size};
  lookedUpPath_.assign(path);
  return entry;
}

std::optional<FileStatus> DryRunSystem::Status(std::string_view path) {
  if (Gone(path)) return std::nullopt;
  lookedUp_ = ProxySystem::Status(path);
  lookedUpPath_.assign(path);
  return lookedUp_;
}

std::unique_ptr<RegistryKey> DryRunSystem::OpenRegistryKey(RegistryRoot root,
                                                           std::string_view path) {
  std::string folded = FoldedKey(root, path);
  if (RegistryKeyDeleted(folded)) return nullptr;
  std::unique_ptr<RegistryKey> key = ProxySystem::OpenRegistryKey(root, path);
  if (!key) return nullptr;
  return std::make_unique<DryRunKey>(*this, std::move(key), std::move(folded));
}

bool DryRunSystem::RegistryKeyExists(RegistryRoot root, std::string_view path) {
  return !RegistryKeyDeleted(FoldedKey(root, path)) && ProxySystem::RegistryKeyExists(root, path);
}

void DryRunSystem::ListUrlCache(FunctionRef<bool(const std::string& sourceUrl)> visit) {
  ProxySystem::ListUrlCache(
      [&](const std::string& url) { return deletedUrls_.count(url) ? true : visit(url); });
}

bool DryRunSystem::DeleteUrlCacheItem(std::string_view sourceUrl) {
  if (!deletedUrls_.insert(std::string(sourceUrl)).second) return false;
  Record(Change::kDeleteUrlCacheItem, sourceUrl);
  return true;
}

void DryRunSystem::EmptyRecycleBin() {
  Record(Change::kEmptyRecycleBin, {});
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
  Record(Change::kClearRecentDocuments, {});
  // The shell deletes the shortcuts of its recent-documents folder with the list.
  const std::string recent = SpecialFolder(csidl::kRecent);
  if (recent.empty()) return;
  const std::string folder = recent.back() == '\\' ? recent : recent + '\\';
  std::vector<std::string> shortcuts;
  ListFolder(folder, [&](const DirEntry& entry) {
    if (!entry.IsDirectory() && MatchesWildcard("*.lnk", entry.name)) {
      shortcuts.push_back(folder + entry.name);
    }
    return true;
  });
  for (const std::string& shortcut : shortcuts)
    MarkGone(shortcut, false);
}

}  // namespace platform
