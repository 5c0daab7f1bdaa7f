// The operating-system services the program uses, behind one small interface so that the logic
// runs against the real Win32 API (platform/win32) or an in-memory Windows (platform/sim).
//
// Paths are Windows paths in UTF-8 (`C:\Temp\x.tmp`, `data\lang\De.dat`); relative paths are
// resolved against the current directory. Nothing here throws: failures come back as false or
// an empty result, the way the program treats them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/function_ref.h"

namespace platform {

// File attribute bits, with the values Windows gives them.
namespace attr {
inline constexpr std::uint32_t kReadOnly = 0x01;
inline constexpr std::uint32_t kHidden = 0x02;
inline constexpr std::uint32_t kSystem = 0x04;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kNormal = 0x80;
inline constexpr std::uint32_t kReparsePoint = 0x400;
}  // namespace attr

// Reparse tags of the links a walk must never follow.
inline constexpr std::uint32_t kReparseTagMountPoint = 0xA0000003;  // junctions and mount points
inline constexpr std::uint32_t kReparseTagSymlink = 0xA000000C;

// Times count 100-ns steps, as Windows' FILETIME does.
inline constexpr std::uint64_t kTicksPerHour = 36'000'000'000ull;
inline constexpr std::uint64_t kTicksPerDay = 24 * kTicksPerHour;

struct DirEntry {
  std::string name;  // long name, without folder
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;        // 0 for folders
  std::uint32_t reparseTag = 0;  // meaningful only with attr::kReparsePoint
  std::uint64_t lastWrite = 0;   // 100-ns steps since 1601 (UTC); 0 unknown

  bool IsDirectory() const { return (attributes & attr::kDirectory) != 0; }
  bool IsReparsePoint() const { return (attributes & attr::kReparsePoint) != 0; }
};

// What a single-path question tells of an entry when its name is not needed.
struct FileStatus {
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;  // 0 for folders

