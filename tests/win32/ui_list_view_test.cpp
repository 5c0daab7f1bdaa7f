// What only the real list view does: columns at the form's dpi, bars drawn on the screen, typing
// to find a row, texts cut to the native buffer, and handlers that throw inside its messages.
// Needs a display (Xvfb under Wine).
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/ui/application.h"
#include "platform/win32/ui/text.h"
#include "platform/win32/ui/win32_ui.h"
#include "tests/platform/list_view_contract.h"

namespace platform::win32 {
namespace {

using testing_list_view::CheckListForm;
using testing_list_view::Row;

class ForcedScale {
 public:
  explicit ForcedScale(const wchar_t* percent) {
    ::SetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", percent);
  }
  ~ForcedScale() { ::SetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", nullptr); }
};

class Win32ListView : public ::testing::Test {
 protected:
  // A form of these rows on a backend at this scale (percent; 0 for the system's).
  void Open(std::vector<Row> rows, const wchar_t* scale = nullptr) {
    {
      const ForcedScale forced(scale ? scale : L"");
      backend = std::make_unique<Win32Ui>();
    }
    backend->onHandlerError = [this](const std::string& what) { errors.push_back(what); };
    app = std::make_unique<ui::Application>(*backend);
    form = std::make_unique<CheckListForm>(*app, std::move(rows));
  }
  bool Showing() const { return form && WindowOf(*form); }
  HWND List() const { return WindowOf(form->list); }
  HWND Header() const { return reinterpret_cast<HWND>(Send(LVM_GETHEADER)); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(List(), message, wParam, lParam);
  }
  void Show() {
    form->Show();
    ::SetForegroundWindow(WindowOf(*form));
    ::UpdateWindow(WindowOf(*form));
    ::UpdateWindow(List());
  }
  RECT Cell(int row, int column) const {
    RECT rect{};
    rect.top = column;
    rect.left = LVIR_BOUNDS;
    Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    ::MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  ~Win32ListView() override {
    form.reset();
    app.reset();
  }

  std::unique_ptr<Win32Ui> backend;
  std::unique_ptr<ui::Application> app;
  std::unique_ptr<CheckListForm> form;
  std::vector<std::string> errors;
};

TEST_F(Win32ListView, ColumnsAreScaledAlignedAndCaptionedAsTheModelSays) {
  Open(testing_list_view::Files(3), L"150");
  if (!Showing()) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)";
  const auto column = [&](int index) {
    wchar_t text[64] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_WIDTH | LVCF_FMT | LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = 64;
    Send(LVM_GETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
    return std::make_tuple(Narrow(text), info.cx, info.fmt & LVCFMT_JUSTIFYMASK);
  };
  EXPECT_EQ(column(0), std::make_tuple(std::string("Name"), 270, LVCFMT_LEFT));
  EXPECT_EQ(column(1), std::make_tuple(std::string("Size"), 120, LVCFMT_RIGHT));
  EXPECT_EQ(std::get<1>(column(2)), 135);
  form->list.SetColumnCaption(1,
                              "Gr\xC3\xB6\xC3\x9F"
                              "e");
  form->list.SetColumnWidth(1, 100);
  EXPECT_EQ(column(1), std::make_tuple(std::string("Gr\xC3\xB6\xC3\x9F"
                                                   "e"),
                                       150, LVCFMT_RIGHT));
  form->list.SetColumns({{"Only", 40}});
  EXPECT_EQ(Send(LVM_GETCOLUMNWIDTH, 1), 0) << "the other columns are gone";
  EXPECT_EQ(std::get<1>(column(0)), 60);
  const auto style = static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE));
  EXPECT_TRUE(style & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(style & LVS_EX_DOUBLEBUFFER);
  EXPECT_TRUE(style & LVS_EX_CHECKBOXES);
  EXPECT_TRUE(::GetWindowLongW(List(), GWL_STYLE) & LVS_OWNERDATA);
}

// A bar fills its fraction of the cell in the highlight colour, on the window's colour.
TEST_F(Win32ListView, BarsFillTheirShareOfTheCellInTheHighlightColour) {
  Open({{"all", 4000}, {"quarter", 1000}, {"none", 0}});
  if (!Showing()) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)";
  Show();
  ::Sleep(200);  // the screen follows the window's drawing
  HDC screen = ::GetDC(nullptr);
  const auto colourAt = [&](int row, double across) {
    const RECT cell = Cell(row, 2);
    const int x = cell.left + static_cast<int>((cell.right - cell.left) * across);
    return ::GetPixel(screen, x, (cell.top + cell.bottom) / 2);
  };
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(colourAt(0, 0.2), highlight);
  EXPECT_EQ(colourAt(0, 0.8), highlight);
  EXPECT_EQ(colourAt(1, 0.15), highlight);
  EXPECT_EQ(colourAt(1, 0.6), window);
  EXPECT_EQ(colourAt(2, 0.15), window);
  ::ReleaseDC(nullptr, screen);
}

TEST_F(Win32ListView, TypingJumpsToTheRowThatStartsWithTheLetters) {
  Open({{"apple"}, {"banana"}, {"Cherry"}, {"citron"}});
  if (!Showing()) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)";
  Show();
  ::SetFocus(List());
  for (wchar_t typed : {L'c', L'i'})
    ::SendMessageW(List(), WM_CHAR, typed, 1);
  EXPECT_EQ(form->list.SelectedRows(), std::vector<int>{3});
  EXPECT_EQ(form->list.FocusedRow(), 3);
}

TEST_F(Win32ListView, TextsAreCutToTheNativeBufferNeverInsideACharacter) {
  const std::string face = "\xF0\x9F\x98\x80";  // one character, two UTF-16 units
  Open({{"abcd" + face + "e"}, {std::string(1000, 'x')}});
  if (!Showing()) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)";
  const auto text = [&](int row, int room) {
    std::wstring buffer(static_cast<size_t>(room), L'?');
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buffer.data();
    item.cchTextMax = room;
    const auto length =
        Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return Narrow(std::wstring_view(item.pszText, static_cast<size_t>(length)));
  };
  EXPECT_EQ(text(0, 6), "abcd") << "no half of the pair";
  EXPECT_EQ(text(0, 7), "abcd" + face);
  EXPECT_EQ(text(1, 2000), std::string(1000, 'x'));
}

// Handlers of the form run inside the list's messages; what they throw is reported and the
// list goes on.
TEST_F(Win32ListView, AHandlerThatThrowsTakesNothingDown) {
  Open(testing_list_view::Files(3));
  if (!Showing()) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)";
  form->list.CellText = [](int row, int) -> std::string {
    if (row == 1) throw std::runtime_error("no such file");
    return "row " + std::to_string(row);
  };
  form->list.OnCheck = [](const std::vector<int>&, bool) { throw std::runtime_error("refused"); };
  Show();
  wchar_t text[32] = {};
  LVITEMW item{};
  item.pszText = text;
  item.cchTextMax = 32;
  Send(LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
  Send(LVM_GETITEMTEXTW, 2, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(Narrow(text), "row 2");
  ::SetFocus(List());
  form->list.SetFocusedRow(0);
  form->list.SetSelected(0, true);
  ::SendMessageW(List(), WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_TRUE(std::count(errors.begin(), errors.end(), "no such file") > 0);
  EXPECT_TRUE(std::count(errors.begin(), errors.end(), "refused") > 0);
  EXPECT_TRUE(::IsWindow(List()));
}

}  // namespace
}  // namespace platform::win32
