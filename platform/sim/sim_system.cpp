#include "platform/sim/sim_system.h"

#include <functional>
#include <iterator>
#include <limits>
#include <utility>

#include "platform/shell_names.h"
#include "platform/utf.h"
#include "platform/wildcard.h"

namespace platform::sim {

std::string FoldName(std::string_view name) {
  std::string out(name);
  bool ascii = true;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (ascii) return out;
  std::optional<std::u16string> wide = Utf8ToUtf16(name);
  if (!wide) return std::string(name);
  for (char16_t& unit : *wide)
    unit = UpcaseChar(unit);
  return Utf16ToUtf8(*wide);
}

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsValidComponent(std::string_view name) {
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20) return false;
    if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos) return false;
  }
  return !name.empty();
}

// "X:\a\b" with backslashes only and no empty, "." or ".." part: the form the real backend hands
// to Windows verbatim, trailing dots and blanks of its names kept.
bool IsCanonicalAbsolute(std::string_view path) {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return false;
  std::string_view rest = path.substr(3);
  while (!rest.empty()) {
    const size_t cut = rest.find_first_of("\\/");
    const std::string_view part = rest.substr(0, cut);
    if (cut != std::string_view::npos && rest[cut] == '/') return false;
    if (part.empty() || part == "." || part == "..") return false;
    if (cut == std::string_view::npos || cut + 1 == rest.size()) break;
    rest.remove_prefix(cut + 1);
  }
  return true;
}

std::string Join(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || path.back() != '\\') path += '\\';
  path += name;
  return path;
}

}  // namespace

struct SimSystem::Node {
  using Children = std::list<std::unique_ptr<Node>>;

  std::string name;
  std::string shortName;
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  std::string content;
  bool inUse = false;
  bool writeProtected = false;  // a folder: nothing in or below it may be changed
  std::uint32_t reparseTag = 0;
  std::uint64_t lastWrite = kDefaultWriteTime;
  std::string linkTarget;  // for a folder link, or a file link
  bool fileLink = false;   // a link to a file that looks like a plain file
  Children children;       // in listing order
  std::unordered_map<std::string, Children::iterator> byName;
  std::unordered_map<std::string, Children::iterator> byShortName;

  bool IsDirectory() const { return (attributes & attr::kDirectory) != 0; }
  bool IsLink() const { return (attributes & attr::kReparsePoint) != 0; }

  Node* Child(std::string_view childName) const {
    const std::string key = FoldName(childName);
    auto it = byName.find(key);
    if (it != byName.end()) return it->second->get();
    it = byShortName.find(key);
    return it != byShortName.end() ? it->second->get() : nullptr;
  }

  Node& Add(std::unique_ptr<Node> child) {
    const std::string key = FoldName(child->name);
    children.push_back(std::move(child));
    auto it = std::prev(children.end());
    byName[key] = it;
    if (!(*it)->shortName.empty()) byShortName[FoldName((*it)->shortName)] = it;
    return **it;
  }

  std::unique_ptr<Node> Remove(const Node* child) {
    auto found = byName.find(FoldName(child->name));
    if (found == byName.end()) return nullptr;
    auto it = found->second;
    byName.erase(found);
    if (!child->shortName.empty()) byShortName.erase(FoldName(child->shortName));
    std::unique_ptr<Node> owned = std::move(*it);
    children.erase(it);
    return owned;
  }

  DirEntry Entry() const {
    DirEntry entry;
    entry.name = name;
    entry.attributes = attributes;
    entry.size = IsDirectory() ? 0 : size;
    entry.reparseTag = IsLink() ? reparseTag : 0;
    entry.lastWrite = lastWrite;
    return entry;
  }
};

struct SimSystem::Drive {
  DriveType type = DriveType::kFixed;
  std::string label;
  Node root;
  bool hasRecycleBin = true;
  std::uint64_t largestRecyclable = std::numeric_limits<std::uint64_t>::max();
};

SimSystem::SimSystem() {
  for (RegistryRoot root : {RegistryRoot::kCurrentUser, RegistryRoot::kLocalMachine})
    MakeRegistryKey(root, {});
}

