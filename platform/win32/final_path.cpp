#include "platform/win32/final_path.h"

#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/shell_names.h"
#include "platform/wildcard.h"
#include "platform/win32/wide_path.h"

namespace platform::win32 {

bool RunningUnderWine() {
  static const bool wine = [] {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

std::wstring PlainPath(std::wstring_view verbatim) {
  if (verbatim.substr(0, 8) == L"\\\\?\\UNC\\") return L"\\\\" + std::wstring(verbatim.substr(8));
  if (verbatim.substr(0, 4) == L"\\\\?\\") return std::wstring(verbatim.substr(4));
  return std::wstring(verbatim);
}

namespace {

// Wine's GetFinalPathNameByHandleW fails past MAX_PATH; the object's name has no such limit. It
// is \??\C:\x for a place on a drive, \??\unix\x for one outside every drive.
std::string WineFinalPathOf(HANDLE handle) {
  using QueryObject = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryObject>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
  if (!query) return {};
  constexpr int kObjectNameInformation = 1;
  std::vector<std::uint64_t> buffer(8192);  // 64 KiB: the longest name a path can have
  ULONG length = 0;
  if (query(handle, kObjectNameInformation, buffer.data(),
            static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t)), &length) != 0) {
    return {};
  }
  const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
  const std::wstring_view path(name->Buffer, name->Length / sizeof(wchar_t));
  if (path.size() >= 6 && path.substr(0, 4) == L"\\??\\" && path[5] == L':') {
    return Narrow(path.substr(4));
  }
  if (path.substr(0, 8) == L"\\??\\UNC\\") return Narrow(L"\\\\" + std::wstring(path.substr(8)));
  return {};
}

}  // namespace

std::string FinalPathOf(HANDLE handle) {
  if (RunningUnderWine()) return WineFinalPathOf(handle);
  std::wstring buffer(MAX_PATH + 1, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length =
        ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      const std::wstring_view path = buffer;
      const bool drive = path.size() >= 7 && path.substr(0, 4) == L"\\\\?\\" && path[5] == L':';
      const bool share = path.substr(0, 8) == L"\\\\?\\UNC\\";
      return drive || share ? Narrow(PlainPath(path)) : std::string();
    }
    buffer.assign(length + 1, L'\0');
  }
  return {};
}

bool SamePath(std::string_view a, std::string_view b) {
  while (a.size() > 3 && a.back() == '\\')
    a.remove_suffix(1);
  while (b.size() > 3 && b.back() == '\\')
    b.remove_suffix(1);
  return platform::SameName(a, b);
}

namespace {

// Wine names a file whose name ends in dots or blanks without them.
std::string WithoutTrailingDotsAndBlanks(std::string_view path) {
  std::string out;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    std::string_view part = path.substr(start, end - start);
    while (!part.empty() && (part.back() == '.' || part.back() == ' '))
      part.remove_suffix(1);
    if (start > 0) out += '\\';
    out += part;
    start = end + 1;
  }
  return out;
}

}  // namespace

std::optional<OpenedFile> InspectOpened(HANDLE handle, std::wstring_view verbatimPath) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) return std::nullopt;
  OpenedFile file;
  file.attributes = info.dwFileAttributes;
  file.links = info.nNumberOfLinks;
  file.isLink = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  // Windows marks every link as a reparse point; Wine marks none that leads to a file, so the
  // place it leads to has to be compared with the one asked for.
  if (!file.isLink && RunningUnderWine()) {
    file.isLink = !SamePath(WithoutTrailingDotsAndBlanks(FinalPathOf(handle)),
                            WithoutTrailingDotsAndBlanks(Narrow(PlainPath(verbatimPath))));
  }
  return file;
}

char HostRootDriveLetter() {
  if (!RunningUnderWine()) return '\0';
  using DosName = WCHAR*(CDECL*)(LPCSTR);
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  const auto dosName = reinterpret_cast<DosName>(
      reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "wine_get_dos_file_name")));
  if (!dosName) return '\0';
  WCHAR* root = dosName("/");
  if (!root) return '\0';
  char letter = '\0';
  // "Z:\" when a drive maps to the host's root; \\?\unix\ when none does.
  if (root[0] != L'\0' && root[1] == L':') letter = static_cast<char>(root[0] & ~0x20);
  ::HeapFree(::GetProcessHeap(), 0, root);
  return letter;
}

}  // namespace platform::win32
