// Layout in the Win32 ui backend: design pixels scaled by the dpi (forced here through
// DUSTORIX_UI_SCALE), and the user resizing a sizeable form through the model's resize rules.
#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/menu.h"
#include "platform/win32/ui/dpi.h"
#include "platform/win32/ui/text.h"
#include "platform/win32/ui/ui_handles.h"
#include "platform/win32/ui/win32_ui.h"
#include "tests/win32/window_check.h"

namespace platform::win32 {
namespace {

class ReportForm : public ui::Form {
 public:
  explicit ReportForm(ui::Application& app) : ui::Form(app) {
    SetName("TUiReportForm");
    SetCaption("Report");
    SetBorder(Border::kSizeable);
    SetOuterSize({520, 220});
    menu.Add(help);
    SetMenu(&menu);
    // The rule of the report dialog: the list keeps 15 pixels to the right edge.
    OnCanResize = [this](int& width, int& height, bool& allow) {
      ++resizes;
      lastOuter = {width, height};
      allow = allowResize;
      if (!allow) return;
      list.SetWidth(width - list.Bounds().left - 15);
      list.SetHeight(height - 123);
      close.SetLeft(width - 92);
    };
    Realize();
  }

  ui::ListBox list{this, {8, 56, 497, 97}};
  ui::Button close{this, {428, 163, 75, 25}, "Close", ui::Button::ButtonKind::kClose};
  ui::MainMenu menu;
  ui::MenuItem help{"Help"};
  int resizes = 0;
  ui::Size lastOuter;
  bool allowResize = true;
};

RECT ClientRect(HWND window) {
  RECT rect{};
  ::GetClientRect(window, &rect);
  return rect;
}

// A control's rectangle in its form's client area.
RECT RectInForm(const ui::Control& control) {
  RECT rect{};
  ::GetWindowRect(WindowOf(control), &rect);
  ::MapWindowPoints(nullptr, ::GetParent(WindowOf(control)), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class ForcedScale {
 public:
  explicit ForcedScale(const wchar_t* percent) {
    ::SetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", percent);
  }
  ~ForcedScale() { ::SetEnvironmentVariableW(L"DUSTORIX_UI_SCALE", nullptr); }
};

TEST(Win32UiLayout, DesignPixelsAreScaledAtOneHundredFiftyPercent) {
  std::unique_ptr<Win32Ui> backend;
  {
    ForcedScale scale(L"150");
    backend = std::make_unique<Win32Ui>();
  }
  ui::Application app(*backend);
  ReportForm form(app);
  if (!WindowOf(form)) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)";

  const RECT client = ClientRect(WindowOf(form));
  EXPECT_EQ(client.right, 768);
  EXPECT_EQ(client.bottom, 290);  // 193 * 1.5, rounded
  const RECT list = RectInForm(form.list);
  EXPECT_EQ(list.left, 12);
  EXPECT_EQ(list.top, 84);
  EXPECT_EQ(list.right, 758);  // edges are scaled, not sizes: 505 * 1.5, rounded
  form.list.SetHorizontalExtent(300);
  EXPECT_EQ(::SendMessageW(WindowOf(form.list), LB_GETHORIZONTALEXTENT, 0, 0), 450);

  // Fonts grow with the scale; text widths stay in design pixels.
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(WindowOf(form.close), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
  Win32Ui unscaled;
  ui::Application unscaledApp(unscaled);
  ReportForm plain(unscaledApp);
  LOGFONTW plainFont{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(WindowOf(plain.close), WM_GETFONT, 0, 0)),
               sizeof(plainFont), &plainFont);
  EXPECT_EQ(font.lfHeight, ::MulDiv(plainFont.lfHeight, 3, 2));
  EXPECT_EQ(backend->TextWidth({}, "Close"), unscaled.TextWidth({}, "Close"));
}

// Widths are added up from characters measured once; they must be what the whole string
// measures, in every font the program draws paths in and for any script.
TEST(Win32UiLayout, TextWidthIsTheWholeStringsExtent) {
  Win32Ui backend;
  ScreenDc screen;
  if (!screen.Get()) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)";
  const ui::Font fonts[] = {{}, {"Arial", 13, true, {}}, {"Arial", 8, false, {}}};
  const char* texts[] = {
      "T:\\Users\\anna\\AppData\\Local\\Temp\\~DF1A2B.tmp",
      "C:\\Gr\xC3\xB6\xC3\x9F\xC3\xA9 Dateien\\WWWiii.chk",
      "\xCE\x91\xCF\x81\xCF\x87\xCE\xB5\xCE\xAF\xCE\xB1\\\xCF\x84\xCE\xB5\xCE\xBB.tmp",
      "\xE6\x96\x87\xE4\xBB\xB6\\a\tb.$$$",
      "\xF0\x9F\x98\x80 smile.tmp",
      ""};
  for (const ui::Font& font : fonts) {
    for (const char* text : texts) {
      const std::wstring wide = Wide(text);
      const SelectedFont selected(screen.Get(), backend.Fonts().Get(font, kDesignDpi));
      SIZE whole{};
      ::GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &whole);
      for (int twice = 0; twice < 2; ++twice)
        EXPECT_EQ(backend.TextWidth(font, text), whole.cx) << text << " in " << font.face;
    }
  }
}

TEST(Win32UiLayout, UserResizingGoesThroughTheModelsResizeRule) {
  Win32Ui backend;
  ui::Application app(backend);
  ReportForm form(app);
  HWND window = WindowOf(form);
  if (!window) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)";
  form.Show();
  const int resizesBefore = form.resizes;

