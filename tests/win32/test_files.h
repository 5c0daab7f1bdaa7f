// Files and folders the Windows tests make, read and look at on the sandbox's drives. Paths are
// UTF-8 and taken verbatim (the \\?\ form): names with trailing dots or blanks and paths longer
// than MAX_PATH are made and found exactly as written.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/win.h"

namespace testing_win32 {

// A text (a registry name, a URL, a caption) in UTF-16; empty when it is no valid UTF-8.
inline std::wstring W(std::string_view text) {
  return platform::win32::Widen(text).value_or(L"");
}

// A path as the W functions take it; the test fails on a path that cannot be resolved.
inline std::wstring WidePath(std::string_view path) {
  std::optional<std::wstring> wide = platform::win32::VerbatimPath(path);
  if (!wide) ADD_FAILURE() << "bad path " << path;
  return wide.value_or(L"");
}

inline bool Exists(std::string_view path) {
  return ::GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Creates the folder and those missing above it.
inline void MakeFolder(std::string_view path) {
  for (std::size_t cut = path.find('\\', 1);; cut = path.find('\\', cut + 1)) {
    const std::string_view partial = path.substr(0, cut);
    if (partial.size() > 2) ::CreateDirectoryW(WidePath(partial).c_str(), nullptr);
    if (cut == std::string_view::npos) break;
  }
}

// Creates or replaces the file, and the folders above it, with exactly these bytes; then gives
// it the attributes (none: normal). A read-only file is replaced too.
inline void MakeFile(std::string_view path, std::string_view bytes, DWORD attributes = 0) {
  if (const std::size_t cut = path.rfind('\\'); cut != std::string_view::npos) {
    MakeFolder(path.substr(0, cut));
  }
  const std::wstring wide = WidePath(path);
  ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  platform::win32::UniqueHandle file(::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr,
                                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << path << " error " << ::GetLastError();
  DWORD written = 0;
  ASSERT_TRUE(
      ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size())
      << path;
  file.Reset();
  if (attributes) {
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), attributes)) << path;
  }
}

// Sets the file's last write time to `hours` hours ago.
inline void SetWrittenHoursAgo(std::string_view path, int hours) {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER time{};
  time.LowPart = now.dwLowDateTime;
  time.HighPart = now.dwHighDateTime;
  time.QuadPart -= static_cast<ULONGLONG>(hours) * platform::kTicksPerHour;
  const FILETIME written{time.LowPart, time.HighPart};
  platform::win32::UniqueHandle file(::CreateFileW(WidePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                   OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file && ::SetFileTime(file.Get(), nullptr, nullptr, &written)) << path;
}

// A file of `size` bytes.
inline void MakeFile(std::string_view path, std::size_t size, DWORD attributes = 0) {
  MakeFile(path, std::string(size, 'x'), attributes);
}

// The whole content of a file; empty when it cannot be opened for reading.
inline std::string ReadAll(std::string_view path) {
  platform::win32::UniqueHandle file(::CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string bytes;
  if (!file) return bytes;
  std::string chunk(1 << 16, '\0');
  DWORD read = 0;
  while (::ReadFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) &&
         read > 0) {
    bytes.append(chunk, 0, read);
  }
  return bytes;
}

struct Entry {
  std::string name;
  DWORD attributes = 0;

  bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  bool IsLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
};

// The entries of a folder but "." and "..", in the order the file system gives them.
inline std::vector<Entry> Entries(std::string_view folder) {
  std::vector<Entry> entries;
  std::wstring pattern = WidePath(folder);
  if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  platform::win32::UniqueFind search(::FindFirstFileW(pattern.c_str(), &data));
  if (!search) return entries;
  do {
    const std::wstring_view name = data.cFileName;
    if (name != L"." && name != L"..") {
      entries.push_back({platform::win32::Narrow(name), data.dwFileAttributes});
    }
  } while (::FindNextFileW(search.Get(), &data));
  return entries;
}

// The files below a folder by path relative to it, with their contents; a program's contents are
// not compared, only its presence ("<program>").
inline std::map<std::string, std::string> FilesBelow(const std::string& folder,
                                                     const std::string& prefix = {}) {
  std::map<std::string, std::string> files;
  for (const Entry& entry : Entries(folder)) {
    const std::string& name = entry.name;
    if (entry.IsFolder()) {
      files.merge(FilesBelow(folder + "\\" + name, prefix + name + "\\"));
    } else if (name.ends_with(".exe")) {
      files[prefix + name] = "<program>";
    } else {
      files[prefix + name] = ReadAll(folder + "\\" + name);
    }
  }
  return files;
}

// Removes a folder with everything in it, read-only files too; a link inside goes as a link,
// its target is never entered.
inline void RemoveTree(std::string_view folder) {
  std::string base(folder);
  if (!base.empty() && base.back() != '\\') base += '\\';
  for (const Entry& entry : Entries(folder)) {
    const std::string path = base + entry.name;
    if (entry.IsFolder() && entry.IsLink()) {
      ::RemoveDirectoryW(WidePath(path).c_str());
    } else if (entry.IsFolder()) {
      RemoveTree(path);
    } else {
      ::SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(WidePath(path).c_str());
    }
  }
  ::RemoveDirectoryW(WidePath(folder).c_str());
}

}  // namespace testing_win32
