#include "platform/win32/win32_system.h"

#include "platform/win32/win.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <limits>

#include "platform/wildcard.h"
#include "platform/win32/final_path.h"
#include "platform/win32/handles.h"
#include "platform/win32/token.h"
#include "platform/win32/wide_path.h"

namespace platform::win32 {

namespace {

// Settings and language files are a few kilobytes; anything near this is not one of ours.
constexpr LONGLONG kMaxWholeFileSize = 64LL * 1024 * 1024;

DirEntry EntryOf(const WIN32_FIND_DATAW& data) {
  DirEntry entry;
  entry.name = Narrow(data.cFileName);
  entry.attributes = data.dwFileAttributes;
  if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  entry.lastWrite = Ticks(data.ftLastWriteTime);
  if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) entry.reparseTag = data.dwReserved0;
  return entry;
}

bool IsDotName(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

UniqueFind FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
  return UniqueFind(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
}

}  // namespace

ReadResult Win32System::ReadFile(std::string_view path, FileAccess access) {
  ReadResult result;
  result.error = ReadError::kOther;
  std::optional<std::wstring> wide = VerbatimPath(path);
  if (!wide) return result;
  const DWORD rights =
      access == FileAccess::kReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  UniqueHandle file(::CreateFileW(wide->c_str(), rights,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      result.error = ReadError::kNotFound;
    }
    return result;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxWholeFileSize) return result;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    const DWORD chunk = static_cast<DWORD>(bytes.size() - done);
    if (!::ReadFile(file.Get(), bytes.data() + done, chunk, &read, nullptr)) return result;
    if (read == 0) break;  // the file shrank while we read it
    done += read;
  }
  bytes.resize(done);
  result.bytes = std::move(bytes);
  return result;
}