SimSystem::~SimSystem() = default;

// --- Paths

bool SimSystem::Parse(std::string_view path, char& drive, std::vector<std::string>& parts) const {
  parts.clear();
  // Like the real backend: a canonical absolute path is taken verbatim, any other form goes
  // through Win32's normalisation.
  bool verbatim = IsCanonicalAbsolute(path);
  if (path.substr(0, 4) == "\\\\?\\") {
    path.remove_prefix(4);
    verbatim = true;
  }
  if (path.empty()) return false;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return false;  // no UNC

  std::string_view rest;
  auto currentParts = [&]() {
    std::vector<std::string> cwd;
    char cwdDrive = 0;
    // The current directory is always stored absolute, so this cannot recurse further.
    if (currentDirectory_.size() >= 3) {
      cwdDrive = currentDirectory_[0];
      std::string_view tail = std::string_view(currentDirectory_).substr(3);
      while (!tail.empty()) {
        const size_t cut = tail.find('\\');
        cwd.emplace_back(tail.substr(0, cut));
        if (cut == std::string_view::npos) break;
        tail.remove_prefix(cut + 1);
      }
    }
    return std::make_pair(cwdDrive, cwd);
  };

  if (path.size() >= 2 && path[1] == ':') {
    const char letter = path[0];
    if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'))) return false;
    drive = static_cast<char>(letter & ~0x20);
    rest = path.substr(2);
    if (rest.empty() || !IsSeparator(rest[0])) {
      auto [cwdDrive, cwd] = currentParts();
      if (cwdDrive == drive) parts = cwd;
    }
  } else if (IsSeparator(path[0])) {
    drive = currentDirectory_[0];
    rest = path;
  } else {
    auto [cwdDrive, cwd] = currentParts();
    drive = cwdDrive;
    parts = cwd;
    rest = path;
  }

  while (!rest.empty()) {
    size_t cut = 0;
    while (cut < rest.size() && !IsSeparator(rest[cut]))
      ++cut;
    std::string part(rest.substr(0, cut));
    rest.remove_prefix(cut < rest.size() ? cut + 1 : cut);
    if (part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    // Win32 path normalisation drops trailing dots and blanks of a component.
    if (!verbatim) {
      while (!part.empty() && (part.back() == '.' || part.back() == ' '))
        part.pop_back();
    }
    if (part.empty()) continue;
    if (!IsValidComponent(part)) return false;
    parts.push_back(std::move(part));
  }
  return true;
}

SimSystem::Located SimSystem::Locate(std::string_view path) const {
  Located found;
  char drive = 0;
  std::vector<std::string> parts;
  if (!Parse(path, drive, parts)) return found;
  auto d = drives_.find(drive);
  if (d == drives_.end()) return found;
  Node* node = &d->second->root;
  if (parts.empty()) {
    found.node = node;
    return found;
  }
  bool writeProtected = node->writeProtected;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    Node* child = node->Child(parts[i]);
    if (child && child->IsLink()) child = LocateFolder(child->linkTarget);
    if (!child || !child->IsDirectory()) return found;
    node = child;
    writeProtected = writeProtected || node->writeProtected;
  }
  found.writeProtected = writeProtected;
  found.parent = node;
  found.name = parts.back();
  found.node = node->Child(parts.back());
  return found;
}

SimSystem::Node* SimSystem::LocateFolder(std::string_view path) const {
  Node* node = Locate(path).node;
  // A link leads to its target; a chain of links that never ends leads nowhere.
  for (int hops = 0; node && node->IsLink() && hops < 32; ++hops) {
    node = Locate(node->linkTarget).node;
  }
  if (node && node->IsLink()) return nullptr;
  return node && node->IsDirectory() ? node : nullptr;
}

