// The real dustorix.exe driven from this process as a user drives it: a first start, the options,
// a clean run with review and report, a second start; and every window in every language at 100 %
// and 150 % (or at the scaling DUSTORIX_UI_SCALE names), with room to spare for every caption and
// nothing overlapping. With DUSTORIX_SHOTS set, the walk saves a picture of each window as
// T:\shots\<scaling>-<language>-<window>.bmp (scripts/shots).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

#include "about/info_form.h"
#include "about/links.h"
#include "app/main_form.h"
#include "clean/delinfo_form.h"
#include "platform/text_lines.h"
#include "platform/ui/types.h"
#include "platform/win32/wide_path.h"
#include "settings/list_file.h"
#include "tests/win32/program_driver.h"
#include "tests/win32/test_files.h"
#include "tests/win32/window_check.h"

#include <shlobj.h>

namespace testing_program {
namespace {

using Lines = std::vector<std::string>;
using lang::Text;
using testing_win32::Exists;
using testing_win32::MakeFile;
using testing_win32::RemoveTree;  // the trees a test made, so that later clean runs miss them
using testing_win32::W;

// Posted rather than sent: a menu command that opens a modal window returns only when that
// window closes.
void PostMenu(HWND window, int command) {
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

// A file that lies beside the test program.
std::string BesideTests(const std::string& name) {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
  const std::string program = platform::win32::Narrow(std::wstring_view(path, length));
  return program.substr(0, program.rfind('\\') + 1) + name;
}

void WaitHidden(HWND window) {
  for (int waited = 0; waited < 5000 && ::IsWindowVisible(window); waited += 20)
    ::Sleep(20);
}

// Chooses the line of the main window's drive box that starts with this (lower case) letter and
// the radio button beside it.
void ChooseDrive(HWND main, wchar_t letter) {
  HWND drives = FindChild(main, L"ComboBox");
  const LRESULT count = ::SendMessageW(drives, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t line[64] = {};
    ::SendMessageW(drives, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
    if (line[0] == letter) ChooseComboLine(drives, static_cast<int>(i));
  }
  Click(FindChild(main, L"Button", " "));
}

// The lines of a list that lie in a folder: other tests may leave files on the same drive.
Lines LinesIn(const Lines& lines, const std::string& folder) {
  Lines inside;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(inside),
               [&](const std::string& line) { return line.starts_with(folder); });
  std::sort(inside.begin(), inside.end());
  return inside;
}

RECT RectIn(HWND control, HWND parent) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::vector<HWND> VisibleChildren(HWND window) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child)) children.push_back(child);
  }
  return children;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

// Room a caption needs beside its text: a push button's frame, the box of a check box or radio
// button, the indent of a group box's caption; -1 for controls whose caption is no text shown.
int FrameAllowance(HWND control, const TextMeter& meter) {
  const std::wstring name = ClassOf(control);
  if (name == L"Static") return 0;
  if (name != L"Button") return -1;
  switch (::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
    case BS_AUTORADIOBUTTON:
      return meter.Scale(19);
    case BS_GROUPBOX:
      return meter.Scale(16);
    default:
      return meter.Scale(8);
  }
}

