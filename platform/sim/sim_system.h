// An in-memory Windows for tests: drives with types, folders and files with attributes, sizes and
// short names, links (reparse points), a current directory and case-insensitive names. Seeding,
// inspection and counters exist only here, never on the System interface; failures are injected
// by a decorator (fault_injection.h).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/sim/operations.h"
#include "platform/system.h"

namespace platform::sim {

// A name as Windows compares names: up-cased code unit by code unit.
std::string FoldName(std::string_view name);

struct SimRegistryKeyData;
class SimRegistryKey;

class SimSystem final : public System {
 public:
  SimSystem();
  ~SimSystem() override;

  // --- Seeding
  void AddDrive(char letter, DriveType type, std::string label = {});
  // Creates the folder and any missing parents; the drive must exist.
  void AddFolder(std::string_view path, std::uint32_t attributes = 0);
  // Creates or replaces a file with this content (parents are created).
  void AddFile(std::string_view path, std::string_view content, std::uint32_t attributes = 0);
  // A file whose size is given without holding its bytes (for sizes of several GiB).
  void AddFileOfSize(std::string_view path, std::uint64_t size, std::uint32_t attributes = 0);
  // A link (reparse point) that looks like a folder and leads to the folder `target`.
  void AddFolderLink(std::string_view path, std::string_view target,
                     std::uint32_t tag = kReparseTagMountPoint);
  // A link to the file `target` that looks like a plain file of its size, as Wine shows a host
  // symlink to a file: only FinalPath tells where it leads.
  void AddFileLink(std::string_view path, std::string_view target);
  void SetShortName(std::string_view path, std::string shortName);
  void SetAttributes(std::string_view path, std::uint32_t attributes);
  // An open file that cannot be deleted, replaced or written (a sharing violation).
  void SetInUse(std::string_view path, bool inUse = true);
  // Removes the entry with all it holds, as another program would (a link goes as a link, its
  // target stays). The absolute, case-folded paths of what went, the entry first; nothing for a
  // missing entry or a drive root.
  std::vector<std::string> RemoveEntry(std::string_view path);
  void SetCurrentDirectory(std::string_view path);
  // Sets the variable, or with nothing unsets it. TMP and TEMP start as the temporary folder.
  void SetEnvironmentVariable(std::string_view name, std::optional<std::string> value);
  // The sim's clock, in DirEntry::lastWrite's steps. Entries made without a time of their own
  // were last written at kDefaultWriteTime, well before the clock's start (more than 60 days).
  static constexpr std::uint64_t kHour = platform::kTicksPerHour;
  static constexpr std::uint64_t kDay = platform::kTicksPerDay;
  static constexpr std::uint64_t kDefaultWriteTime = 133'800'000'000'000'000ull;  // in 2025
  void SetCurrentTime(std::uint64_t now) { now_ = now; }
  // The user the sim runs as.
  static constexpr const char* kUserSid = "S-1-5-21-3623811015-3361044348-30300820-1013";
  void SetWriteTime(std::string_view path, std::uint64_t lastWrite);
  void SetProgramFolder(std::string path) { programFolder_ = std::move(path); }
  // The drive is the host's whole file system (Wine's Z:).
  void SetHostRootDrive(char letter) { hostRootDrive_ = static_cast<char>(letter & ~0x20); }
  // Whether the drive has a recycle bin, and the largest file it takes. Fixed drives start with
  // a bin that takes any file, others without one.
  void SetRecycleBin(char letter, bool present,
                     std::uint64_t largestFile = std::numeric_limits<std::uint64_t>::max());
  // A folder in which, and below which, the user may make, replace and delete nothing, as a user
  // in Program Files.
  void SetWriteProtected(std::string_view folder);
  void SetAdministrator(bool isAdmin) { isAdmin_ = isAdmin; }
  // A process of this program file (a name without folder) runs, or no longer does.
  void SetRunning(std::string_view programFile, bool running = true);
  // Makes the next semaphore creation fail outright.
  void FailSemaphore() { failSemaphore_ = true; }
  // Receives every broadcast message, as the windows of this session would.
  std::function<void(std::uint32_t message)> onBroadcast;

