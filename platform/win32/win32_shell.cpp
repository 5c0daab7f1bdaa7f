// System folders, full paths, the recycle bin and the recent-documents list.
#include "platform/win32/win.h"

#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/handles.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/win32_system.h"

namespace platform::win32 {

namespace {

// Calls `get(buffer, capacity)`, which returns the length written or, when the buffer is too
// small, the capacity needed with the terminator (the convention of GetTempPath and friends).
template <typename Get>
std::string QueryText(Get get) {
  std::wstring buffer(MAX_PATH + 1, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length = get(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return Narrow(buffer);
    }
    buffer.assign(length, L'\0');
  }
  return {};
}

// An item identifier list from the shell, freed through the shell's allocator.
class ItemList {
 public:
  ItemList() = default;
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  ~ItemList() {
    if (!list_) return;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&allocator))) allocator->Free(list_);
    if (allocator) allocator->Release();
  }
  PIDLIST_ABSOLUTE* Receive() { return &list_; }
  PCIDLIST_ABSOLUTE Get() const { return list_; }

 private:
  PIDLIST_ABSOLUTE list_ = nullptr;
};

// A function of shell32 looked up at run time: a shell without it is no reason to fail. Null
// when it is missing. shell32 is loaded with the program (its other calls are imported), so no
// loader flag that an old Windows lacks is needed to find it.
template <typename Function>
Function ShellFunction(const char* name) {
  const HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
  if (!shell) return nullptr;
  FARPROC found = ::GetProcAddress(shell, name);
  return found ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found)) : nullptr;
}

// The folders Windows names only as known folders; null for a CSIDL.
const KNOWNFOLDERID* KnownFolderOf(int csidl) {
  switch (csidl) {
    case csidl::kDownloads:
      return &FOLDERID_Downloads;
    case csidl::kLocalAppDataLow:
      return &FOLDERID_LocalAppDataLow;
    case csidl::kPublic:
      return &FOLDERID_Public;
    case csidl::kUserProfiles:
      return &FOLDERID_UserProfiles;
    default:
      return nullptr;
  }
}

}  // namespace

std::string Win32System::TempFolder() {
  return QueryText([](wchar_t* buffer, DWORD size) { return ::GetTempPathW(size, buffer); });
}

std::uint64_t Win32System::CurrentTime() {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  return Ticks(now);
}

std::optional<std::string> Win32System::EnvironmentVariable(std::string_view name) {
  std::optional<std::wstring> wide = Widen(name);
  if (!wide || wide->empty()) return std::nullopt;
  std::string value = QueryText([&](wchar_t* buffer, DWORD size) {
    return ::GetEnvironmentVariableW(wide->c_str(), buffer, size);
  });
  if (value.empty()) return std::nullopt;
  return value;
}

std::string Win32System::WindowsFolder() {
  return QueryText([](wchar_t* buffer, DWORD size) {
    return static_cast<DWORD>(::GetWindowsDirectoryW(buffer, size));
  });
}

std::string Win32System::SpecialFolder(int csidl) {
  if (const KNOWNFOLDERID* known = KnownFolderOf(csidl)) {
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(*known, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path) {
      folder = Narrow(path);
    }
    ::CoTaskMemFree(path);
    return folder;
  }
  ItemList list;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, list.Receive())) || !list.Get()) {
    return {};
  }
  wchar_t path[MAX_PATH + 1] = {};
  if (!::SHGetPathFromIDListW(list.Get(), path)) return {};
  return Narrow(path);
}

std::string Win32System::FullPathName(std::string_view path) {
  std::optional<std::wstring> wide = Widen(path);
  if (!wide || wide->empty() || wide->find(L'\0') != std::wstring::npos) return {};
  return QueryText([&](wchar_t* buffer, DWORD size) {
    return ::GetFullPathNameW(wide->c_str(), size, buffer, nullptr);
  });
}

void Win32System::EmptyRecycleBin() {
  auto empty = ShellFunction<HRESULT(WINAPI*)(HWND, LPCWSTR, DWORD)>("SHEmptyRecycleBinW");
  if (empty) empty(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

std::optional<RecycleBinContent> Win32System::QueryRecycleBin() {
  auto query = ShellFunction<HRESULT(WINAPI*)(LPCWSTR, LPSHQUERYRBINFO)>("SHQueryRecycleBinW");
  SHQUERYRBINFO info{};
  info.cbSize = sizeof(info);
  if (!query || FAILED(query(nullptr, &info))) return std::nullopt;
  return RecycleBinContent{static_cast<std::uint64_t>(info.i64NumItems),
                           static_cast<std::uint64_t>(info.i64Size)};
}

void Win32System::ClearRecentDocuments() {
  ::SHAddToRecentDocs(0, nullptr);
}

}  // namespace platform::win32