  bool IsDirectory() const { return (attributes & attr::kDirectory) != 0; }
  bool IsReparsePoint() const { return (attributes & attr::kReparsePoint) != 0; }
};

// The values GetDriveType answers.
enum class DriveType : int {
  kUnknown = 0,
  kNoRootDir = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

enum class FileAccess {
  kRead,       // list files are only read
  kReadWrite,  // the binary settings files are opened for writing even to read them
};

// Why a whole-file read failed: a missing file is an ordinary first run, anything else means a
// file is there that could not be read, which the settings must not silently overwrite.
enum class ReadError { kNotFound, kOther };

struct DriveInfo {
  char letter = 'A';  // upper case
  DriveType type = DriveType::kUnknown;
  std::string label;  // the volume label, empty when there is none or no medium
};

// A named semaphore held open; the name is free again when the last holder closes it.
class NamedSemaphore {
 public:
  virtual ~NamedSemaphore() = default;
};

// What the recycle bins hold: the items moved there (a folder is one item) and their bytes.
struct RecycleBinContent {
  std::uint64_t items = 0;
  std::uint64_t bytes = 0;
};

// What became of a file handed to the recycle bin.
enum class Recycled : std::uint8_t {
  kYes,          // the bin holds it
  kMissing,      // it was not there (any more)
  kRefused,      // it stays where it was: held open, a link, a folder, or the bin did not take it
                 // (no bin on its drive, too large for the bin, the bin switched off or missing)
  kPathTooLong,  // it stays: the shell cannot be given a path that long
};

struct ReadResult {
  std::optional<std::string> bytes;
  ReadError error = ReadError::kNotFound;  // meaningful only when bytes is empty
};

// Shell folders by their CSIDL values, as Windows numbers them.
namespace csidl {
inline constexpr int kPrograms = 0x02;
inline constexpr int kDocuments = 0x05;
inline constexpr int kFavorites = 0x06;
inline constexpr int kStartup = 0x07;
inline constexpr int kRecent = 0x08;
inline constexpr int kSendTo = 0x09;
inline constexpr int kStartMenu = 0x0B;
inline constexpr int kMusic = 0x0D;
inline constexpr int kVideos = 0x0E;
inline constexpr int kDesktop = 0x10;  // the file-system folder behind the desktop
inline constexpr int kNetHood = 0x13;
inline constexpr int kFonts = 0x14;
inline constexpr int kTemplates = 0x15;
inline constexpr int kCommonStartMenu = 0x16;
inline constexpr int kCommonPrograms = 0x17;
inline constexpr int kCommonDesktop = 0x19;
inline constexpr int kAppData = 0x1A;
inline constexpr int kPrintHood = 0x1B;
inline constexpr int kLocalAppData = 0x1C;
inline constexpr int kCommonFavorites = 0x1F;
inline constexpr int kInternetCache = 0x20;
inline constexpr int kCookies = 0x21;
inline constexpr int kHistory = 0x22;
inline constexpr int kCommonAppData = 0x23;
inline constexpr int kWindows = 0x24;
inline constexpr int kSystem = 0x25;
inline constexpr int kProgramFiles = 0x26;
inline constexpr int kPictures = 0x27;
inline constexpr int kProfile = 0x28;
inline constexpr int kSystemX86 = 0x29;
inline constexpr int kProgramFilesX86 = 0x2A;
inline constexpr int kCommonProgramFiles = 0x2B;
inline constexpr int kCommonProgramFilesX86 = 0x2C;
inline constexpr int kCommonTemplates = 0x2D;
inline constexpr int kCommonDocuments = 0x2E;
// Folders Windows names only as known folders, numbered here past every CSIDL.
inline constexpr int kDownloads = 0x1000;
inline constexpr int kLocalAppDataLow = 0x1001;
inline constexpr int kPublic = 0x1002;
inline constexpr int kUserProfiles = 0x1003;  // the folder of all profiles: C:\Users
}  // namespace csidl

// HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS and HKEY_CLASSES_ROOT.
enum class RegistryRoot { kCurrentUser, kLocalMachine, kUsers, kClassesRoot };

// Windows' own version number, 6.1 for Windows 7, 10.0 for Windows 10 and 11.
struct WindowsVersion {
  unsigned major = 0;
  unsigned minor = 0;
};

// Registry value types, with the numbers Windows gives them.
namespace reg {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kString = 1;        // REG_SZ
inline constexpr std::uint32_t kExpandString = 2;  // REG_EXPAND_SZ
inline constexpr std::uint32_t kBinary = 3;        // REG_BINARY
inline constexpr std::uint32_t kDword = 4;         // REG_DWORD
inline constexpr std::uint32_t kMultiString = 7;   // REG_MULTI_SZ
}  // namespace reg

struct RegistryValue {
  std::uint32_t type = reg::kNone;
  std::string data;  // the bytes as stored; text is UTF-16LE there

  // The text of a REG_SZ or REG_EXPAND_SZ value up to its first NUL, not expanded; nothing for
  // a value of another type.
  std::optional<std::string> Text() const;
  // The number of a REG_DWORD value, which must be exactly four bytes long.
  std::optional<std::uint32_t> Dword() const;

  static RegistryValue FromText(std::string_view utf8, std::uint32_t type = reg::kString);
  static RegistryValue FromDword(std::uint32_t number);
};

// A registry key held open with full access rights; closed when destroyed.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // The names of all values, in the registry's order. A snapshot: values may be deleted while
  // going through it.
  virtual std::vector<std::string> ValueNames() = 0;
  virtual std::optional<RegistryValue> ReadValue(std::string_view name) = 0;
  virtual bool DeleteValue(std::string_view name) = 0;
  // The names of the key's subkeys, in the registry's order; a snapshot, as ValueNames.
  virtual std::vector<std::string> SubKeyNames() = 0;
  // Deletes the subkey of this name (one name, no path) with all its subkeys and values; false
  // when it is missing or not all of it could be deleted.
  virtual bool DeleteSubKeyTree(std::string_view name) = 0;
};

class System {
 public:
  virtual ~System() = default;