  // --- Seeding: system folders, registry, URL cache, shell
  // The temporary folder starts as C:\Temp\, the Windows folder as C:\Windows; no special
  // folder exists until it is set.
  void SetTempFolder(std::string path) { tempFolder_ = std::move(path); }
  void SetWindowsFolder(std::string path) { windowsFolder_ = std::move(path); }
  void SetSpecialFolder(int csidl, std::string path) { specialFolders_[csidl] = std::move(path); }
  // Creates the key (and its parents) when missing, and sets the value.
  void SetRegistryValue(RegistryRoot root, std::string_view key, std::string_view name,
                        RegistryValue value);
  void AddRegistryKey(RegistryRoot root, std::string_view key);
  // The key exists but opening it is refused, as for a user without the rights.
  void LockRegistryKey(RegistryRoot root, std::string_view key);
  // Windows 10.0 at the start.
  void SetWindowsVersion(std::optional<WindowsVersion> version) { windowsVersion_ = version; }
  // Creates or replaces an entry; one that is `inUse` is locked by a reader and cannot be
  // deleted.
  void AddUrlCacheEntry(std::string sourceUrl, bool inUse = false);
  // A shell without SHEmptyRecycleBinW (and SHQueryRecycleBinW): emptying the recycle bin does
  // nothing, and what it holds is unknown.
  void SetEmptyRecycleBinMissing(bool missing) { emptyRecycleBinMissing_ = missing; }
  void AddRecentDocument(std::string path) { recentDocuments_.push_back(std::move(path)); }

  // --- Inspection
  bool Exists(std::string_view path) const;
  std::optional<std::string> Content(std::string_view path) const;
  std::optional<std::uint32_t> Attributes(std::string_view path) const;
  // The absolute, case-folded form of a path, to compare two spellings of it.
  std::string Canonical(std::string_view path) const;
  // Every path below a folder (or the whole system), one per line, for failure messages.
  std::string Dump(std::string_view folder = {}) const;
  std::uint64_t Calls(Op op) const { return calls_[static_cast<int>(op)]; }
  const std::vector<std::uint32_t>& Broadcasts() const { return broadcasts_; }
  const std::vector<std::string>& ShellOpened() const { return shellOpened_; }
  // What the recycle bin holds: the original path of each item, oldest first.
  std::vector<std::string> RecycleBinPaths() const;
  bool SemaphoreHeld(std::string_view name) const;
  void ResetCounters() { calls_.fill(0); }
  bool HasRegistryKey(RegistryRoot root, std::string_view key) const;
  std::optional<RegistryValue> RegistryValueOf(RegistryRoot root, std::string_view key,
                                               std::string_view name) const;
  std::vector<std::string> RegistryValueNamesOf(RegistryRoot root, std::string_view key) const;
  std::vector<std::string> UrlCacheUrls() const;
  const std::vector<std::string>& RecentDocuments() const { return recentDocuments_; }

  // --- System
  ReadResult ReadFile(std::string_view path, FileAccess access) override;
  bool WriteFile(std::string_view path, std::string_view bytes) override;
  bool ReplaceFile(std::string_view from, std::string_view to) override;
  bool DeleteFile(std::string_view path) override;
  bool WriteNewFile(std::string_view path, std::string_view bytes) override;
  std::optional<std::string> ReadFileStart(std::string_view path, std::size_t count) override;
  bool RemoveFolder(std::string_view path) override;
  bool CreateFolder(std::string_view path) override;
  Recycled MoveToRecycleBin(std::string_view path) override;
  bool ListFolder(std::string_view folder, FunctionRef<bool(const DirEntry&)> visit) override;
  std::optional<DirEntry> LookUp(std::string_view path) override;
  std::optional<FileStatus> Status(std::string_view path) override;
  std::string CurrentDirectory() override;
  std::string FinalPath(std::string_view path) override;
  DriveType GetDriveType(std::string_view drive) override;
  std::vector<DriveInfo> Drives() override;
  bool IsHostRootDrive(char letter) override;
  // The bytes of the drive's files.
  std::optional<std::uint64_t> UsedSpace(char letter) override;
  bool IsAdministrator() override;
  std::string UserSid() override { return kUserSid; }
  bool ProcessRunning(std::string_view programFile) override;
  std::uint32_t RegisterWindowMessage(std::string_view name) override;
  std::unique_ptr<NamedSemaphore> CreateNamedSemaphore(std::string_view name,
                                                       bool& alreadyExisted) override;
  void BroadcastMessage(std::uint32_t message) override;
  void ShellOpen(std::string_view target) override;
  std::string TempFolder() override;
  std::optional<std::string> EnvironmentVariable(std::string_view name) override;
  std::uint64_t CurrentTime() override { return now_; }
  std::string ProgramFolder() override;
  std::string WindowsFolder() override;
  std::string SpecialFolder(int csidl) override;
  std::string FullPathName(std::string_view path) override;
  std::unique_ptr<RegistryKey> OpenRegistryKey(RegistryRoot root, std::string_view path) override;
  bool RegistryKeyExists(RegistryRoot root, std::string_view path) override;
  std::optional<WindowsVersion> GetWindowsVersion() override;
  void ListUrlCache(FunctionRef<bool(const std::string& sourceUrl)> visit) override;
  bool DeleteUrlCacheItem(std::string_view sourceUrl) override;
  void EmptyRecycleBin() override;
  std::optional<RecycleBinContent> QueryRecycleBin() override;
  void ClearRecentDocuments() override;

