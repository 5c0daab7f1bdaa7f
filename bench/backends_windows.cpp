// The backends of the Windows build: the real one (default) and the sim. The real one writes the
// tree onto the sandbox's test drive through the W functions, and its floor is the walk a native
// tool makes: FindFirstFileExW with FindExInfoBasic and FIND_FIRST_EX_LARGE_FETCH, one listing
// per folder, nothing else.
#include "platform/win32/ui/native.h"

#include <shellapi.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "bench/backend.h"
#include "platform/win32/ui/win32_ui.h"
#include "platform/win32/wide_path.h"
#include "platform/win32/win32_system.h"

namespace bench {

namespace {

namespace win32 = platform::win32;

// Only inside the sandbox that scripts/bench makes: its drive is named in the environment, and
// no drive Z: leads to the host.
std::string SandboxDrive() {
  const char* drive = std::getenv("DUSTORIX_BENCH_DRIVE");
  if (drive == nullptr || std::string(drive).size() != 2 || drive[1] != ':') {
    std::fprintf(stderr,
                 "refusing to write: DUSTORIX_BENCH_DRIVE is not set (use scripts/bench)\n");
    return {};
  }
  if (::GetDriveTypeW(L"Z:\\") != DRIVE_NO_ROOT_DIR) {
    std::fprintf(stderr, "refusing to write: drive Z: exists, the prefix reaches the host\n");
    return {};
  }
  return drive;
}

class DiskTreeWriter final : public TreeWriter {
 public:
  bool MakeFolder(const std::string& path, std::uint32_t attributes) override {
    const std::optional<std::wstring> wide = win32::VerbatimPath(path);
    return wide && ::CreateDirectoryW(wide->c_str(), nullptr) && Mark(*wide, attributes);
  }

  // Sizes are set, not written: the files are sparse and the tree takes little disk.
  bool MakeFile(const std::string& path, std::uint64_t size, std::uint32_t attributes) override {
    const std::optional<std::wstring> wide = win32::VerbatimPath(path);
    if (!wide) return false;
    HANDLE file = ::CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool sized =
        size == 0 || (::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file));
    ::CloseHandle(file);
    return sized && Mark(*wide, attributes);
  }

