// Moving files to the recycle bin so that none is ever deleted for good on the way.
//
// The shell deletes a file for good, and reports success, when the bin cannot take it: no bin on
// its drive, a file larger than the bin, the bin switched off, or (under Wine) no trash folder.
// No flag makes it refuse such a file without asking the user. So each file gets a second name
// (a hard link beside it) before it is handed over: a file the bin took still has that name's
// link count; a file deleted for good has one link less, and gets its name back through the
// second one. A file that cannot get a second name is not handed over at all.
#include "platform/win32/win.h"

#include <shellapi.h>

#include <unordered_set>

#include "platform/shell_names.h"
#include "platform/utf.h"
#include "platform/wildcard.h"
#include "platform/win32/final_path.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/win32_system.h"

namespace platform::win32 {

namespace {

// A file on its way to the bin, and the second name that keeps it meanwhile.
struct Handover {
  std::size_t index;      // in the caller's list
  std::wstring item;      // the path as the shell takes it
  std::wstring verbatim;  // the same path for every other call
  std::wstring keep;      // the second name
  DWORD links = 0;        // with the second name
};

UniqueHandle OpenToInspect(const std::wstring& verbatim) {
  return UniqueHandle(::CreateFileW(verbatim.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool Exists(const std::wstring& verbatim) {
  return ::GetFileAttributesW(verbatim.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// `items` is the shell's list: each path followed by a NUL, and one more NUL at the end. No
// window of the shell's may show: an unattended run would wait for it.
void ShellRecycle(const std::wstring& items) {
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = items.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_ALLOWUNDO;
  ::SHFileOperationW(&operation);
}

// A second name in the file's own folder, on its own volume: a hard link needs both.
bool MakeSecondName(Handover& handover) {
  static unsigned counter = 0;
  const std::size_t cut = handover.verbatim.find_last_of(L'\\');
  const std::wstring folder = handover.verbatim.substr(0, cut + 1);
  for (int attempt = 0; attempt < 3; ++attempt) {
    handover.keep = folder + L"~dustorix-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                    std::to_wstring(++counter) + L".keep";
    if (::CreateHardLinkW(handover.keep.c_str(), handover.verbatim.c_str(), nullptr)) return true;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

DWORD LinksOf(const std::wstring& verbatim) {
  UniqueHandle file = OpenToInspect(verbatim);
  BY_HANDLE_FILE_INFORMATION info{};
  return file && ::GetFileInformationByHandle(file.Get(), &info) ? info.nNumberOfLinks : 0;
}

// Checks the file and gives it its second name; what it tells when it cannot be handed over.
std::optional<Recycled> Prepare(std::string_view path, Handover& handover) {
  std::optional<std::wstring> wide = Widen(path);
  if (!wide || wide->empty() || wide->find(L'\0') != std::wstring::npos) return Recycled::kRefused;
  // Wildcards would make the shell take more than the one file; a name ending in a dot or a
  // blank is only reached by \\?\ paths, which the shell does not know.
  if (path.find_first_of("*?") != std::string_view::npos || HasNameTheShellCannotReach(path)) {
    return Recycled::kRefused;
  }
  std::optional<std::wstring> verbatim = VerbatimPath(path);
  if (!verbatim) return Recycled::kRefused;
  handover.verbatim = std::move(*verbatim);
  handover.item = PlainPath(handover.verbatim);
  UniqueHandle file = OpenToInspect(handover.verbatim);
  if (!file) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Recycled::kMissing
                                                                          : Recycled::kRefused;
  }
  if (handover.item.size() >= kShellPathLimit) return Recycled::kPathTooLong;
  const std::optional<OpenedFile> opened = InspectOpened(file.Get(), handover.verbatim);
  if (!opened || opened->isLink || (opened->attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Recycled::kRefused;
  }
  file.Reset();
  if (!MakeSecondName(handover)) return Recycled::kRefused;
  handover.links = LinksOf(handover.keep);
  if (handover.links == 0) {
    ::DeleteFileW(handover.keep.c_str());
    return Recycled::kRefused;
  }
  return std::nullopt;
}

// After the shell: whether the bin holds the file; a file the shell deleted for good gets its
// name back.
Recycled Settle(const Handover& handover) {
  if (Exists(handover.verbatim)) {
    ::DeleteFileW(handover.keep.c_str());
    return Recycled::kRefused;
  }
  if (LinksOf(handover.keep) == handover.links) {
    ::DeleteFileW(handover.keep.c_str());
    return Recycled::kYes;
  }
  ::MoveFileExW(handover.keep.c_str(), handover.verbatim.c_str(), 0);
  return Recycled::kRefused;
}

}  // namespace

Recycled Win32System::MoveToRecycleBin(std::string_view path) {
  std::vector<Recycled> results;
  const std::string one(path);
  MoveAllToRecycleBin(std::span<const std::string>(&one, 1), results);
  return results.front();
}

void Win32System::MoveAllToRecycleBin(std::span<const std::string> paths,
                                      std::vector<Recycled>& results) {
  results.assign(paths.size(), Recycled::kMissing);
  std::vector<Handover> handed;
  std::unordered_set<std::u16string> seen;
  std::wstring items;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    // A path given twice goes once: the second time it is missing.
    std::u16string folded;
    if (!Utf8ToUtf16(paths[i], folded)) folded.assign(paths[i].begin(), paths[i].end());
    for (char16_t& unit : folded)
      unit = UpcaseChar(unit);
    if (!seen.insert(std::move(folded)).second) continue;
    Handover handover{i, {}, {}, {}, 0};
    if (const std::optional<Recycled> refused = Prepare(paths[i], handover)) {
      results[i] = *refused;
      continue;
    }
    items += handover.item;
    items.push_back(L'\0');
    handed.push_back(std::move(handover));
  }
  if (handed.empty()) return;
  items.push_back(L'\0');
  ShellRecycle(items);
  for (const Handover& handover : handed) {
    // The shell may give up at the first file it cannot move: what is left gets a second chance
    // of its own.
    if (Exists(handover.verbatim)) {
      std::wstring alone = handover.item;
      alone.append(2, L'\0');
      ShellRecycle(alone);
    }
    results[handover.index] = Settle(handover);
  }
}

}  // namespace platform::win32