SimSystem::Node* SimSystem::MakeFolders(std::string_view path) {
  char drive = 0;
  std::vector<std::string> parts;
  if (!Parse(path, drive, parts)) return nullptr;
  auto d = drives_.find(drive);
  if (d == drives_.end()) return nullptr;
  Node* node = &d->second->root;
  for (const std::string& part : parts) {
    Node* child = node->Child(part);
    if (!child) {
      auto folder = std::make_unique<Node>();
      folder->name = part;
      folder->attributes = attr::kDirectory;
      child = &node->Add(std::move(folder));
    }
    if (!child->IsDirectory()) return nullptr;
    node = child;
  }
  return node;
}

SimSystem::Node& SimSystem::PutFile(std::string_view path) {
  Located at = Locate(path);
  if (!at.parent) {
    const size_t cut = path.find_last_of("\\/");
    at.parent = MakeFolders(path.substr(0, cut));
    at = Locate(path);
  }
  if (!at.parent) std::abort();  // a test seeded a path that cannot exist
  if (at.node) at.parent->Remove(at.node);
  auto file = std::make_unique<Node>();
  file->name = at.name;
  return at.parent->Add(std::move(file));
}

// --- Seeding

void SimSystem::AddDrive(char letter, DriveType type, std::string label) {
  auto drive = std::make_unique<Drive>();
  drive->type = type;
  drive->label = std::move(label);
  drive->root.attributes = attr::kDirectory;
  drive->hasRecycleBin = type == DriveType::kFixed;
  drives_[static_cast<char>(letter & ~0x20)] = std::move(drive);
}

void SimSystem::SetRecycleBin(char letter, bool present, std::uint64_t largestFile) {
  auto d = drives_.find(static_cast<char>(letter & ~0x20));
  if (d == drives_.end()) std::abort();
  d->second->hasRecycleBin = present;
  d->second->largestRecyclable = largestFile;
}

void SimSystem::SetEnvironmentVariable(std::string_view name, std::optional<std::string> value) {
  if (value) {
    environment_[FoldName(name)] = std::move(*value);
  } else {
    environment_.erase(FoldName(name));
  }
}

void SimSystem::AddFolder(std::string_view path, std::uint32_t attributes) {
  Node* folder = MakeFolders(path);
  if (!folder) std::abort();
  folder->attributes = attr::kDirectory | attributes;
}

void SimSystem::SetWriteProtected(std::string_view folder) {
  Node* node = LocateFolder(folder);
  if (!node) std::abort();  // a test protected a folder that is not there
  node->writeProtected = true;
}

void SimSystem::AddFile(std::string_view path, std::string_view content, std::uint32_t attributes) {
  Node& file = PutFile(path);
  file.attributes = attributes == 0 ? attr::kArchive : attributes;
  file.content = std::string(content);
  file.size = content.size();
}

void SimSystem::AddFileOfSize(std::string_view path, std::uint64_t size, std::uint32_t attributes) {
  Node& file = PutFile(path);
  file.attributes = attributes == 0 ? attr::kArchive : attributes;
  file.size = size;
}

void SimSystem::AddFolderLink(std::string_view path, std::string_view target, std::uint32_t tag) {
  Node& link = PutFile(path);
  link.attributes = attr::kDirectory | attr::kReparsePoint;
  link.reparseTag = tag;
  link.linkTarget = std::string(target);
}

void SimSystem::AddFileLink(std::string_view path, std::string_view target) {
  const Node* to = Locate(target).node;
  if (!to || to->IsDirectory()) std::abort();
  const std::uint64_t size = to->size;
  Node& link = PutFile(path);
  link.attributes = attr::kArchive;
  link.size = size;
  link.fileLink = true;
  link.linkTarget = std::string(target);
}

void SimSystem::SetShortName(std::string_view path, std::string shortName) {
  Located at = Locate(path);
  if (!at.node || !at.parent) std::abort();
  std::unique_ptr<Node> node = at.parent->Remove(at.node);
  node->shortName = std::move(shortName);
  at.parent->Add(std::move(node));
}

void SimSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
  Node* node = Locate(path).node;
  if (!node) std::abort();
  const std::uint32_t kept = node->attributes & (attr::kDirectory | attr::kReparsePoint);
  node->attributes = kept | attributes;
}

