// The test driver reads and drives a list view in another process, as the end-to-end tests drive
// the program's: the window of dustorix_list_view_window.exe (beside the tests), in every
// language at 100 % and 150 % (or at the scaling DUSTORIX_UI_SCALE names). With DUSTORIX_SHOTS
// set, its pictures are saved as T:\shots\<scaling>-<language>-listview.bmp (scripts/shots).
#include <gtest/gtest.h>

#include "platform/win32/handles.h"
#include "platform/win32/wide_path.h"
#include "tests/win32/program_driver.h"
#include "tests/win32/window_check.h"

#include <commctrl.h>

namespace testing_program {
namespace {

using platform::win32::UniqueHandle;

// The test window's process, ended with the test.
class TestWindow {
 public:
  explicit TestWindow(const std::string& language) {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring program(path, length);
    program = program.substr(0, program.rfind(L'\\')) + L"\\dustorix_list_view_window.exe";
    std::wstring command = L"\"" + program + L"\" " + platform::win32::Widen(language).value();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const bool started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                          nullptr, nullptr, &startup, &info);
    EXPECT_TRUE(started) << "dustorix_list_view_window.exe must lie beside the tests";
    if (!started) return;
    process_.Reset(info.hProcess);
    ::CloseHandle(info.hThread);
    for (int waited = 0; waited < 10000 && !window_; waited += 20) {
      for (HWND found = ::FindWindowExW(nullptr, nullptr, L"TListViewWindow", nullptr); found;
           found = ::FindWindowExW(nullptr, found, L"TListViewWindow", nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(found, &owner);
        if (owner == info.dwProcessId && ::IsWindowVisible(found)) window_ = found;
      }
      if (!window_) ::Sleep(20);
    }
    EXPECT_NE(window_, nullptr) << "the test window did not show";
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  ~TestWindow() {
    if (!process_) return;
    ::TerminateProcess(process_.Get(), 0);
    ::WaitForSingleObject(process_.Get(), 5000);
  }

  HWND Window() const { return window_; }
  std::string Total() const { return WindowText(FindChild(window_, L"Static")); }

 private:
  UniqueHandle process_;
  HWND window_ = nullptr;
};

class ListViewDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveDisplay()) GTEST_SKIP() << "no display";
  }
};

TEST_F(ListViewDriverTest, ReadsAndTicksTheRowsOfAListInAnotherProcess) {
  TestWindow test("En");
  ASSERT_NE(test.Window(), nullptr);
  HWND list = FindListView(test.Window());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(FindListView(test.Window(), 1), nullptr);
  // Sorted by size, largest first, each group below its heading.
  ASSERT_EQ(ListViewRowCount(list), 9);
  EXPECT_EQ(ListViewCell(list, 0, 0), "Windows");
  EXPECT_EQ(ListViewCell(list, 1, 0), "Previous Windows installation (Windows removes it itself)");
  EXPECT_EQ(ListViewCell(list, 1, 1), "");
  EXPECT_EQ(ListViewCell(list, 2, 0), "Recycle Bin");
  EXPECT_EQ(ListViewCell(list, 2, 2), "2.0 GB");
  EXPECT_EQ(ListViewCell(list, 4, 1), "1,284");
  EXPECT_EQ(ListViewCell(list, 8, 0), "Discord cache");
  EXPECT_EQ(ListViewRowChecked(list, 0), std::nullopt) << "a heading has no box";
  EXPECT_EQ(ListViewRowChecked(list, 1), std::nullopt) << "nor has an info row";
  EXPECT_EQ(ListViewRowChecked(list, 2), false);
  EXPECT_EQ(ListViewRowChecked(list, 3), true);
  const std::vector<ListViewColumn> columns = ListViewColumns(list);
  ASSERT_EQ(columns.size(), 4u);
  EXPECT_EQ(columns[0].caption, "Category");
  EXPECT_EQ(columns[1].caption, "Files");
  EXPECT_EQ(columns[1].format & HDF_JUSTIFYMASK, HDF_RIGHT);
  EXPECT_TRUE(columns[2].format & HDF_SORTDOWN);
  EXPECT_EQ(test.Total(), "Ticked: 4 categories, 2.5 GB");

  EXPECT_TRUE(ClickListViewCheckBox(list, 2));
  EXPECT_EQ(ListViewRowChecked(list, 2), true);
  EXPECT_EQ(test.Total(), "Ticked: 5 categories, 4.5 GB") << "the form heard of it";
  EXPECT_TRUE(ToggleListViewRowWithSpace(list, 3));
  EXPECT_EQ(ListViewRowChecked(list, 3), false);
  EXPECT_TRUE(ListViewRowSelected(list, 3));
  EXPECT_FALSE(ListViewRowSelected(list, 2));
  EXPECT_EQ(test.Total(), "Ticked: 4 categories, 3.1 GB");
  EXPECT_FALSE(ClickListViewCheckBox(list, 1)) << "an info row cannot be ticked";
  EXPECT_EQ(ListViewRowChecked(list, 1), std::nullopt);

  ClickListViewHeader(list, 2);
  const auto sortedUp = [&] {
    const std::vector<ListViewColumn> now = ListViewColumns(list);
    return now.size() == 4 && (now[2].format & HDF_SORTUP) != 0;
  };
  for (int waited = 0; waited < 5000 && !sortedUp(); waited += 10)
    ::Sleep(10);
  EXPECT_TRUE(sortedUp());
  EXPECT_EQ(ListViewCell(list, 1, 0), "Thumbnails") << "smallest first";
  EXPECT_EQ(ListViewCell(list, 5, 0), "Previous Windows installation (Windows removes it itself)");
}

// Every caption of the window fits with room to spare, in every language and at each scaling.
TEST_F(ListViewDriverTest, TheTestWindowInEveryLanguageShowsItsCaptionsWhole) {
  const bool named = ::GetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", nullptr, 0) > 0;
  std::vector<std::string> scales{"100", "150"};
  if (named) scales = {ScaleName()};
  for (const std::string& scale : scales) {
    ::SetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", platform::win32::Widen(scale).value().c_str());
    for (const char* language : {"En", "De", "Gr"}) {
      SCOPED_TRACE(scale + " % " + language);
      TestWindow test(language);
      ASSERT_NE(test.Window(), nullptr);
      HWND list = FindListView(test.Window());
      ASSERT_NE(list, nullptr);
      TextMeter meter;
      EXPECT_EQ(TightColumnCaptions(list, meter), std::vector<std::string>{});
      // The header's columns are the design widths at this scale.
      const std::vector<ListViewColumn> columns = ListViewColumns(list);
      ASSERT_EQ(columns.size(), 4u);
      EXPECT_EQ(columns[1].width, meter.Scale(74));
      ClickListViewRow(list, 4);
      Shoot(test.Window(), std::string(language) + "-listview");
    }
  }
  if (!named) ::SetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", nullptr);
}

}  // namespace
}  // namespace testing_program
