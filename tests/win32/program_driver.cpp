#include "tests/win32/program_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>

#include <commctrl.h>

#include "platform/win32/wide_path.h"
#include "tests/win32/test_files.h"

namespace testing_program {

namespace {

using platform::win32::Narrow;
using testing_win32::W;
using testing_win32::WidePath;

// Copies a folder tree; the data folder holds only a few small files.
void CopyTree(const std::string& from, const std::string& to) {
  ASSERT_TRUE(testing_win32::Exists(from)) << from;
  testing_win32::MakeFolder(to);
  for (const testing_win32::Entry& entry : testing_win32::Entries(from)) {
    const std::string source = from + "\\" + entry.name;
    const std::string target = to + "\\" + entry.name;
    if (entry.IsFolder()) {
      CopyTree(source, target);
    } else {
      ::CopyFileW(WidePath(source).c_str(), WidePath(target).c_str(), FALSE);
    }
  }
}

std::string ExecutableFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::string file = Narrow(std::wstring_view(path, length));
  return file.substr(0, file.rfind('\\'));
}

}  // namespace

bool HaveDisplay() {
  return std::getenv("DISPLAY") != nullptr;
}

ProgramFolder::ProgramFolder() {
  static std::atomic<int> counter{0};
  path_ =
      "T:\\program-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
  const std::string source = ExecutableFolder();
  testing_win32::MakeFolder(path_);
  EXPECT_TRUE(::CopyFileW(WidePath(source + "\\dustorix.exe").c_str(),
                          WidePath(File("dustorix.exe")).c_str(), FALSE))
      << "dustorix.exe must lie beside the tests";
  CopyTree(source + "\\data", File("data"));
}

void ProgramFolder::Write(const std::string& relative, const std::string& bytes) const {
  testing_win32::MakeFile(File(relative), bytes);
}

std::string ProgramFolder::Read(const std::string& relative) const {
  return testing_win32::ReadAll(File(relative));
}

bool ProgramFolder::Exists(const std::string& relative) const {
  return testing_win32::Exists(File(relative));
}

Program::Program(const ProgramFolder& folder, const std::string& workingFolder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring command = L"\"" + W(folder.File("dustorix.exe")) + L"\"";
  const std::string working = workingFolder.empty() ? folder.Path() : workingFolder;
  const BOOL started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, W(working).c_str(), &startup, &info_);
  EXPECT_TRUE(started) << "CreateProcess failed: " << ::GetLastError();
  if (started) {
    process_.Reset(info_.hProcess);
    thread_.Reset(info_.hThread);
  }
}

Program::~Program() {
  if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.Get(), 1);
    ::WaitForSingleObject(process_.Get(), 5000);
  }
}

StandInProcess::StandInProcess(const std::string& programFile) {
  static std::atomic<int> counter{0};
  folder_ =
      "T:\\stand-in-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
  testing_win32::MakeFolder(folder_);
  const std::string program = folder_ + "\\" + programFile;
  const bool copied = ::CopyFileW(WidePath(ExecutableFolder() + "\\dustorix_idle.exe").c_str(),
                                  WidePath(program).c_str(), FALSE);
  EXPECT_TRUE(copied) << "dustorix_idle.exe must lie beside the tests";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring command = L"\"" + W(program) + L"\" " + std::to_wstring(::GetCurrentProcessId());
  PROCESS_INFORMATION info{};
  const bool started =
      copied && ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                 nullptr, nullptr, &startup, &info);
  EXPECT_TRUE(started) << "CreateProcess failed: " << ::GetLastError();
  if (!started) return;
  process_.Reset(info.hProcess);
  ::CloseHandle(info.hThread);
}

StandInProcess::~StandInProcess() {
  if (process_) {
    ::TerminateProcess(process_.Get(), 0);
    ::WaitForSingleObject(process_.Get(), 5000);
    process_.Reset();
  }
  testing_win32::RemoveTree(folder_);
}

HWND Program::WaitForWindow(const wchar_t* className, int timeoutMs) const {
  for (int waited = 0; waited <= timeoutMs; waited += 20) {
    for (HWND window = ::FindWindowExW(nullptr, nullptr, className, nullptr); window;
         window = ::FindWindowExW(nullptr, window, className, nullptr)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == info_.dwProcessId && ::IsWindowVisible(window)) return window;
    }
    ::Sleep(20);
  }
  return nullptr;
}