void SimSystem::SetWriteTime(std::string_view path, std::uint64_t lastWrite) {
  Node* node = Locate(path).node;
  if (!node) std::abort();
  node->lastWrite = lastWrite;
}

void SimSystem::SetInUse(std::string_view path, bool inUse) {
  Node* node = Locate(path).node;
  if (!node) std::abort();
  node->inUse = inUse;
}

std::vector<std::string> SimSystem::RemoveEntry(std::string_view path) {
  std::vector<std::string> removed;
  const Located at = Locate(path);
  if (!at.node || !at.parent) return removed;
  const std::string top = Canonical(path);
  removed.push_back(top);
  if (!at.node->IsLink()) CollectPaths(*at.node, top, removed);
  at.parent->Remove(at.node);
  return removed;
}

void SimSystem::SetCurrentDirectory(std::string_view path) {
  char drive = 0;
  std::vector<std::string> parts;
  if (!Parse(path, drive, parts)) std::abort();
  std::string cwd{drive, ':', '\\'};
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) cwd += '\\';
    cwd += parts[i];
  }
  currentDirectory_ = cwd;
}

// --- Inspection

std::string SimSystem::Canonical(std::string_view path) const {
  char drive = 0;
  std::vector<std::string> parts;
  if (!Parse(path, drive, parts)) return std::string(path);
  std::string canonical{drive, ':'};
  for (const std::string& part : parts) {
    canonical += '\\';
    canonical += FoldName(part);
  }
  return canonical;
}

void SimSystem::CollectPaths(const Node& node, const std::string& path,
                             std::vector<std::string>& out) const {
  for (const auto& child : node.children) {
    std::string childPath = path + '\\' + FoldName(child->name);
    out.push_back(childPath);
    if (child->IsDirectory() && !child->IsLink()) CollectPaths(*child, childPath, out);
  }
}

bool SimSystem::Exists(std::string_view path) const {
  return Locate(path).node != nullptr;
}

std::optional<std::string> SimSystem::Content(std::string_view path) const {
  const Node* node = Locate(path).node;
  if (!node || node->IsDirectory()) return std::nullopt;
  if (node->fileLink) return Content(node->linkTarget);
  return node->content;
}

std::optional<std::uint32_t> SimSystem::Attributes(std::string_view path) const {
  const Node* node = Locate(path).node;
  if (!node) return std::nullopt;
  return node->attributes;
}

void SimSystem::DumpNode(const Node& node, const std::string& path, std::string& out) const {
  for (const auto& child : node.children) {
    const std::string childPath = Join(path, child->name);
    out += childPath;
    if (child->IsLink()) {
      out += " -> ";
      out += child->linkTarget;
    } else if (child->IsDirectory()) {
      out += '\\';
    } else {
      out += " (";
      out += std::to_string(child->size);
      out += ')';
    }
    out += '\n';
    if (child->IsDirectory() && !child->IsLink()) DumpNode(*child, childPath, out);
  }
}

std::string SimSystem::Dump(std::string_view folder) const {
  std::string out;
  if (!folder.empty()) {
    if (const Node* node = LocateFolder(folder)) DumpNode(*node, std::string(folder), out);
    return out;
  }
  for (const auto& [letter, drive] : drives_) {
    DumpNode(drive->root, std::string{letter, ':'}, out);
  }
  return out;
}

// --- System

ReadResult SimSystem::ReadFile(std::string_view path, FileAccess access) {
  Count(Op::kReadFile);
  ReadResult result;
  result.error = ReadError::kOther;
  const Node* node = Locate(path).node;
  if (!node) {
    result.error = ReadError::kNotFound;
    return result;
  }
  if (node->IsDirectory()) return result;
  if (access == FileAccess::kReadWrite && (node->attributes & attr::kReadOnly)) return result;
  if (node->inUse) return result;
  if (node->fileLink) return ReadFile(node->linkTarget, access);
  result.bytes = node->content;
  return result;
}

std::optional<std::string> SimSystem::ReadFileStart(std::string_view path, std::size_t count) {
  Count(Op::kReadFileStart);
  const Node* node = Locate(path).node;
  if (!node || node->IsDirectory() || node->inUse) return std::nullopt;
  if (node->fileLink) return ReadFileStart(node->linkTarget, count);
  return node->content.substr(0, count);
}

