// A System that changes nothing, for an analysis: every operation that would change the machine
// is recorded and answered as it would most likely be answered, and what it removed is gone from
// later listings and look-ups. A run against it takes the course a real run would take, so what
// it finds is what the run would remove.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/proxy_system.h"

namespace platform {

class DryRunSystem final : public ProxySystem {
 public:
  // The kinds of operation the run would have made.
  enum class Change {
    kDeleteFile,
    kRemoveFolder,
    kMoveToRecycleBin,
    kEmptyRecycleBin,
    kDeleteRegistryValue,
    kDeleteUrlCacheItem,
    kClearRecentDocuments,
    kWriteFile,
    kReplaceFile,
    kWriteNewFile,
    kCreateFolder,
    kDeleteRegistryKey,  // with all below it
  };

  explicit DryRunSystem(System& machine) : ProxySystem(machine) {}

  // How many operations of this kind the run would have made, and the subject (path, registry
  // value or URL; empty where there is none) of the n-th of all, in their order.
  std::size_t Count(Change kind) const;
  std::size_t Recorded() const { return changes_.size(); }
  std::string_view Subject(std::size_t n) const;

  // What Windows refuses without trying is refused: a missing entry, a read-only file, a folder
  // that still holds something. What only trying would tell (a file held open) is taken to go.
  bool DeleteFile(std::string_view path) override;
  bool RemoveFolder(std::string_view path) override;
  // A file on a drive of another kind than a fixed one is taken to find no bin there.
  Recycled MoveToRecycleBin(std::string_view path) override;
  void MoveAllToRecycleBin(std::span<const std::string> paths,
                           std::vector<Recycled>& results) override {
    System::MoveAllToRecycleBin(paths, results);  // item by item, each recorded
  }
  bool WriteFile(std::string_view path, std::string_view bytes) override;
  bool WriteNewFile(std::string_view path, std::string_view bytes) override;
  std::optional<std::string> ReadFileStart(std::string_view path, std::size_t count) override;
  std::string FinalPath(std::string_view path) override;
  bool ReplaceFile(std::string_view from, std::string_view to) override;
  bool CreateFolder(std::string_view path) override;
  ReadResult ReadFile(std::string_view path, FileAccess access) override;

  bool ListFolder(std::string_view folder, FunctionRef<bool(const DirEntry&)> visit) override;
  std::optional<DirEntry> LookUp(std::string_view path) override;
  std::optional<FileStatus> Status(std::string_view path) override;

  // A key deleted in this run is gone, with all below it, from later questions.
  std::unique_ptr<RegistryKey> OpenRegistryKey(RegistryRoot root, std::string_view path) override;
  bool RegistryKeyExists(RegistryRoot root, std::string_view path) override;
  void ListUrlCache(FunctionRef<bool(const std::string& sourceUrl)> visit) override;
  bool DeleteUrlCacheItem(std::string_view sourceUrl) override;
  void EmptyRecycleBin() override;
  // The bin as the machine has it, with what the run moved there, and nothing once emptied.
  std::optional<RecycleBinContent> QueryRecycleBin() override;
  void ClearRecentDocuments() override;

 private:
  class DryRunKey;

  // Paths are kept as the hash of their folded form (absolute, upper-cased, one backslash
  // between parts, none at the end): every spelling of a path has one, and an operation of the
  // run allocates nothing, which matters on Wine's heap. The hash is 64 bits wide; two paths
  // sharing one would only make the analysis miss a file, never touch one.
  using Key = std::size_t;
  // Folds `path` into `folded_` and returns its key.
  Key KeyOf(std::string_view path);
  // Whether the entry whose folded path is in `folded_`, or a folder holding it, was removed.
  bool FoldedGone(Key key) const;
  bool Gone(std::string_view path);
  void MarkGone(std::string_view path, bool folder);
  void Record(Change kind, std::string_view subject);
  // The entry at `path` as the machine has it in this run. A removal usually follows the look-up
  // or the listing that showed it the entry, so those are asked first, not the file system.
  std::optional<FileStatus> EntryAt(std::string_view path);
  // Whether the file at `path` is a link, or leads elsewhere.
  bool LeadsElsewhere(std::string_view path, const FileStatus& entry);

  struct Made {
    Change kind;
    std::size_t begin, end;  // the subject in subjects_
  };
  std::vector<Made> changes_;
  std::string subjects_;

  std::u16string folded_;  // reused from one path to the next
  std::unordered_set<Key> gone_;
  std::unordered_set<Key> goneFolders_;  // of gone_, those that held entries
  // For each folder, how many entries directly in it are gone: most listings need no look.
  std::unordered_map<Key, std::size_t> goneInFolder_;
  // Whether the key (root and path, folded) or a key above it was deleted in this run.
  bool RegistryKeyDeleted(std::string_view folded) const;
  std::unordered_set<std::string> deletedRegistryValues_;  // root, key and name, folded
  std::unordered_set<std::string> deletedRegistryKeys_;    // root and path, folded
  std::unordered_set<std::string> deletedUrls_;
  RecycleBinContent recycled_;
  bool binEmptied_ = false;
  // The entry last looked up, and the one a listing is showing its visitor.
  std::string lookedUpPath_;
  std::optional<FileStatus> lookedUp_;
  std::string_view listedFolder_;
  const DirEntry* listed_ = nullptr;
};

}  // namespace platform