bool IsGroupBox(HWND control) {
  return ClassOf(control) == L"Button" &&
         (::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool WrapsLines(HWND control) {
  return ClassOf(control) == L"Static" &&
         (::GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) <= SS_RIGHT;
}

// Captions drawn in another font than the message font, by caption.
using CaptionFonts = std::map<std::string, ui::Font>;

// Every visible control lies inside the client area and overlaps no other control (a group box
// holds the controls inside it), and its caption fits with a tenth of its room to spare, so that
// a slightly wider font still shows it whole: on one line, or on the lines of a label that wraps.
void ExpectNothingClipped(HWND window, const std::string& where, const CaptionFonts& fonts = {}) {
  TextMeter meter;
  RECT client{};
  ::GetClientRect(window, &client);
  const std::vector<HWND> children = VisibleChildren(window);
  for (HWND child : children) {
    const RECT rect = RectIn(child, window);
    const std::string text = WindowText(child);
    EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right &&
                rect.bottom <= client.bottom)
        << where << ": \"" << text << "\" leaves the window";
    if (ClassOf(child) == L"SysListView32") {
      for (const std::string& tight : TightColumnCaptions(child, meter))
        ADD_FAILURE() << where << ": " << tight;
    }
    const int allowance = FrameAllowance(child, meter);
    if (allowance < 0 || text.find_first_not_of(' ') == std::string::npos) continue;
    const auto named = fonts.find(text);
    const ui::Font font = named == fonts.end() ? ui::Font{} : named->second;
    const int room = (rect.right - rect.left - allowance) * 9 / 10;
    if (WrapsLines(child)) {
      const RECT lines = meter.Wrapped(text, room, font);
      EXPECT_TRUE(lines.right <= room && lines.bottom <= rect.bottom - rect.top)
          << where << ": \"" << text << "\" takes " << lines.right << " x " << lines.bottom
          << " px, more than 90 % of the width or the whole height of its "
          << rect.right - rect.left << " x " << rect.bottom - rect.top << " px";
    } else {
      const int width = meter.Width(text, font);
      EXPECT_LE(width, room) << where << ": \"" << text << "\" takes " << width
                             << " px, more than 90 % of its room (" << room << " px)";
    }
  }
  for (size_t i = 0; i < children.size(); ++i) {
    for (size_t j = i + 1; j < children.size(); ++j) {
      if (IsGroupBox(children[i]) || IsGroupBox(children[j])) continue;
      const RECT a = RectIn(children[i], window);
      const RECT b = RectIn(children[j], window);
      RECT overlap{};
      EXPECT_FALSE(::IntersectRect(&overlap, &a, &b))
          << where << ": \"" << WindowText(children[i]) << "\" overlaps \""
          << WindowText(children[j]) << "\"";
    }
  }
}

void Look(HWND window, const std::string& name, const CaptionFonts& fonts = {}) {
  ExpectNothingClipped(window, name, fonts);
  Shoot(window, name);
}

// Whether the screen shows something in the control's place: a button or a label drawn there has
// its frame or its text, in more than one colour. A control moved without being drawn again
// leaves the window's plain background. True for a control the screen does not hold whole.
bool ShowsOnScreen(HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  if (rect.left < 0 || rect.top < 0 || rect.right > ::GetSystemMetrics(SM_CXSCREEN) ||
      rect.bottom > ::GetSystemMetrics(SM_CYSCREEN)) {
    return true;
  }
  HDC screen = ::GetDC(nullptr);
  const COLORREF first = ::GetPixel(screen, rect.left + 1, rect.top + 1);
  bool mixed = false;
  for (int y = rect.top; y < rect.bottom && !mixed; y += 2) {
    for (int x = rect.left; x < rect.right && !mixed; x += 2)
      mixed = ::GetPixel(screen, x, y) != first;
  }
  ::ReleaseDC(nullptr, screen);
  return mixed;
}

// Escape pressed in a window, as the keyboard sends it.
void PressEscape(HWND window) {
  ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 1);
  ::PostMessageW(window, WM_KEYUP, VK_ESCAPE, 1 | (1u << 30) | (1u << 31));
}

// A sizeable window dragged to several sizes: at each every control stays inside and whole;
// smaller than the size it opened at, it keeps that size. The sizes are screen pixels (the two
// a user saw the buttons hidden at: at 150 % they are narrower than the dialogs were designed)
// and the same in design pixels at the scaling in use.
void ResizeAndLook(HWND window, const std::string& name, const CaptionFonts& fonts) {
  TextMeter meter;
  RECT opened{};
  ::GetWindowRect(window, &opened);
  const struct {
    int width, height;
    bool scaled;
  } sizes[] = {{723, 501, false}, {775, 552, false}, {723, 501, true}, {775, 552, true},
               {1100, 800, true}, {300, 120, true},  {900, 150, true}, {400, 700, true}};
  for (const auto& size : sizes) {
    const int width = size.scaled ? meter.Scale(size.width) : size.width;
    const int height = size.scaled ? meter.Scale(size.height) : size.height;
    const std::string where =
        name + " at " + std::to_string(width) + " x " + std::to_string(height) + " px";
    // From the screen's corner, so that as much as can lies on the screen.
    ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT now{};
    ::GetWindowRect(window, &now);
    EXPECT_GE(now.right - now.left, opened.right - opened.left) << where;
    EXPECT_GE(now.bottom - now.top, opened.bottom - opened.top) << where;
    ExpectNothingClipped(window, where, fonts);
    ::Sleep(300);  // let the program paint
    for (HWND child : VisibleChildren(window)) {
      if (ClassOf(child) == L"ListBox" || WindowText(child).empty()) continue;
      EXPECT_TRUE(ShowsOnScreen(child))
          << where << ": \"" << WindowText(child) << "\" is not drawn";
    }
    if (size.width == 775 && size.scaled) Shoot(window, name + "-large");
  }
  ::SetWindowPos(window, nullptr, opened.left, opened.top, opened.right - opened.left,
                 opened.bottom - opened.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveDisplay()) GTEST_SKIP() << "no display";
  }
};