bool SimSystem::WriteFile(std::string_view path, std::string_view bytes) {
  Count(Op::kWriteFile);
  Located at = Locate(path);
  if (!at.parent || at.writeProtected || !IsValidComponent(at.name)) return false;
  if (at.node &&
      (at.node->IsDirectory() || at.node->inUse || (at.node->attributes & attr::kReadOnly))) {
    return false;
  }
  Node* file = at.node;
  if (!file) {
    auto created = std::make_unique<Node>();
    created->name = at.name;
    created->attributes = attr::kArchive;
    file = &at.parent->Add(std::move(created));
  }
  file->content = std::string(bytes);
  file->size = file->content.size();
  file->lastWrite = now_;
  return true;
}

bool SimSystem::ReplaceFile(std::string_view from, std::string_view to) {
  Count(Op::kReplaceFile);
  Located source = Locate(from);
  Located target = Locate(to);
  if (!source.node || source.node->IsDirectory() || source.node->inUse) return false;
  if (!target.parent || !IsValidComponent(target.name)) return false;
  if (source.writeProtected || target.writeProtected) return false;
  if (target.node == source.node) return true;
  if (target.node) {
    if (target.node->IsDirectory() || target.node->inUse ||
        (target.node->attributes & attr::kReadOnly)) {
      return false;
    }
    target.parent->Remove(target.node);
  }
  std::unique_ptr<Node> moved = source.parent->Remove(source.node);
  moved->name = target.name;
  moved->shortName.clear();
  target.parent->Add(std::move(moved));
  return true;
}

bool SimSystem::DeleteFile(std::string_view path) {
  Count(Op::kDeleteFile);
  Located at = Locate(path);
  if (!at.node || !at.parent || at.writeProtected) return false;
  // Files only; a link that looks like a file is refused, as the real backend refuses it.
  if (at.node->IsDirectory() || at.node->fileLink || at.node->inUse ||
      (at.node->attributes & attr::kReadOnly)) {
    return false;
  }
  at.parent->Remove(at.node);
  return true;
}

bool SimSystem::WriteNewFile(std::string_view path, std::string_view bytes) {
  Count(Op::kWriteNewFile);
  Located at = Locate(path);
  if (!at.parent || at.node || at.writeProtected || !IsValidComponent(at.name)) return false;
  auto created = std::make_unique<Node>();
  created->name = at.name;
  created->attributes = attr::kArchive;
  created->content = std::string(bytes);
  created->size = created->content.size();
  created->lastWrite = now_;
  at.parent->Add(std::move(created));
  return true;
}

bool SimSystem::RemoveFolder(std::string_view path) {
  Count(Op::kRemoveFolder);
  Located at = Locate(path);
  if (!at.node || !at.parent || at.writeProtected || !at.node->IsDirectory()) return false;
  // A link goes as a link; a real folder only when it is empty.
  if (!at.node->IsLink() && !at.node->children.empty()) return false;
  at.parent->Remove(at.node);
  return true;
}

bool SimSystem::CreateFolder(std::string_view path) {
  Count(Op::kCreateFolder);
  Located at = Locate(path);
  if (at.node) return at.node->IsDirectory() && !at.node->IsLink();
  if (!at.parent || at.writeProtected || !IsValidComponent(at.name)) return false;
  auto folder = std::make_unique<Node>();
  folder->name = at.name;
  folder->attributes = attr::kDirectory;
  at.parent->Add(std::move(folder));
  return true;
}