int Program::WaitForExit(int timeoutMs) const {
  if (!process_ ||
      ::WaitForSingleObject(process_.Get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
    return -1;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(process_.Get(), &code);
  return static_cast<int>(code);
}

namespace {

int Finish(PROCESS_INFORMATION& info) {
  platform::win32::UniqueHandle process(info.hProcess);
  platform::win32::UniqueHandle thread(info.hThread);
  DWORD code = 0;
  if (::WaitForSingleObject(process.Get(), 60000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.Get(), 99);
    return -1;
  }
  ::GetExitCodeProcess(process.Get(), &code);
  return static_cast<int>(code);
}

std::wstring CommandLine(const ProgramFolder& folder, const std::string& arguments) {
  return L"\"" + W(folder.File("dustorix.exe")) + L"\" " + W(arguments);
}

// Runs a command line in a working folder with standard error in a file, and waits for its end
// (a minute at most). Standard output goes to a pipe that is read while the program runs, or,
// where the program might never end, to a file beside standard error's.
CommandRun RunProgram(std::wstring command, const std::string& workingFolder,
                      const std::string& errFile, bool outToPipe) {
  SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
  const auto file = [&](const std::string& path) {
    return platform::win32::UniqueHandle(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE,
                                                       FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  };
  const std::string outFile = errFile + ".out";
  platform::win32::UniqueHandle read, write;
  if (outToPipe) {
    EXPECT_TRUE(::CreatePipe(read.Receive(), write.Receive(), &inherited, 0));
    ::SetHandleInformation(read.Get(), HANDLE_FLAG_INHERIT, 0);
  } else {
    write = file(outFile);
  }
  platform::win32::UniqueHandle err = file(errFile);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write.Get();
  startup.hStdError = err.Get();
  PROCESS_INFORMATION info{};
  CommandRun run;
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        W(workingFolder).c_str(), &startup, &info)) {
    ADD_FAILURE() << "CreateProcess failed: " << ::GetLastError();
    return run;
  }
  write.Reset();
  char chunk[4096];
  DWORD got = 0;
  while (read && ::ReadFile(read.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
    run.out.append(chunk, got);
  run.exitCode = Finish(info);
  err.Reset();
  run.err = testing_win32::ReadAll(errFile);
  if (!outToPipe) run.out = testing_win32::ReadAll(outFile);
  return run;
}

}  // namespace

CommandRun RunCommand(const ProgramFolder& folder, const std::string& arguments) {
  return RunProgram(CommandLine(folder, arguments), folder.Path(), folder.File("stderr.txt"), true);
}

CommandRun RunBesideTests(const std::string& program, const std::string& arguments,
                          const std::string& workingFolder) {
  return RunProgram(L"\"" + W(ExecutableFolder() + "\\" + program) + L"\" " + W(arguments),
                    workingFolder, workingFolder + "\\stderr-" + program + ".txt", false);
}

std::vector<std::wstring> RunOnConsole(const ProgramFolder& folder, const std::string& arguments) {
  const HANDLE given[] = {::GetStdHandle(STD_INPUT_HANDLE), ::GetStdHandle(STD_OUTPUT_HANDLE),
                          ::GetStdHandle(STD_ERROR_HANDLE)};
  ::FreeConsole();
  std::vector<std::wstring> lines;
  if (::AllocConsole()) {
    platform::win32::UniqueHandle screen(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                       OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring command = CommandLine(folder, arguments);
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         W(folder.Path()).c_str(), &startup, &info)) {
      Finish(info);
    }
    CONSOLE_SCREEN_BUFFER_INFO buffer{};
    ::GetConsoleScreenBufferInfo(screen.Get(), &buffer);
    std::wstring row(static_cast<size_t>(buffer.dwSize.X), L' ');
    bool wrapped = false;
    for (SHORT y = 0; y <= buffer.dwCursorPosition.Y; ++y) {
      DWORD read = 0;
      ::ReadConsoleOutputCharacterW(screen.Get(), row.data(), static_cast<DWORD>(row.size()),
                                    COORD{0, y}, &read);
      const std::wstring text = row.substr(0, row.find_last_not_of(L' ') + 1);
      if (wrapped) {
        lines.back() += text;
      } else {
        lines.push_back(text);
      }
      wrapped = text.size() == row.size();
    }
    ::FreeConsole();
  }
  ::SetStdHandle(STD_INPUT_HANDLE, given[0]);
  ::SetStdHandle(STD_OUTPUT_HANDLE, given[1]);
  ::SetStdHandle(STD_ERROR_HANDLE, given[2]);
  return lines;
}

std::string WindowText(HWND window) {
  wchar_t text[512] = {};
  ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return Narrow(text);
}

std::vector<std::string> ChildTexts(HWND window) {
  std::vector<std::string> texts;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<std::string>*>(list)->push_back(WindowText(child));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

HWND FindChild(HWND window, const wchar_t* className, const std::string& text, int skip) {
  for (HWND child = ::FindWindowExW(window, nullptr, className, nullptr); child;
       child = ::FindWindowExW(window, child, className, nullptr)) {
    if (!text.empty() && WindowText(child) != text) continue;
    if (skip-- == 0) return child;
  }
  return nullptr;
}

void Click(HWND button) {
  ::SendMessageW(button, BM_CLICK, 0, 0);
}

void PostClick(HWND button) {
  ::PostMessageW(button, BM_CLICK, 0, 0);
}

std::vector<std::string> ListBoxLines(HWND list) {
  std::vector<std::string> lines;
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()));
    line.resize(static_cast<size_t>(length));
    lines.push_back(Narrow(line));
  }
  return lines;
}