bool Win32System::WriteFile(std::string_view path, std::string_view bytes) {
  std::optional<std::wstring> wide = VerbatimPath(path);
  if (!wide) return false;
  UniqueHandle file(::CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const size_t left = bytes.size() - done;
    const DWORD chunk =
        static_cast<DWORD>(left < std::numeric_limits<DWORD>::max() ? left : 1u << 30);
    if (!::WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  // On disk before a rename may put it in place of the old file.
  if (!::FlushFileBuffers(file.Get())) return false;
  return ::CloseHandle(file.Release()) != FALSE;
}

bool Win32System::ReplaceFile(std::string_view from, std::string_view to) {
  std::optional<std::wstring> source = VerbatimPath(from);
  std::optional<std::wstring> target = VerbatimPath(to);
  if (!source || !target) return false;
  // Windows refuses to replace a read-only file; Wine would replace it. Refuse on both.
  const DWORD targetAttributes = ::GetFileAttributesW(target->c_str());
  if (targetAttributes != INVALID_FILE_ATTRIBUTES && (targetAttributes & FILE_ATTRIBUTE_READONLY)) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return ::MoveFileExW(source->c_str(), target->c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32System::DeleteFile(std::string_view path) {
  std::optional<std::wstring> wide = VerbatimPath(path);
  if (!wide) return false;
  // Looked at as itself, never as what a link leads to, right before it goes. DeleteFileW does
  // the rest: it knows best what may be deleted (a file mapped by another program may).
  {
    UniqueHandle file(::CreateFileW(wide->c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return false;
    const std::optional<OpenedFile> opened = InspectOpened(file.Get(), *wide);
    if (!opened || opened->isLink || (opened->attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ::SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
  }
  return ::DeleteFileW(wide->c_str()) != FALSE;
}

bool Win32System::WriteNewFile(std::string_view path, std::string_view bytes) {
  std::optional<std::wstring> wide = VerbatimPath(path);
  if (!wide) return false;
  UniqueHandle file(::CreateFileW(wide->c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return false;
  size_t done = 0;
  bool written = true;
  while (written && done < bytes.size()) {
    DWORD chunk = 0;
    const size_t left = bytes.size() - done;
    written =
        ::WriteFile(file.Get(), bytes.data() + done,
                    static_cast<DWORD>(left < (1u << 30) ? left : 1u << 30), &chunk, nullptr) &&
        chunk > 0;
    done += chunk;
  }
  if (written && ::FlushFileBuffers(file.Get())) return ::CloseHandle(file.Release()) != FALSE;
  // Half a file is no file: it goes with the handle that made it.
  FILE_DISPOSITION_INFO disposition{TRUE};  // its member's name is a macro of windows.h
  ::SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition);
  return false;
}

std::optional<std::string> Win32System::ReadFileStart(std::string_view path, std::size_t count) {
  std::optional<std::wstring> wide = VerbatimPath(path);
  if (!wide) return std::nullopt;
  UniqueHandle file(::CreateFileW(wide->c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes(count, '\0');
  size_t done = 0;
  while (done < count) {
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(count - done), &read,
                    nullptr)) {
      return std::nullopt;
    }
    if (read == 0) break;
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

bool Win32System::RemoveFolder(std::string_view path) {
  std::optional<std::wstring> wide = VerbatimPath(path);
  return wide && ::RemoveDirectoryW(wide->c_str()) != FALSE;
}

bool Win32System::CreateFolder(std::string_view path) {
  std::optional<std::wstring> wide = VerbatimPath(path);
  if (!wide) return false;
  if (::CreateDirectoryW(wide->c_str(), nullptr)) return true;
  const DWORD attributes = ::GetFileAttributesW(wide->c_str());
  return ::GetLastError() == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
             FILE_ATTRIBUTE_DIRECTORY;
}

bool Win32System::ListFolder(std::string_view folder, FunctionRef<bool(const DirEntry&)> visit) {
  std::optional<std::wstring> pattern = VerbatimPath(folder);
  if (!pattern) return false;
  if (pattern->back() != L'\\') *pattern += L'\\';
  *pattern += L'*';
  WIN32_FIND_DATAW data;
  UniqueFind search = FindFirst(*pattern, data);
  if (!search) return ::GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty drive root
  do {
    if (IsDotName(data.cFileName)) continue;
    if (!visit(EntryOf(data))) break;
  } while (::FindNextFileW(search.Get(), &data));
  return true;
}

std::optional<DirEntry> Win32System::LookUp(std::string_view path) {
  // A look-up is exact: wildcard characters would turn it into a search.
  if (path.find_first_of("*?<>\"") != std::string_view::npos) return std::nullopt;
  std::optional<std::wstring> wide = VerbatimPath(path);
  if (!wide) return std::nullopt;
  WIN32_FIND_DATAW data;
  UniqueFind search = FindFirst(*wide, data);
  if (!search) return std::nullopt;
  return EntryOf(data);
}

std::optional<FileStatus> Win32System::Status(std::string_view path) {
  if (path.find_first_of("*?<>\"") != std::string_view::npos) return std::nullopt;
  // As for LookUp, a drive root is no entry.
  if (path.size() <= 3 && path.size() >= 2 && path[1] == ':' &&
      (path.size() == 2 || path[2] == '\\' || path[2] == '/')) {
    return std::nullopt;
  }
  std::optional<std::wstring> wide = VerbatimPath(path);
  if (!wide) return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FileStatus status;
  status.attributes = data.dwFileAttributes;
  if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    status.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  return status;
}

DriveType Win32System::GetDriveType(std::string_view drive) {
  if (drive.size() < 2 || drive.size() > 3 || drive[1] != ':' ||
      (drive.size() == 3 && drive[2] != '\\')) {
    return DriveType::kNoRootDir;
  }
  const wchar_t root[] = {static_cast<wchar_t>(static_cast<unsigned char>(drive[0])), L':', L'\\',
                          L'\0'};
  const UINT type = ::GetDriveTypeW(root);
  return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::kUnknown;
}

std::string Win32System::FinalPath(std::string_view path) {
  std::optional<std::wstring> wide = VerbatimPath(path);
  if (!wide) return {};
  UniqueHandle entry(::CreateFileW(wide->c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return entry ? FinalPathOf(entry.Get()) : std::string();
}

std::string Win32System::CurrentDirectory() {
  const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring buffer(needed, L'\0');
  const DWORD length = ::GetCurrentDirectoryW(needed, buffer.data());
  if (length == 0 || length >= needed) return {};
  buffer.resize(length);
  return Narrow(buffer);
}

std::string Win32System::ProgramFolder() {
  // The buffer grows until the whole path fits: a program may lie deeper than MAX_PATH.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  // The \\?\ form the loader may report is not how the program writes paths.
  if (path.starts_with(L"\\\\?\\") && path.size() > 6 && path[5] == L':') path.erase(0, 4);
  return Narrow(path.substr(0, path.find_last_of(L'\\')));
}

std::vector<DriveInfo> Win32System::Drives() {
  std::vector<DriveInfo> drives;
  const DWORD mask = ::GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    DriveInfo drive;
    drive.letter = static_cast<char>('A' + i);
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', L'\0'};
    drive.type = GetDriveType(std::string{drive.letter, ':'});
    // No error box for an empty floppy or card reader while the label is asked for.
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    wchar_t label[MAX_PATH + 1] = {};
    if (::GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) {
      drive.label = Narrow(label);
    }
    ::SetErrorMode(oldMode);
    drives.push_back(std::move(drive));
  }
  return drives;
}

namespace {

// The volume and file number of a drive's root: two drives with the same are one folder.
std::optional<std::pair<DWORD, ULONGLONG>> RootIdentity(char letter) {
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
  UniqueHandle handle(::CreateFileW(root, FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle || !::GetFileInformationByHandle(handle.Get(), &info)) return std::nullopt;
  return std::make_pair(info.dwVolumeSerialNumber,
                        (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
}

}  // namespace

bool Win32System::IsHostRootDrive(char letter) {
  const char host = HostRootDriveLetter();
  if (host == '\0') return false;
  letter = static_cast<char>(letter & ~0x20);
  if (letter == host) return true;
  // Another letter may lead to the same folder.
  const auto mine = RootIdentity(letter);
  return mine && mine == RootIdentity(host);
}

std::optional<std::uint64_t> Win32System::UsedSpace(char letter) {
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
  ULARGE_INTEGER total{}, free{};
  const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const BOOL known = ::GetDiskFreeSpaceExW(root, nullptr, &total, &free);
  ::SetErrorMode(oldMode);
  if (!known || free.QuadPart > total.QuadPart) return std::nullopt;
  return total.QuadPart - free.QuadPart;
}

std::string Win32System::UserSid() {
  return TokenUserSid();
}

bool Win32System::IsAdministrator() {
  return TokenHoldsAdministrators();
}

bool Win32System::ProcessRunning(std::string_view programFile) {
  // Wine lists a process that is still starting with no file name.
  if (programFile.empty()) return false;
  UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W process{};
  process.dwSize = sizeof process;
  if (!snapshot || !::Process32FirstW(snapshot.Get(), &process)) return true;
  DWORD session = 0;
  const bool knowSession = ::ProcessIdToSessionId(::GetCurrentProcessId(), &session);
  do {
    if (!platform::SameName(Narrow(process.szExeFile), programFile)) continue;
    // Another user's session is no concern of this user's files; a session that cannot be
    // asked might be this one.
    DWORD itsSession = 0;
    if (!knowSession || !::ProcessIdToSessionId(process.th32ProcessID, &itsSession) ||
        itsSession == session) {
      return true;
    }
  } while (::Process32NextW(snapshot.Get(), &process));
  return false;
}

std::optional<WindowsVersion> Win32System::GetWindowsVersion() {
  // GetVersionEx answers what the manifest lets it; the kernel's own call tells the truth.
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  const FARPROC found = ntdll ? ::GetProcAddress(ntdll, "RtlGetVersion") : nullptr;
  if (!found) return std::nullopt;
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (reinterpret_cast<GetVersion>(reinterpret_cast<void (*)()>(found))(&info) != 0) {
    return std::nullopt;
  }
  return WindowsVersion{info.dwMajorVersion, info.dwMinorVersion};
}

std::uint32_t Win32System::RegisterWindowMessage(std::string_view name) {
  std::optional<std::wstring> wide = Widen(name);
  return wide ? ::RegisterWindowMessageW(wide->c_str()) : 0;
}

namespace {

class Win32Semaphore final : public NamedSemaphore {
 public:
  explicit Win32Semaphore(UniqueHandle handle) : handle_(std::move(handle)) {}

 private:
  UniqueHandle handle_;
};

}  // namespace

std::unique_ptr<NamedSemaphore> Win32System::CreateNamedSemaphore(std::string_view name,
                                                                  bool& alreadyExisted) {
  alreadyExisted = false;
  std::optional<std::wstring> wide = Widen(name);
  if (!wide) return nullptr;
  UniqueHandle handle(::CreateSemaphoreW(nullptr, 1, 1, wide->c_str()));
  alreadyExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
  if (!handle) return nullptr;
  return std::make_unique<Win32Semaphore>(std::move(handle));
}

void Win32System::BroadcastMessage(std::uint32_t message) {
  ::PostMessageW(HWND_BROADCAST, message, 0, 0);
}

void Win32System::ShellOpen(std::string_view target) {
  std::optional<std::wstring> wide = Widen(target);
  if (!wide) return;
  ::ShellExecuteW(nullptr, L"open", wide->c_str(), L"", L"", SW_HIDE);
}

}  // namespace platform::win32