Recycled SimSystem::MoveToRecycleBin(std::string_view path) {
  Count(Op::kMoveToRecycleBin);
  if (path.find_first_of("*?") != std::string_view::npos) return Recycled::kRefused;
  Located at = Locate(path);
  if (!at.node || !at.parent) return Recycled::kMissing;
  // As the real backend: the shell takes no path of MAX_PATH characters or more.
  if (path.size() >= kShellPathLimit) return Recycled::kPathTooLong;
  if (HasNameTheShellCannotReach(path) || at.node->IsDirectory() || at.node->fileLink ||
      at.node->inUse || at.writeProtected) {
    return Recycled::kRefused;
  }
  const Drive& drive = *drives_.at(Canonical(path)[0]);
  if (!drive.hasRecycleBin || at.node->size > drive.largestRecyclable) return Recycled::kRefused;
  recycleBin_.emplace_back(std::string(path), at.parent->Remove(at.node));
  return Recycled::kYes;
}

void SimSystem::EmptyRecycleBin() {
  Count(Op::kEmptyRecycleBin);
  if (!emptyRecycleBinMissing_) recycleBin_.clear();
}

std::optional<RecycleBinContent> SimSystem::QueryRecycleBin() {
  Count(Op::kQueryRecycleBin);
  // The shell that lacks the one function lacks the other.
  if (emptyRecycleBinMissing_) return std::nullopt;
  RecycleBinContent content;
  for (const auto& item : recycleBin_) {
    ++content.items;
    std::vector<const Node*> pending{item.second.get()};
    while (!pending.empty()) {
      const Node* node = pending.back();
      pending.pop_back();
      content.bytes += node->size;
      if (!node->IsLink()) {
        for (const auto& child : node->children)
          pending.push_back(child.get());
      }
    }
  }
  return content;
}

std::vector<std::string> SimSystem::RecycleBinPaths() const {
  std::vector<std::string> paths;
  for (const auto& item : recycleBin_)
    paths.push_back(item.first);
  return paths;
}

bool SimSystem::ListFolder(std::string_view folder, FunctionRef<bool(const DirEntry&)> visit) {
  Count(Op::kListFolder);
  const Node* node = LocateFolder(folder);
  if (!node) return false;
  // Taken whole first: the visitor may change the folder it is visiting.
  std::vector<DirEntry> entries;
  entries.reserve(node->children.size());
  for (const auto& child : node->children)
    entries.push_back(child->Entry());
  for (const DirEntry& entry : entries) {
    if (!visit(entry)) break;
  }
  return true;
}

std::optional<DirEntry> SimSystem::LookUp(std::string_view path) {
  Count(Op::kLookUp);
  Located at = Locate(path);
  if (!at.node || !at.parent) return std::nullopt;  // a drive root is no entry
  return at.node->Entry();
}

std::optional<FileStatus> SimSystem::Status(std::string_view path) {
  Count(Op::kStatus);
  Located at = Locate(path);
  if (!at.node || !at.parent) return std::nullopt;
  const DirEntry entry = at.node->Entry();
  return FileStatus{entry.attributes, entry.size};
}

std::string SimSystem::CurrentDirectory() {
  Count(Op::kCurrentDirectory);
  return currentDirectory_;
}

std::string SimSystem::FinalPath(std::string_view path) {
  Count(Op::kFinalPath);
  return Resolved(path, 0);
}

std::string SimSystem::Resolved(std::string_view path, int hops) const {
  char drive = 0;
  std::vector<std::string> parts;
  if (hops > 32 || !Parse(path, drive, parts)) return {};
  auto d = drives_.find(drive);
  if (d == drives_.end()) return {};
  std::string final{drive, ':', '\\'};
  const Node* node = &d->second->root;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const Node* child = node->Child(parts[i]);
    if (!child) return {};
    if (child->IsLink() || child->fileLink) {
      final = Resolved(child->linkTarget, hops + 1);
      if (final.empty()) return {};
      if (i + 1 == parts.size()) return final;
      child = LocateFolder(final);
      if (!child) return {};
    } else {
      if (final.back() != '\\') final += '\\';
      final += child->name;
    }
    node = child;
  }
  return final;
}

bool SimSystem::IsAdministrator() {
  Count(Op::kIsAdministrator);
  return isAdmin_;
}

void SimSystem::SetRunning(std::string_view programFile, bool running) {
  if (running) {
    running_.insert(FoldName(programFile));
  } else {
    running_.erase(FoldName(programFile));
  }
}