void SelectLine(HWND list, int line, bool selected) {
  ::SendMessageW(list, LB_SETSEL, selected ? TRUE : FALSE, line);
  ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

void ChooseComboLine(HWND combo, int line) {
  ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
  ::SendMessageW(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void TypeText(HWND edit, const std::string& text) {
  ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(text).c_str()));
  ::SendMessageW(::GetParent(edit), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(edit), EN_CHANGE),
                 reinterpret_cast<LPARAM>(edit));
}

namespace {

// Memory in the process that owns a window, for the structures of messages that the system does
// not carry across processes (the list view's and the header's).
class RemoteMemory {
 public:
  RemoteMemory(HWND window, size_t size) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    process_.Reset(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, owner));
    if (process_) {
      address_ = static_cast<char*>(::VirtualAllocEx(process_.Get(), nullptr, size,
                                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    EXPECT_NE(address_, nullptr) << "no memory in the window's process: " << ::GetLastError();
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  ~RemoteMemory() {
    if (address_) ::VirtualFreeEx(process_.Get(), address_, 0, MEM_RELEASE);
  }

  bool Valid() const { return address_ != nullptr; }
  // An address in the other process, for pointers inside the structures placed there.
  template <typename T>
  T* At(size_t offset) const {
    return reinterpret_cast<T*>(address_ + offset);
  }
  LPARAM Param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(address_ + offset); }
  template <typename T>
  void Put(const T& value, size_t offset = 0) const {
    ::WriteProcessMemory(process_.Get(), address_ + offset, &value, sizeof(T), nullptr);
  }
  template <typename T>
  T Get(size_t offset = 0) const {
    T value{};
    ::ReadProcessMemory(process_.Get(), address_ + offset, &value, sizeof(T), nullptr);
    return value;
  }
  std::wstring Text(size_t offset, size_t length) const {
    std::wstring text(length, L'\0');
    ::ReadProcessMemory(process_.Get(), address_ + offset, text.data(), length * sizeof(wchar_t),
                        nullptr);
    return text;
  }

 private:
  platform::win32::UniqueHandle process_;
  char* address_ = nullptr;
};

constexpr size_t kTextRoom = 1024;

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  for (int waited = 0; waited <= timeoutMs; waited += 10) {
    if (done()) return true;
    ::Sleep(10);
  }
  return false;
}

// A row's rectangle (LVIR_*) in the list's client area, the row scrolled into view first.
RECT ListViewRowRect(HWND list, int row, int part) {
  ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  RemoteMemory memory(list, sizeof(RECT));
  RECT rect{};
  rect.left = part;
  memory.Put(rect);
  ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), memory.Param());
  return memory.Get<RECT>();
}

// Where the list's own hit test finds the row's box; nothing for a row without one.
std::optional<POINT> ListViewBoxPoint(HWND list, int row) {
  const RECT bounds = ListViewRowRect(list, row, LVIR_BOUNDS);
  const LONG y = (bounds.top + bounds.bottom) / 2;
  RemoteMemory memory(list, sizeof(LVHITTESTINFO));
  for (LONG x = bounds.left; x < bounds.left + 48; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    memory.Put(hit);
    const auto found = ::SendMessageW(list, LVM_HITTEST, 0, memory.Param());
    if (found == row && (memory.Get<LVHITTESTINFO>().flags & LVHT_ONITEMSTATEICON)) {
      return POINT{x + 3, y};
    }
  }
  return std::nullopt;
}