 private:
  struct Node;
  struct Drive;
  struct Located {
    Node* parent = nullptr;       // null for a drive root
    Node* node = nullptr;         // null when the last component does not exist
    std::string name;             // the last component as asked for
    bool writeProtected = false;  // the parent or a folder above it may not be written in
  };

  // Parses a Windows path against the current directory into a drive letter and components;
  // false for a malformed path.
  bool Parse(std::string_view path, char& drive, std::vector<std::string>& parts) const;
  Located Locate(std::string_view path) const;
  Node* LocateFolder(std::string_view path) const;  // follows links, like the file system does
  // FinalPath, through at most 32 links.
  std::string Resolved(std::string_view path, int hops) const;
  Node* MakeFolders(std::string_view path);
  Node& PutFile(std::string_view path);
  friend class SimRegistryKey;
  void Count(Op op) { ++calls_[static_cast<int>(op)]; }
  void DumpNode(const Node& node, const std::string& path, std::string& out) const;
  // Adds the folded path of everything below `node` to `out`, in listing order.
  void CollectPaths(const Node& node, const std::string& path, std::vector<std::string>& out) const;

  std::map<char, std::unique_ptr<Drive>> drives_;
  std::string currentDirectory_ = "C:\\";
  std::string programFolder_;
  bool isAdmin_ = false;
  std::set<std::string> running_;  // program files, folded
  std::array<std::uint64_t, static_cast<int>(Op::kCount)> calls_{};
  std::map<std::string, std::uint32_t> registeredMessages_;
  std::shared_ptr<std::map<std::string, int>> semaphores_ =
      std::make_shared<std::map<std::string, int>>();
  bool failSemaphore_ = false;
  std::vector<std::uint32_t> broadcasts_;
  std::vector<std::string> shellOpened_;
  std::vector<std::pair<std::string, std::unique_ptr<Node>>> recycleBin_;

  using RegistryKeyId = std::pair<RegistryRoot, std::string>;  // the path folded
  SimRegistryKeyData* FindRegistryKey(RegistryRoot root, std::string_view key) const;
  SimRegistryKeyData& MakeRegistryKey(RegistryRoot root, std::string_view key);
  // The subkeys directly below the key whose folded path is given, by their names as created.
  std::vector<std::string> RegistrySubKeyNames(RegistryRoot root, const std::string& folded) const;
  // Deletes the key with all below it, except keys locked against this user and the keys above
  // them; false when such a key stayed or the key is missing.
  bool DeleteRegistryTree(RegistryRoot root, const std::string& folded);
  std::map<RegistryKeyId, std::shared_ptr<SimRegistryKeyData>> registry_;

  struct UrlCacheEntry {
    std::string sourceUrl;
    bool inUse = false;
  };
  std::vector<UrlCacheEntry> urlCache_;
  std::string tempFolder_ = "C:\\Temp\\";
  std::map<std::string, std::string> environment_{{"TEMP", "C:\\Temp"}, {"TMP", "C:\\Temp"}};
  std::uint64_t now_ = kDefaultWriteTime + 200 * kDay;
  char hostRootDrive_ = '\0';
  std::string windowsFolder_ = "C:\\Windows";
  std::map<int, std::string> specialFolders_;
  std::optional<WindowsVersion> windowsVersion_ = WindowsVersion{10, 0};
  bool emptyRecycleBinMissing_ = false;
  std::vector<std::string> recentDocuments_;
};

}  // namespace platform::sim