bool SimSystem::ProcessRunning(std::string_view programFile) {
  Count(Op::kProcessRunning);
  return running_.count(FoldName(programFile)) != 0;
}

void SimSystem::ShellOpen(std::string_view target) {
  Count(Op::kShellOpen);
  shellOpened_.emplace_back(target);
}

void SimSystem::ClearRecentDocuments() {
  Count(Op::kClearRecentDocuments);
  recentDocuments_.clear();
  // The shell deletes the shortcuts of its recent-documents folder, but none held open.
  auto recent = specialFolders_.find(csidl::kRecent);
  Node* folder = recent == specialFolders_.end() ? nullptr : LocateFolder(recent->second);
  if (!folder) return;
  std::vector<const Node*> shortcuts;
  for (const auto& child : folder->children) {
    if (!child->IsDirectory() && !child->inUse && MatchesWildcard("*.lnk", child->name)) {
      shortcuts.push_back(child.get());
    }
  }
  for (const Node* shortcut : shortcuts)
    folder->Remove(shortcut);
}

DriveType SimSystem::GetDriveType(std::string_view drive) {
  Count(Op::kGetDriveType);
  if (drive.size() < 2 || drive[1] != ':' || (drive.size() > 2 && !IsSeparator(drive[2]))) {
    return DriveType::kNoRootDir;
  }
  auto d = drives_.find(static_cast<char>(drive[0] & ~0x20));
  return d == drives_.end() ? DriveType::kNoRootDir : d->second->type;
}

bool SimSystem::IsHostRootDrive(char letter) {
  Count(Op::kIsHostRootDrive);
  return hostRootDrive_ != '\0' && hostRootDrive_ == static_cast<char>(letter & ~0x20);
}

std::optional<std::uint64_t> SimSystem::UsedSpace(char letter) {
  const auto drive = drives_.find(static_cast<char>(letter & ~0x20));
  if (drive == drives_.end()) return std::nullopt;
  std::uint64_t used = 0;
  const std::function<void(const Node&)> add = [&](const Node& node) {
    used += node.size;
    for (const auto& child : node.children)
      add(*child);
  };
  add(drive->second->root);
  return used;
}

std::vector<DriveInfo> SimSystem::Drives() {
  std::vector<DriveInfo> drives;
  Count(Op::kDrives);
  for (const auto& [letter, drive] : drives_)
    drives.push_back({letter, drive->type, drive->label});
  return drives;
}

std::uint32_t SimSystem::RegisterWindowMessage(std::string_view name) {
  Count(Op::kRegisterWindowMessage);
  // Registered messages take numbers from 0xC000 up, one per name.
  auto [it, added] = registeredMessages_.try_emplace(
      std::string(name), 0xC000u + static_cast<std::uint32_t>(registeredMessages_.size()));
  return it->second;
}

namespace {

class SimSemaphore final : public NamedSemaphore {
 public:
  SimSemaphore(std::shared_ptr<std::map<std::string, int>> table, std::string name)
      : table_(std::move(table)), name_(std::move(name)) {
    ++(*table_)[name_];
  }
  ~SimSemaphore() override {
    if (--(*table_)[name_] == 0) table_->erase(name_);
  }

 private:
  std::shared_ptr<std::map<std::string, int>> table_;
  std::string name_;
};

}  // namespace

std::unique_ptr<NamedSemaphore> SimSystem::CreateNamedSemaphore(std::string_view name,
                                                                bool& alreadyExisted) {
  alreadyExisted = false;
  Count(Op::kCreateNamedSemaphore);
  if (std::exchange(failSemaphore_, false)) return nullptr;
  alreadyExisted = SemaphoreHeld(name);
  return std::make_unique<SimSemaphore>(semaphores_, std::string(name));
}

bool SimSystem::SemaphoreHeld(std::string_view name) const {
  return semaphores_->count(std::string(name)) != 0;
}

void SimSystem::BroadcastMessage(std::uint32_t message) {
  Count(Op::kBroadcastMessage);
  broadcasts_.push_back(message);
  if (onBroadcast) onBroadcast(message);
}

}  // namespace platform::sim
