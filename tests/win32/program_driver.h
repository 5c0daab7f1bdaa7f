// Drives the real dustorix.exe from the test process, as a user (or a second start) would:
// a program folder on the test drive, the process, its windows and their native controls.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lang/language_texts.h"
#include "platform/win32/handles.h"
#include "platform/win32/win.h"

namespace testing_program {

// True when windows can be created (the tests run under Xvfb); GUI tests skip otherwise.
bool HaveDisplay();

// A copy of the program with its data folder (from beside the test executable) in a new folder
// on the test drive.
class ProgramFolder {
 public:
  ProgramFolder();
  // A folder that holds the program already.
  explicit ProgramFolder(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }
  std::string File(const std::string& relative) const { return path_ + "\\" + relative; }
  void Write(const std::string& relative, const std::string& bytes) const;
  // Empty when the file does not exist.
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  std::string path_;
};

// The texts of one of the folder's language files, by name.
lang::LanguageTexts LanguageTextsOf(const ProgramFolder& folder, const std::string& code);

class Program {
 public:
  // Starts dustorix.exe in the folder, by default also its working folder.
  explicit Program(const ProgramFolder& folder, const std::string& workingFolder = {});
  ~Program();

  // Polls for a top-level window of this process with this class; null after the timeout.
  HWND WaitForWindow(const wchar_t* className, int timeoutMs = 10000) const;
  // Waits for the process to end; its exit code, or -1 on time-out.
  int WaitForExit(int timeoutMs = 10000) const;
  DWORD ProcessId() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_{};
  platform::win32::UniqueHandle process_;
  platform::win32::UniqueHandle thread_;
};

// How a command-line run of the program in the folder ended: its exit code, standard output (a
// pipe) and standard error (a file).
struct CommandRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};
CommandRun RunCommand(const ProgramFolder& folder, const std::string& arguments);
// The same for another program that lies beside the test executable, run in a working folder
// that receives its standard output and error as files; -1 when it did not end in a minute.
CommandRun RunBesideTests(const std::string& program, const std::string& arguments,
                          const std::string& workingFolder);
// A run attached to a new console of the test's own (the test's standard handles are put back
// afterwards): the console's lines, each row's end spaces cut, rows a line wrapped over joined.
std::vector<std::wstring> RunOnConsole(const ProgramFolder& folder, const std::string& arguments);
// A process of a chosen program file name ("msedge.exe"), as a browser left running is: a copy
// of the idle program from beside the tests, in a folder of its own on the test drive. It ends
// when this is destroyed, and with the test process at the latest.
class StandInProcess {
 public:
  explicit StandInProcess(const std::string& programFile);
  ~StandInProcess();
  StandInProcess(const StandInProcess&) = delete;
  StandInProcess& operator=(const StandInProcess&) = delete;

 private:
  std::string folder_;
  platform::win32::UniqueHandle process_;
};

// The captions of a window's child controls, in creation order.
std::vector<std::string> ChildTexts(HWND window);
std::string WindowText(HWND window);
// The first child control of this class whose caption is `text` (any caption when empty), in
// creation order; `skip` passes over that many earlier matches.
HWND FindChild(HWND window, const wchar_t* className, const std::string& text = {}, int skip = 0);
// Presses a button as a click does.
void Click(HWND button);
// The same, posted: a click that opens a modal window returns only when that window closes.
void PostClick(HWND button);
// The lines of a list box, and its selection.
std::vector<std::string> ListBoxLines(HWND list);
// Selects (or deselects) a line of a multi-select list box as a user's click does, notifying the
// owner window.
void SelectLine(HWND list, int line, bool selected);
// Chooses a line of a drop-down list as the user does, notifying the owner window.
void ChooseComboLine(HWND combo, int line);
// Types a text into an edit field, notifying the owner window.
void TypeText(HWND edit, const std::string& text);

// --- List views (SysListView32) of another process, read and driven from this one, which waits
// while that process handles the input. The list's structures are placed in that process's
// memory, as LVM_* and HDM_* messages need.
// The `skip`th list view among the window's children, in creation order.
HWND FindListView(HWND window, int skip = 0);
int ListViewRowCount(HWND list);
std::string ListViewCell(HWND list, int row, int column);
// Whether the row's box is ticked; nothing for a row without a box.
std::optional<bool> ListViewRowChecked(HWND list, int row);
bool ListViewRowSelected(HWND list, int row);
struct ListViewColumn {
  std::string caption;
  int width = 0;   // pixels
  int format = 0;  // HDF_* of the header item: alignment and sort arrow
};
std::vector<ListViewColumn> ListViewColumns(HWND list);
// Selects the row alone, as a plain click on its name does; false when the list does not show
// it selected within the time-out.
bool ClickListViewRow(HWND list, int row);
// Ticks or unticks the row as a user does, by a click on its box; false when the row has no box
// or the list does not show the new state within the time-out.
bool ClickListViewCheckBox(HWND list, int row);
// The same click, posted without waiting: for a box whose click asks the user first.
bool PostListViewCheckBoxClick(HWND list, int row);
// Ticks or unticks the row with the keyboard: a click selects it, then Space.
bool ToggleListViewRowWithSpace(HWND list, int row);
// A click on a column's header, as a user sorts by it.
void ClickListViewHeader(HWND list, int column);

// Chooses a menu item by its command number, as the menu does (Wine keeps a program's menus
// out of other processes' reach, so they cannot be read from here).
void ChooseMenu(HWND window, int command);

}  // namespace testing_program
