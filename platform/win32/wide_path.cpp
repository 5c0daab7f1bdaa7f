#include "platform/win32/wide_path.h"

#include "platform/win32/win.h"

#include "platform/utf.h"

namespace platform::win32 {

namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

// An absolute drive or UNC path in plain form: backslashes only, no empty, "." or ".." part.
bool IsCanonicalAbsolute(std::wstring_view path) {
  size_t start = 0;
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') {
    start = 3;
  } else if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
    start = 2;
  } else {
    return false;
  }
  std::wstring_view rest = path.substr(start);
  while (!rest.empty()) {
    size_t cut = rest.find_first_of(L"\\/");
    std::wstring_view part = rest.substr(0, cut);
    if (cut != std::wstring_view::npos && rest[cut] == L'/') return false;
    if (part.empty() || part == L"." || part == L"..") return false;
    if (cut == std::wstring_view::npos || cut + 1 == rest.size()) break;  // a final \ is fine
    rest.remove_prefix(cut + 1);
  }
  return true;
}

std::wstring AddVerbatimPrefix(const std::wstring& absolute) {
  if (absolute.size() > 2 && IsSeparator(absolute[0]) && IsSeparator(absolute[1])) {
    return L"\\\\?\\UNC\\" + absolute.substr(2);
  }
  return L"\\\\?\\" + absolute;
}

}  // namespace

std::optional<std::wstring> Widen(std::string_view utf8) {
  std::optional<std::u16string> wide = Utf8ToUtf16(utf8);
  if (!wide) return std::nullopt;
  return std::wstring(wide->begin(), wide->end());
}

std::wstring WidenForDisplay(std::string_view utf8) {
  if (std::optional<std::wstring> exact = Widen(utf8)) return *std::move(exact);
  const auto size = static_cast<int>(utf8.size());
  std::wstring wide(
      static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
      L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  return Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::optional<std::wstring> VerbatimPath(std::string_view utf8) {
  std::optional<std::wstring> wide = Widen(utf8);
  if (!wide || wide->empty() || wide->find(L'\0') != std::wstring::npos) return std::nullopt;
  const std::wstring_view view = *wide;
  if (view.substr(0, 4) == L"\\\\?\\" || view.substr(0, 4) == L"\\\\.\\") return wide;
  if (IsCanonicalAbsolute(view)) return AddVerbatimPrefix(*wide);

  const DWORD needed = ::GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
  if (needed == 0) return std::nullopt;
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(wide->c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return std::nullopt;
  full.resize(length);
  // A device name such as "nul" resolves to \\.\nul and is no file of ours.
  if (full.substr(0, 4) == L"\\\\.\\") return std::nullopt;
  return AddVerbatimPrefix(full);
}

}  // namespace platform::win32