 private:
  static bool Mark(const std::wstring& path, std::uint32_t attributes) {
    return attributes == 0 || ::SetFileAttributesW(path.c_str(), attributes);
  }
};

bool IsDotName(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

void Walk(std::wstring& folder, WalkCount& count, std::vector<std::wstring>& pending) {
  const std::size_t length = folder.size();
  folder += L'*';
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileExW(folder.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
  folder.resize(length);
  ++count.folders;
  if (find == INVALID_HANDLE_VALUE) return;
  const std::size_t first = pending.size();
  do {
    if (IsDotName(data.cFileName)) continue;
    ++count.entries;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      pending.emplace_back(data.cFileName);
    }
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  const std::size_t last = pending.size();
  for (std::size_t i = first; i < last; ++i) {
    folder += pending[i];
    folder += L'\\';
    Walk(folder, count, pending);
    folder.resize(length);
  }
  pending.resize(first);
}

// One listing of `folder` (ending with a backslash): the names of its files and of its folders.
void ListOnce(const std::wstring& folder, std::vector<std::wstring>& files,
              std::vector<std::wstring>& folders) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileExW((folder + L'*').c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (IsDotName(data.cFileName)) continue;
    ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? folders : files)
        .emplace_back(data.cFileName);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

// The removal floor: one listing of the folder, then DeleteFileW for its files, a descent into
// each subfolder and, with `folders`, RemoveDirectoryW for it.
void Remove(std::wstring folder, bool folders, WalkCount& count) {
  if (folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> files, subfolders;
  ListOnce(folder, files, subfolders);
  ++count.folders;
  for (const std::wstring& name : files) {
    ++count.entries;
    ::DeleteFileW((folder + name).c_str());
  }
  for (const std::wstring& name : subfolders) {
    ++count.entries;
    Remove(folder + name, folders, count);
    if (folders) ::RemoveDirectoryW((folder + name).c_str());
  }
}

// The shell's floor: each folder's files to the recycle bin, `batch` to one SHFileOperationW.
void Recycle(std::wstring folder, std::size_t batch, WalkCount& count) {
  if (folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> files, subfolders;
  ListOnce(folder, files, subfolders);
  ++count.folders;
  const std::wstring shellFolder = folder.substr(4);  // the shell takes no \\?\ form
  for (std::size_t begin = 0; begin < files.size(); begin += batch) {
    std::wstring items;
    for (std::size_t i = begin; i < std::min(files.size(), begin + batch); ++i) {
      items += shellFolder + files[i];
      items.push_back(L'\0');
      ++count.entries;
    }
    items.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = items.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_ALLOWUNDO;
    ::SHFileOperationW(&operation);
  }
  for (const std::wstring& name : subfolders)
    Recycle(folder + name, batch, count);
}

// A click as the mouse makes it, button down and up on the button's middle, posted from another
// thread at a chosen moment while the walk holds the ui thread.
class ClickLater final : public Press {
 public:
  ClickLater(HWND button, Clock::duration delay)
      : button_(button), thread_([this, delay] { Run(delay); }) {}
  ~ClickLater() override {
    Clock::time_point ignored;
    Finish(ignored);
  }

  bool Finish(Clock::time_point& pressedAt) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      finished_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    pressedAt = pressedAt_;
    return made_;
  }

 private:
  void Run(Clock::duration delay) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (wake_.wait_for(lock, delay, [this] { return finished_; })) return;
    RECT area{};
    ::GetClientRect(button_, &area);
    const LPARAM middle = MAKELPARAM(area.right / 2, area.bottom / 2);
    pressedAt_ = Clock::now();
    made_ = true;
    ::PostMessageW(button_, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    ::PostMessageW(button_, WM_LBUTTONUP, 0, middle);
  }

  HWND button_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool finished_ = false;
  bool made_ = false;
  Clock::time_point pressedAt_;
  std::thread thread_;  // last: it starts once everything above is in place
};

class Win32Backend final : public Backend {
 public:
  std::string Name() const override { return "win32"; }
  platform::System& System() override { return system_; }
  ui::Backend& Ui() override { return ui_; }

  std::string Build(const Tree& tree, const std::string& folder) override {
    const std::string drive = SandboxDrive();
    if (drive.empty()) return {};
    const std::string root = drive + "\\" + folder + "\\";
    const std::optional<std::wstring> wide = win32::VerbatimPath(root);
    if (!wide || !::CreateDirectoryW(wide->c_str(), nullptr)) {
      std::fprintf(stderr, "cannot create %s (it must not exist yet)\n", root.c_str());
      return {};
    }
    DiskTreeWriter writer;
    return WriteTree(tree, root, writer) ? root : "";
  }

  WalkCount BareWalk(const std::string& root) override {
    WalkCount count;
    std::optional<std::wstring> folder = win32::VerbatimPath(root);
    if (!folder) return count;
    if (folder->back() != L'\\') *folder += L'\\';
    std::vector<std::wstring> pending;
    Walk(*folder, count, pending);
    return count;
  }

  WalkCount BareRemove(const std::string& root, bool folders) override {
    WalkCount count;
    std::optional<std::wstring> folder = win32::VerbatimPath(root);
    if (folder) Remove(*folder, folders, count);
    return count;
  }

  WalkCount BareRecycle(const std::string& root, std::size_t batch) override {
    WalkCount count;
    std::optional<std::wstring> folder = win32::VerbatimPath(root);
    if (folder) Recycle(*folder, batch, count);
    return count;
  }

  std::unique_ptr<Press> PressLater(ui::Button& button, Clock::duration delay) override {
    return std::make_unique<ClickLater>(win32::WindowOf(button), delay);
  }

 private:
  win32::Win32System system_;
  win32::Win32Ui ui_;
};

}  // namespace

std::unique_ptr<Backend> MakeBackend(const std::string& name) {
  if (name == "win32") return std::make_unique<Win32Backend>();
  return name == "sim" ? MakeSimBackend() : nullptr;
}

std::string DefaultBackendName() {
  return "win32";
}

}  // namespace bench