  // --- Files
  // Reads a whole (small) file byte for byte.
  virtual ReadResult ReadFile(std::string_view path, FileAccess access) = 0;
  // Creates or truncates the file and writes all bytes; false if any step failed.
  virtual bool WriteFile(std::string_view path, std::string_view bytes) = 0;
  // Moves a file onto another name in the same folder, replacing a file of that name.
  virtual bool ReplaceFile(std::string_view from, std::string_view to) = 0;
  // Deletes a file for good; never what a link leads to: a link to a file (also one Wine shows as
  // a plain file) is refused and stays.
  virtual bool DeleteFile(std::string_view path) = 0;
  // Creates the file only when no entry of that name is there (never through a link), and writes
  // all bytes; false if any step failed, a half-written file removed again.
  virtual bool WriteNewFile(std::string_view path, std::string_view bytes) = 0;
  // Up to `count` bytes from the start of a file; nothing when it cannot be read.
  virtual std::optional<std::string> ReadFileStart(std::string_view path, std::size_t count) = 0;
  // Removes an empty folder, or a link to a folder (never its target).
  virtual bool RemoveFolder(std::string_view path) = 0;
  // Makes a folder in one that exists; true when it was made or is a folder already.
  virtual bool CreateFolder(std::string_view path) = 0;
  // Moves a file to the recycle bin, without asking and without a progress window. Nothing is
  // ever deleted for good on the way: a file the bin does not take stays where it was. Folders
  // and links are refused.
  virtual Recycled MoveToRecycleBin(std::string_view path) = 0;
  // The same for several files, in as few shell operations as the backend can: the shell is slow
  // to start and quick to go on. A path given twice goes once; the other is kMissing. By
  // default, one file after the other.
  virtual void MoveAllToRecycleBin(std::span<const std::string> paths,
                                   std::vector<Recycled>& results) {
    results.assign(paths.size(), Recycled::kMissing);
    for (std::size_t i = 0; i < paths.size(); ++i)
      results[i] = MoveToRecycleBin(paths[i]);
  }

  // --- Folders and look-ups
  // Lists every entry of a folder except "." and "..", in the order the file system gives
  // them; the visitor returns false to end the listing early. False when the folder cannot be
  // listed (missing, no rights, not a folder).
  virtual bool ListFolder(std::string_view folder, FunctionRef<bool(const DirEntry&)> visit) = 0;
  // The entry at exactly this path (no wildcards), with its name as stored on disk.
  virtual std::optional<DirEntry> LookUp(std::string_view path) = 0;
  // The attributes and size of the entry at exactly this path: the cheap question, asked before
  // a removal (Windows answers it without searching the folder).
  virtual std::optional<FileStatus> Status(std::string_view path) = 0;

  virtual std::string CurrentDirectory() = 0;
  // Where the entry at this path really is, every link along the path resolved, as an absolute
  // path with the names as stored (`C:\Users\me`, `\\server\share\x`, a drive root with its
  // backslash). Empty when there is no such entry, or it leads outside every drive (a host path
  // under Wine).
  virtual std::string FinalPath(std::string_view path) = 0;

  // --- Drives and the user
  // For a drive given as "C:" or "C:\".
  virtual DriveType GetDriveType(std::string_view drive) = 0;
  // Every drive the system has, from A to Z.
  virtual std::vector<DriveInfo> Drives() = 0;
  // Whether the drive is the whole file system of the host that runs Windows' programs (Wine's
  // Z:, the Unix root), which is no drive of the user's Windows at all; false on Windows.
  virtual bool IsHostRootDrive(char letter) = 0;
  // The bytes in use on the drive: its size less its free space; none when it cannot be told.
  virtual std::optional<std::uint64_t> UsedSpace(char letter) = 0;
  // Whether the user's access token holds the built-in Administrators group.
  virtual bool IsAdministrator() = 0;
  // The user's security identifier as text ("S-1-5-21-…"), which names the user's folder in each
  // drive's recycle bin; empty when it cannot be told.
  virtual std::string UserSid() = 0;
  // Whether a process whose program file has this name (no folder, "msedge.exe"; case is
  // ignored) runs in the user's session. True also when the processes cannot be listed: what
  // asks wants to leave a running program's files alone.
  virtual bool ProcessRunning(std::string_view programFile) = 0;