// First start, the options, a reviewed clean run and its report, then a second start.
TEST_F(EndToEndTest, AUserFirstStartCleanRunAndSecondStart) {
  const std::string drive = "N:\\e2e\\";
  MakeFile(drive + "a.tmp", 2048);
  MakeFile(drive + "sub\\b.chk", 3072);
  MakeFile(drive + "c.dmp", 1000);
  MakeFile(drive + "x.alt", 1024);
  MakeFile(drive + "keep.txt", 500);
  ProgramFolder folder;
  const lang::LanguageTexts de = LanguageTextsOf(folder, "De");
  {
    Program program(folder);
    HWND language = program.WaitForWindow(L"TFrmlang");
    ASSERT_NE(language, nullptr) << "the first start asks for the language";
    ChooseComboLine(FindChild(language, L"ComboBox"), 1);  // Deutsch
    PostClick(FindChild(language, L"Button", "&OK"));
    HWND main = program.WaitForWindow(L"TFrmMain");
    ASSERT_NE(main, nullptr);
    EXPECT_NE(FindChild(main, L"Button", de[Text::kDelete]), nullptr) << "German texts";

    PostMenu(main, app::kCommandOptions);
    HWND options = program.WaitForWindow(L"TFrmoption");
    ASSERT_NE(options, nullptr);
    PostClick(FindChild(options, L"Button", de[Text::kAdd]));  // Hinzufügen beside the patterns
    HWND input = program.WaitForWindow(L"TFrmInputBox");
    ASSERT_NE(input, nullptr);
    TypeText(FindChild(input, L"Edit"), "*.alt");
    PostClick(FindChild(input, L"Button", de[Text::kOk]));
    WaitHidden(input);
    EXPECT_TRUE(std::ranges::count(ListBoxLines(FindChild(options, L"ListBox")), "*.alt"));
    PostClick(FindChild(options, L"Button", de[Text::kOk]));  // OK
    WaitHidden(options);

    ChooseDrive(main, L'n');
    PostClick(FindChild(main, L"Button", de[Text::kDelete]));  // Löschen
    HWND review = program.WaitForWindow(L"TFrmmarkfile");
    ASSERT_NE(review, nullptr) << "the shipped settings review first";
    EXPECT_EQ(WindowText(review), de[Text::kReviewPlanTitle]);
    HWND list = FindListView(review);
    ASSERT_GE(ListViewRowCount(list), 1);
    EXPECT_EQ(ListViewCell(list, 0, 0), de[Text::kFoundFilesCategory]);
    EXPECT_EQ(ListViewRowChecked(list, 0), true);
    PostClick(FindChild(review, L"Button", de[Text::kCleanUp]));  // Bereinigen

    HWND report = program.WaitForWindow(L"TFrmDelinfo");
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(LinesIn(ListBoxLines(FindChild(report, L"ListBox")), drive),
              (Lines{drive + "a.tmp", drive + "c.dmp", drive + "sub\\b.chk", drive + "x.alt"}));
    EXPECT_NE(FindChild(report, L"Static", de[Text::kSuccessHeadline]), nullptr);
    EXPECT_FALSE(Exists(drive + "a.tmp"));
    EXPECT_FALSE(Exists(drive + "x.alt"));
    EXPECT_FALSE(Exists(drive + "c.dmp"));
    EXPECT_TRUE(Exists(drive + "keep.txt"));
    PostClick(FindChild(report, L"Button", de[Text::kClose]));
    WaitHidden(report);
    PostClick(FindChild(main, L"Button", de[Text::kClose]));  // Schließen
    EXPECT_EQ(program.WaitForExit(), 0);
  }
  EXPECT_EQ(folder.Read("data\\lang\\whichlang.dat"), std::string("\x02"
                                                                  "De\x01",
                                                                  4));
  {
    Program again(folder);
    HWND main = again.WaitForWindow(L"TFrmMain");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(again.WaitForWindow(L"TFrmlang", 0), nullptr) << "no language dialog the second time";
    EXPECT_NE(FindChild(main, L"Button", de[Text::kDelete]), nullptr) << "still German";
    PostMenu(main, app::kCommandOptions);
    HWND options = again.WaitForWindow(L"TFrmoption");
    ASSERT_NE(options, nullptr);
    const Lines patterns = ListBoxLines(FindChild(options, L"ListBox"));
    EXPECT_TRUE(std::ranges::count(patterns, "*.alt")) << "the added pattern was kept";
    HWND question = FindChild(options, L"Button", de[Text::kReviewFirstCaption]);
    EXPECT_EQ(::SendMessageW(question, BM_GETCHECK, 0, 0), BST_CHECKED) << "review mode kept";
    PostClick(FindChild(options, L"Button", de[Text::kDiscard]));  // Abbrechen
    WaitHidden(options);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(again.WaitForExit(), 0);
  }
  RemoveTree("N:\\e2e");
}