  RECT outer{};
  ::GetWindowRect(window, &outer);
  ::SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + 100,
                 outer.bottom - outer.top + 40, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_GT(form.resizes, resizesBefore);
  EXPECT_EQ(form.lastOuter.width, 620);
  EXPECT_EQ(form.lastOuter.height, 260);
  EXPECT_EQ(form.ClientSize().width, 612);
  EXPECT_EQ(RectInForm(form.list).right, 620 - 15);
  EXPECT_EQ(RectInForm(form.close).left, 620 - 92);

  // A refused size: the window goes back to the model's.
  form.allowResize = false;
  ::SetWindowPos(window, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(ClientRect(window).right, 612);
  EXPECT_EQ(ClientRect(window).bottom, 233);
}

// The walk checks the captions of list view columns as it checks every other caption: each fits
// its column at the form's scale, beside the header's margins and a sort arrow.
TEST(Win32UiLayout, ColumnCaptionsThatDoNotFitTheirColumnAreFound) {
  std::unique_ptr<Win32Ui> backend;
  {
    ForcedScale scale(L"150");
    backend = std::make_unique<Win32Ui>();
  }
  ui::Application app(*backend);
  ui::Form form(app);
  form.SetClientSize({400, 200});
  ui::ListView list(&form, {8, 8, 384, 180},
                    {{"Name", 200},
                     {"Gr\xC3\xB6\xC3\x9F"
                      "e",
                      40, ui::ListView::Align::kRight}});
  form.Realize();
  if (!WindowOf(form)) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)";
  testing_program::TextMeter meter(144);
  const std::vector<std::string> tight =
      testing_program::TightColumnCaptions(WindowOf(list), meter);
  ASSERT_EQ(tight.size(), 1u);
  EXPECT_NE(tight[0].find("\"Gr\xC3\xB6\xC3\x9F"
                          "e\""),
            std::string::npos)
      << tight[0];
  EXPECT_NE(tight[0].find("of a 60 px column"), std::string::npos) << "40 design pixels at 150 %";
  list.SetColumnWidth(1, 80);
  EXPECT_TRUE(testing_program::TightColumnCaptions(WindowOf(list), meter).empty());
}

}  // namespace
}  // namespace platform::win32