  // --- Between instances of the program
  // The number of a window message registered under this name, the same in every process.
  virtual std::uint32_t RegisterWindowMessage(std::string_view name) = 0;
  // Creates (or opens) a semaphore of this name with count 1 of 1. `alreadyExisted` tells that
  // another process holds the name. Null when it could not be created at all.
  virtual std::unique_ptr<NamedSemaphore> CreateNamedSemaphore(std::string_view name,
                                                               bool& alreadyExisted) = 0;
  // Posts the message with both parameters 0 to every top-level window of the session.
  virtual void BroadcastMessage(std::uint32_t message) = 0;

  // --- System folders and paths
  // The temporary folder, with its final backslash. Windows falls back to the profile and then to
  // the Windows folder when TMP and TEMP are not set: EnvironmentVariable tells.
  virtual std::string TempFolder() = 0;
  // The variable of the program's environment; nothing when it is not set.
  virtual std::optional<std::string> EnvironmentVariable(std::string_view name) = 0;
  // The time now, counted as DirEntry::lastWrite is.
  virtual std::uint64_t CurrentTime() = 0;
  // The folder the program's file lies in, without a final backslash.
  virtual std::string ProgramFolder() = 0;
  // The Windows folder, without a final backslash.
  virtual std::string WindowsFolder() = 0;
  // The file-system path of a shell folder; empty when the system has no such folder or the
  // folder is virtual (the recycle bin, the printers).
  virtual std::string SpecialFolder(int csidl) = 0;
  // The path made absolute against the current directory, "." and ".." resolved, as Windows
  // does it for any path (the path need not exist). Empty when it cannot be resolved.
  virtual std::string FullPathName(std::string_view path) = 0;

  // --- Registry
  // Opens an existing key with KEY_ALL_ACCESS, never creating it; null when it cannot be opened.
  virtual std::unique_ptr<RegistryKey> OpenRegistryKey(RegistryRoot root,
                                                       std::string_view path) = 0;

  // --- For the application rules (cleaners/): detection
  // Whether the key exists, asked with read rights only (and in the 64-bit view), so that a
  // key the user may not change still counts.
  virtual bool RegistryKeyExists(RegistryRoot root, std::string_view path) = 0;
  // The version of Windows itself, whatever compatibility layer the program runs under;
  // nothing when it cannot be told.
  virtual std::optional<WindowsVersion> GetWindowsVersion() = 0;

  // --- WinINet URL cache
  // Calls `visit` with the source URL of every content entry (the temporary internet files),
  // until it returns false. The visitor may delete the entry it is given.
  virtual void ListUrlCache(FunctionRef<bool(const std::string& sourceUrl)> visit) = 0;
  // False when the entry is missing or in use.
  virtual bool DeleteUrlCacheItem(std::string_view sourceUrl) = 0;

  // --- The shell
  // Opens a web or mail address with the program registered for it ("open", hidden show
  // command); the outcome is not reported.
  virtual void ShellOpen(std::string_view target) = 0;
  // Empties the recycle bins of all drives without asking, progress window or sound. Does
  // nothing on a system whose shell lacks the function.
  virtual void EmptyRecycleBin() = 0;
  // What the recycle bins of all drives hold; nothing when the shell cannot tell.
  virtual std::optional<RecycleBinContent> QueryRecycleBin() = 0;
  // Clears the shell's list of recently used documents.
  virtual void ClearRecentDocuments() = 0;
};

}  // namespace platform