void PostClick(HWND window, POINT at) {
  const LPARAM where = MAKELPARAM(at.x, at.y);
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
  ::PostMessageW(window, WM_LBUTTONUP, 0, where);
}

}  // namespace

HWND FindListView(HWND window, int skip) {
  return FindChild(window, WC_LISTVIEWW, {}, skip);
}

int ListViewRowCount(HWND list) {
  return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListViewCell(HWND list, int row, int column) {
  RemoteMemory memory(list, sizeof(LVITEMW) + kTextRoom * sizeof(wchar_t));
  if (!memory.Valid()) return {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = memory.At<wchar_t>(sizeof(LVITEMW));
  item.cchTextMax = kTextRoom;
  memory.Put(item);
  const auto length =
      ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), memory.Param());
  return Narrow(memory.Text(sizeof(LVITEMW), static_cast<size_t>(std::max<LRESULT>(length, 0))));
}

std::optional<bool> ListViewRowChecked(HWND list, int row) {
  // The state image: 0 none, 1 an empty box, 2 a ticked one.
  const auto image =
      (::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) &
       LVIS_STATEIMAGEMASK) >>
      12;
  if (image == 0) return std::nullopt;
  return image == 2;
}

bool ListViewRowSelected(HWND list, int row) {
  return ::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
}

std::vector<ListViewColumn> ListViewColumns(HWND list) {
  std::vector<ListViewColumn> columns;
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  const auto count = ::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
  RemoteMemory memory(list, sizeof(HDITEMW) + kTextRoom * sizeof(wchar_t));
  if (!memory.Valid()) return columns;
  for (LRESULT i = 0; i < count; ++i) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = memory.At<wchar_t>(sizeof(HDITEMW));
    item.cchTextMax = kTextRoom;
    memory.Put(item);
    memory.Put(L'\0', sizeof(HDITEMW));
    ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), memory.Param());
    const auto got = memory.Get<HDITEMW>();
    std::wstring caption = memory.Text(sizeof(HDITEMW), kTextRoom);
    caption.resize(caption.find(L'\0'));
    columns.push_back({Narrow(caption), got.cxy, got.fmt});
  }
  return columns;
}

bool ClickListViewRow(HWND list, int row) {
  const RECT label = ListViewRowRect(list, row, LVIR_LABEL);
  PostClick(list, {(label.left + label.right) / 2, (label.top + label.bottom) / 2});
  return WaitUntil([&] {
    if (!ListViewRowSelected(list, row)) return false;
    return ::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1;
  });
}

bool ClickListViewCheckBox(HWND list, int row) {
  const std::optional<bool> before = ListViewRowChecked(list, row);
  const std::optional<POINT> box = ListViewBoxPoint(list, row);
  if (!before || !box) return false;
  PostClick(list, *box);
  return WaitUntil([&] { return ListViewRowChecked(list, row) == !*before; });
}

bool PostListViewCheckBoxClick(HWND list, int row) {
  const std::optional<POINT> box = ListViewBoxPoint(list, row);
  if (!box) return false;
  PostClick(list, *box);
  return true;
}

bool ToggleListViewRowWithSpace(HWND list, int row) {
  const std::optional<bool> before = ListViewRowChecked(list, row);
  if (!before || !ClickListViewRow(list, row)) return false;
  const auto scan = static_cast<LPARAM>(::MapVirtualKeyW(VK_SPACE, MAPVK_VK_TO_VSC));
  ::PostMessageW(list, WM_KEYDOWN, VK_SPACE, 1 | (scan << 16));
  ::PostMessageW(list, WM_KEYUP, VK_SPACE, 1 | (scan << 16) | (LPARAM{3} << 30));
  return WaitUntil([&] { return ListViewRowChecked(list, row) == !*before; });
}

void ClickListViewHeader(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  RemoteMemory memory(list, sizeof(RECT));
  ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), memory.Param());
  const RECT rect = memory.Get<RECT>();
  PostClick(header, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void ChooseMenu(HWND window, int command) {
  ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

lang::LanguageTexts LanguageTextsOf(const ProgramFolder& folder, const std::string& code) {
  return lang::ParseLanguageFile(folder.Read("data\\lang\\" + code + ".dat"), code);
}

}  // namespace testing_program