struct Language {
  const char* code;
  int comboLine;  // in the language dialog
};

std::string ShellFolder(int csidl) {
  wchar_t path[MAX_PATH + 1] = {};
  EXPECT_EQ(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path), S_OK) << csidl;
  return platform::win32::Narrow(path);
}

// A few applications of the project's rules, as a user has them, for the applications' dialog;
// removed again when this ends.
class SeededApplications {
 public:
  SeededApplications()
      : folders_{ShellFolder(CSIDL_APPDATA) + "\\discord", ShellFolder(CSIDL_APPDATA) + "\\Code",
                 ShellFolder(CSIDL_LOCAL_APPDATA) + "\\npm-cache",
                 ShellFolder(CSIDL_PROFILE) + "\\.nuget"} {
    MakeFile(folders_[0] + "\\Cache\\data_0", 100);
    MakeFile(folders_[1] + "\\logs\\main.log", 100);
    MakeFile(folders_[2] + "\\_cacache\\index", 100);
    MakeFile(folders_[3] + "\\packages\\tool\\1.0.0\\tool.nupkg", 100);
  }
  ~SeededApplications() {
    for (const std::string& folder : folders_)
      RemoveTree(folder);
  }

 private:
  std::vector<std::string> folders_;
};

// The applications' dialog, opened from the options: the entries that apply, a search, and an
// entry with a warning, which asks before it is ticked.
void WalkApplications(const Program& program, HWND options, const lang::LanguageTexts& t,
                      const std::string& code) {
  PostClick(FindChild(options, L"Button", t[Text::kApplications] + "\xE2\x80\xA6"));
  HWND dialog = program.WaitForWindow(L"TFrmapplications");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), lang::WithoutAccessKey(t[Text::kApplications]));
  HWND list = FindListView(dialog);
  const auto rowOf = [list](const std::string& text) {
    for (int row = 0; row < ListViewRowCount(list); ++row) {
      if (ListViewCell(list, row, 0) == text) return row;
    }
    return -1;
  };
  EXPECT_GE(rowOf("Discord"), 0);
  EXPECT_GE(rowOf("Visual Studio Code"), 0);
  Look(dialog, code + "-applications");
  TypeText(FindChild(dialog, L"Edit"), "nuget");
  const int packages = rowOf("NuGet packages");
  ASSERT_GE(packages, 0);
  ASSERT_TRUE(PostListViewCheckBoxClick(list, packages));
  HWND warning = program.WaitForWindow(L"#32770");
  ASSERT_NE(warning, nullptr);
  EXPECT_EQ(WindowText(warning), "NuGet packages");
  Shoot(warning, code + "-applications-warning");
  PostClick(::GetDlgItem(warning, IDNO));
  WaitHidden(warning);
  EXPECT_EQ(ListViewRowChecked(list, packages), std::optional<bool>(false));
  Look(dialog, code + "-applications-search");
  PressEscape(list);
  WaitHidden(dialog);
  EXPECT_FALSE(::IsWindowVisible(dialog)) << "Escape cancels the applications";
}

