#include "platform/win32/final_path.h"

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

std::string FinalPathOf(HANDLE handle) {
  std::wstring buffer(MAX_PATH + 1, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length =
        ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      const std::wstring_view path = buffer;
      // Wine names a place outside its drives \\?\unix\...: no place of the user's Windows.
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
    file.isLink = !SamePath(FinalPathOf(handle), Narrow(PlainPath(verbatimPath)));
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