// Every window of the program in one language, as a user meets it; each is checked, and shot
// when pictures are asked for.
void WalkLanguage(const Language& language) {
  const std::string code = language.code;
  const std::string drive = "N:\\shots-" + code + "\\";
  MakeFile(drive + "setup.tmp", 4096);
  MakeFile(drive + "Temp\\~report.tmp", 1536);
  MakeFile(drive + "crash.dmp", 9000);
  MakeFile(drive + "disk\\file0001.chk", 512);
  ProgramFolder folder;
  // The community's rules, when they are handed to the tests, as a user drops them in.
  const std::string community = testing_win32::ReadAll(BesideTests("Winapp2.ini"));
  if (!community.empty()) folder.Write("data\\cleaners\\Winapp2.ini", community);
  const SeededApplications seeded;
  const lang::LanguageTexts t = LanguageTextsOf(folder, code);
  Program program(folder);

  HWND dialog = program.WaitForWindow(L"TFrmlang");
  ASSERT_NE(dialog, nullptr);
  if (language.comboLine == 0) Look(dialog, "all-language");
  ChooseComboLine(FindChild(dialog, L"ComboBox"), language.comboLine);
  PostClick(FindChild(dialog, L"Button", "&OK"));
  HWND main = program.WaitForWindow(L"TFrmMain");
  ASSERT_NE(main, nullptr);
  Look(main, code + "-main");

  PostMenu(main, app::kCommandOptions);
  HWND options = program.WaitForWindow(L"TFrmoption");
  ASSERT_NE(options, nullptr);
  {
    // The status bar shows the long hint of the control under the mouse.
    TextMeter meter;
    HWND bar = FindChild(options, L"msctls_statusbar32");
    RECT barRect{};
    ::GetClientRect(bar, &barRect);
    const int room = (barRect.right - meter.Scale(12)) * 9 / 10;
    const auto fits = [&](Text hint) {
      EXPECT_LE(meter.Width("  " + t[hint]), room)
          << code << ": the hint \"" << t[hint] << "\" is too wide";
    };
    for (Text hint :
         {Text::kTempFoldersHint, Text::kRecentDocumentsHint, Text::kEmptyRecycleBinHint,
          Text::kTempInternetFilesHint, Text::kCookiesHint, Text::kFavouritesHint,
          Text::kHistoryHint, Text::kZeroByteFilesHint, Text::kOldUpdateFilesHint,
          Text::kSystemLogHint, Text::kUnusedDllsHint, Text::kRunListHint, Text::kRecycleFoundHint,
          Text::kReviewFirstHint, Text::kErrorReportsHint, Text::kShaderCachesHint})
      fits(hint);
    for (Text hint : {Text::kPatternsHint, Text::kExceptionsHint, Text::kOkHint, Text::kDiscardHint,
                      Text::kStandardHint, Text::kApplicationsHint, Text::kTempKeepHint,
                      Text::kDownloadsHint, Text::kBinDaysHint})
      fits(hint);
  }
  Look(options, code + "-options");
  HWND longest = FindChild(options, L"Button", t[Text::kUnusedDllsCaption]);  // the DLL switch
  RECT hover{};
  ::GetWindowRect(longest, &hover);
  ::SetCursorPos(hover.left + 30, (hover.top + hover.bottom) / 2);
  HWND bar = FindChild(options, L"msctls_statusbar32");
  // The bar may still hold the hint of a control the mouse rested on before.
  for (int waited = 0; waited < 3000 && WindowText(bar) != "  " + t[Text::kUnusedDllsHint];
       waited += 20)
    ::Sleep(20);
  EXPECT_EQ(WindowText(bar), "  " + t[Text::kUnusedDllsHint]);
  Shoot(options, code + "-options-hint");
  ::SetCursorPos(0, 0);

  PostClick(FindChild(options, L"Button", t[Text::kAdd]));
  HWND input = program.WaitForWindow(L"TFrmInputBox");
  ASSERT_NE(input, nullptr);
  EXPECT_EQ(WindowText(input), t[Text::kNewPatternCaption]);
  Look(input, code + "-input-pattern");
  TypeText(FindChild(input, L"Edit"), "*.EXE");
  PostClick(FindChild(input, L"Button", t[Text::kOk]));
  HWND refusal = program.WaitForWindow(L"#32770");
  ASSERT_NE(refusal, nullptr);
  EXPECT_EQ(WindowText(refusal), t[Text::kInvalidEntry]);
  Shoot(refusal, code + "-refusal");
  PostClick(FindChild(refusal, L"Button"));
  WaitHidden(refusal);
  // The two questions, each answered No: nothing changes.
  const auto question = [&](const std::string& name, Text caption) {
    HWND box = program.WaitForWindow(L"#32770");
    ASSERT_NE(box, nullptr) << name;
    EXPECT_EQ(WindowText(box), lang::WithoutAccessKey(t[caption]));
    Shoot(box, code + "-" + name);
    PostClick(::GetDlgItem(box, IDNO));
    WaitHidden(box);
  };
  PostClick(FindChild(options, L"Button", t[Text::kAdd]));
  input = program.WaitForWindow(L"TFrmInputBox");
  ASSERT_NE(input, nullptr);
  TypeText(FindChild(input, L"Edit"), "*.docx");
  PostClick(FindChild(input, L"Button", t[Text::kOk]));
  question("document-question", Text::kNewPatternCaption);
  PostClick(FindChild(options, L"Button", t[Text::kStandard]));
  question("standard-question", Text::kStandard);
  EXPECT_FALSE(std::ranges::count(ListBoxLines(FindChild(options, L"ListBox")), "*.docx"));
  PostClick(FindChild(options, L"Button", t[Text::kAdd], 1));
  input = program.WaitForWindow(L"TFrmInputBox");
  ASSERT_NE(input, nullptr);
  EXPECT_EQ(WindowText(input), t[Text::kNewExceptionCaption]);
  Look(input, code + "-input-exception");
  PressEscape(FindChild(input, L"Edit"));
  WaitHidden(input);
  EXPECT_FALSE(::IsWindowVisible(input)) << "Escape cancels the input box";
  WalkApplications(program, options, t, code);
  PressEscape(FindChild(options, L"ListBox"));
  WaitHidden(options);
  EXPECT_FALSE(::IsWindowVisible(options)) << "Escape cancels the options";
  PostMenu(main, app::kCommandApplications);
  HWND applications = program.WaitForWindow(L"TFrmapplications");
  ASSERT_NE(applications, nullptr) << "the menu opens the applications too";
  PressEscape(FindListView(applications));
  WaitHidden(applications);

  PostMenu(main, app::kCommandInfo);
  HWND info = program.WaitForWindow(L"TFrminfo");
  ASSERT_NE(info, nullptr);
  Look(info, code + "-about",
       {{"Dustorix", about::kTitleFont},
        {about::kHomePage, about::kLinkFont},
        {about::kForum, about::kLinkFont},
        {about::kEMail, about::kLinkFont}});
  PressEscape(info);
  WaitHidden(info);
  EXPECT_FALSE(::IsWindowVisible(info)) << "Escape closes the about dialog";

  ChooseDrive(main, L'n');
  // An analysis first: its review, left by Escape, then its own report; nothing removed.
  PostClick(FindChild(main, L"Button", t[Text::kAnalyze]));
  HWND analysisReview = program.WaitForWindow(L"TFrmmarkfile");
  ASSERT_NE(analysisReview, nullptr);
  PressEscape(FindListView(analysisReview));
  WaitHidden(analysisReview);
  HWND analysis = program.WaitForWindow(L"TFrmDelinfo");
  ASSERT_NE(analysis, nullptr);
  EXPECT_EQ(WindowText(analysis), t[Text::kAnalysisTitle]);
  EXPECT_EQ(LinesIn(ListBoxLines(FindChild(analysis, L"ListBox")), drive).size(), 4u);
  Look(analysis, code + "-analysis", {{t[Text::kAnalysisHeadline], clean::kOutcomeFont}});
  PressEscape(FindChild(analysis, L"ListBox"));
  WaitHidden(analysis);
  EXPECT_FALSE(::IsWindowVisible(analysis)) << "Escape closes the report";
  PostClick(FindChild(main, L"Button", t[Text::kDelete]));
  HWND review = program.WaitForWindow(L"TFrmmarkfile");
  ASSERT_NE(review, nullptr);
  HWND list = FindListView(review);
  ASSERT_GE(ListViewRowCount(list), 1);
  EXPECT_EQ(ListViewCell(list, 0, 0), t[Text::kFoundFilesCategory]);
  Look(review, code + "-review");
  ResizeAndLook(review, code + "-review", {});
  // The found files one by one: a click on the row, then "View files".
  EXPECT_TRUE(ClickListViewRow(list, 0));
  PostClick(FindChild(review, L"Button", t[Text::kViewFiles]));
  HWND files = program.WaitForWindow(L"TFrmviewfiles");
  ASSERT_NE(files, nullptr);
  HWND fileList = FindListView(files);
  Lines shown;
  for (int row = 0; row < ListViewRowCount(fileList); ++row)
    shown.push_back(ListViewCell(fileList, row, 1) + ListViewCell(fileList, row, 0));
  EXPECT_EQ(LinesIn(shown, drive).size(), 4u);
  Look(files, code + "-viewfiles");
  ResizeAndLook(files, code + "-viewfiles", {});
  PressEscape(fileList);
  WaitHidden(files);
  EXPECT_FALSE(::IsWindowVisible(files)) << "Escape closes the file list";
  PostClick(FindChild(review, L"Button", t[Text::kCleanUp]));
  HWND report = program.WaitForWindow(L"TFrmDelinfo");
  ASSERT_NE(report, nullptr);
  Look(report, code + "-report", {{t[Text::kSuccessHeadline], clean::kOutcomeFont}});
  ResizeAndLook(report, code + "-report", {{t[Text::kSuccessHeadline], clean::kOutcomeFont}});
  {
    // The longest freed total, with the recycle bin's share told apart, fits its label.
    HWND value = nullptr;
    for (int i = 0; HWND label = FindChild(report, L"Static", {}, i); ++i) {
      if (WindowText(label).ends_with(t[Text::kFreedUnit])) value = label;
    }
    ASSERT_NE(value, nullptr);
    RECT room{};
    ::GetClientRect(value, &room);
    clean::RunState large;
    large.freedBytes = 2 * 999'999'999'999LL;
    large.recycledBytes = 999'999'999'999LL;
    large.recycledFiles = 1;
    TextMeter meter;
    for (const bool removed : {true, false}) {
      const std::string total = clean::FreedTotal(removed, large, t);
      for (const std::string& line : platform::SplitTextLines(total))
        EXPECT_LE(meter.Width(line), room.right * 9 / 10) << code << ": " << line;
      EXPECT_LE(meter.Wrapped(total, room.right, {}).bottom, room.bottom) << code << ": " << total;
    }
  }
  PressEscape(report);
  WaitHidden(report);
  EXPECT_FALSE(::IsWindowVisible(report)) << "Escape closes the report";
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
  RemoveTree(drive);
}

// At 100 % and 150 %, or at the scaling DUSTORIX_UI_SCALE names.
TEST_F(EndToEndTest, EveryWindowInEveryLanguageShowsItsTextsWhole) {
  const bool named = ::GetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", nullptr, 0) > 0;
  std::vector<std::string> scales{"100", "150"};
  if (named) scales = {ScaleName()};
  for (const std::string& scale : scales) {
    ::SetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", W(scale).c_str());
    for (const Language& language : {Language{"En", 0}, Language{"De", 1}, Language{"Gr", 2}}) {
      SCOPED_TRACE(ScaleName() + " % " + language.code);
      WalkLanguage(language);
    }
    // Without a data folder there is no language yet: the message speaks English and German.
    ProgramFolder folder;
    RemoveTree(folder.File("data"));
    Program program(folder);
    HWND box = program.WaitForWindow(L"#32770");
    ASSERT_NE(box, nullptr);
    Shoot(box, "all-no-data");
    PostClick(FindChild(box, L"Button"));
    EXPECT_EQ(program.WaitForExit(), 1);
  }
  if (!named) ::SetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", nullptr);
}

}  // namespace
}  // namespace testing_program
