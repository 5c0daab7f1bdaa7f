// The Win32 ui backend mirrors the model in real native controls, and user actions made with
// real window messages reach the model. Needs a display (Xvfb under Wine).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/menu.h"
#include "platform/ui/radio_button.h"
#include "platform/ui/status_bar.h"
#include "platform/win32/ui/menu_bar.h"
#include "platform/win32/ui/text.h"
#include "platform/win32/ui/win32_ui.h"

namespace platform::win32 {
namespace {

using ButtonKind = ui::Button::ButtonKind;

class ControlsForm : public ui::Form {
 public:
  explicit ControlsForm(ui::Application& app) : ui::Form(app) {
    SetName("TUiControlsForm");
    SetCaption("Controls \xE2\x80\x93 test");
    SetClientSize({320, 260});
    menu.Add(file);
    file.Add(open);
    file.Add(order);
    file.Add(separator);
    file.Add(quit);
    menu.Add(edit);
    edit.Add(language);
    language.Add(english);
    language.Add(greek);
    SetMenu(&menu);
    list.SetMultiSelect(true);
    list.SetSorted(true);
    group.SetHint("Group hint");
    label.SetHint("Short|Long label hint");
    Realize();
  }

  ui::GroupBox group{this, {8, 8, 150, 72}, "Drives"};
  ui::RadioButton one{&group, {10, 20, 120, 17}, "One drive"};
  ui::RadioButton all{&group, {10, 44, 120, 17}, "All drives"};
  ui::CheckBox check{this, {168, 12, 140, 17}, "Recycle"};
  ui::Label label{this, {168, 40, 0, 0}, "Autosized label"};
  ui::Edit field{this, {168, 60, 140, 21}};
  ui::ListBox list{this, {8, 90, 200, 100}};
  ui::ComboBox combo{this, {216, 90, 96, 21}};
  ui::Button ok{this, {152, 200, 75, 25}, "OK", ButtonKind::kOk};
  ui::Button cancel{this, {236, 200, 75, 25}, "Cancel", ButtonKind::kCancel};
  ui::StatusBar status{this, {80, 100}};
  ui::MainMenu menu;
  ui::MenuItem file{"File"}, open{"Open"}, order{"Order"}, separator{"-"}, quit{"&Quit"};
  ui::MenuItem edit{"Edit"}, language{"Language"}, english{"English"},
      greek{"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC"};
};

class Win32UiControls : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<ControlsForm>(app);
    if (!WindowOf(*form)) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)";
  }

  static std::string Text(const ui::Control& control) { return WindowText(WindowOf(control)); }
  static LRESULT Send(const ui::Control& control, UINT message, WPARAM wParam = 0,
                      LPARAM lParam = 0) {
    return ::SendMessageW(WindowOf(control), message, wParam, lParam);
  }
  // A notification as the control sends it to its form.
  void Notify(const ui::Control& control, int code) {
    HWND window = WindowOf(control);
    ::SendMessageW(WindowOf(*form), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), code),
                   reinterpret_cast<LPARAM>(window));
  }
  std::vector<std::string> ListLines() {
    std::vector<std::string> lines;
    const int count = static_cast<int>(Send(form->list, LB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
      std::wstring line(static_cast<size_t>(Send(form->list, LB_GETTEXTLEN, i)), L'\0');
      Send(form->list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
      lines.push_back(Narrow(line));
    }
    return lines;
  }
  std::string MenuText(HMENU menu, UINT position) {
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return Narrow(text);
  }

  Win32Ui backend;
  ui::Application app{backend};
  std::unique_ptr<ControlsForm> form;
};

TEST_F(Win32UiControls, CaptionsAndCheckStatesFollowTheModel) {
  EXPECT_EQ(::FindWindowW(L"TUiControlsForm", nullptr), WindowOf(*form));
  EXPECT_EQ(Text(*form), "Controls \xE2\x80\x93 test");
  EXPECT_EQ(Text(form->group), "Drives");
  EXPECT_EQ(Text(form->check), "Recycle");
  EXPECT_EQ(Text(form->label), "Autosized label");
  EXPECT_TRUE(::GetWindowLongW(WindowOf(form->ok), GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_FALSE(::GetWindowLongW(WindowOf(form->cancel), GWL_STYLE) & BS_DEFPUSHBUTTON);

  form->check.SetCaption("Empty the bin");
  form->SetCaption("Renamed");
  EXPECT_EQ(Text(form->check), "Empty the bin");
  EXPECT_EQ(Text(*form), "Renamed");

  form->check.SetChecked(true);
  form->one.SetChecked(true);
  EXPECT_EQ(Send(form->check, BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(Send(form->one, BM_GETCHECK), BST_CHECKED);
  form->all.SetChecked(true);
  EXPECT_EQ(Send(form->one, BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(Send(form->all, BM_GETCHECK), BST_CHECKED);

  // A label of width 0 is as wide as its text.
  RECT label{};
  ::GetClientRect(WindowOf(form->label), &label);
  EXPECT_NEAR(label.right, form->label.TextWidth("Autosized label"), 2);
  EXPECT_GT(label.bottom, 8);
}

TEST_F(Win32UiControls, HiddenOrDisabledParentsHideOrDisableTheirControls) {
  form->group.SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(WindowOf(form->one)));
  form->one.SetVisible(false);
  form->group.SetVisible(true);
  form->Show();
  EXPECT_TRUE(::IsWindowVisible(WindowOf(form->all)));
  EXPECT_FALSE(::IsWindowVisible(WindowOf(form->one)));

  form->group.SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(WindowOf(form->all)));
  form->group.SetEnabled(true);
  EXPECT_TRUE(::IsWindowEnabled(WindowOf(form->all)));
}

TEST_F(Win32UiControls, ListBoxShowsTheModelsLinesSelectionAndExtent) {
  form->Show();
  ui::ListBox& list = form->list;
  list.Add("beta");
  list.Add("Alpha");
  list.Add("gamma");
  list.Add("delta");
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"Alpha", "beta", "delta", "gamma"}));
  list.Delete(1);
  EXPECT_EQ(ListLines(), (std::vector<std::string>{"Alpha", "delta", "gamma"}));

  list.SetSelected(2, true);
  EXPECT_EQ(Send(list, LB_GETSEL, 2), 1);
  EXPECT_EQ(Send(list, LB_GETSELCOUNT), 1);
  list.SelectAll(true);
  EXPECT_EQ(Send(list, LB_GETSELCOUNT), 3);
  list.SelectAll(false);
  EXPECT_EQ(Send(list, LB_GETSELCOUNT), 0);

  list.SetHorizontalExtent(640);
  EXPECT_EQ(Send(list, LB_GETHORIZONTALEXTENT), 640);
  list.Clear();
  EXPECT_EQ(Send(list, LB_GETCOUNT), 0);
}

TEST_F(Win32UiControls, UserSelectionInTheListIsReadBackWhole) {
  form->Show();
  ui::ListBox& list = form->list;
  for (const char* line : {"a", "b", "c", "d"})
    list.Add(line);
  list.SetSelected(0, true);
  // The user extends the selection with the keyboard or mouse: several lines change at once.
  Send(list, LB_SETSEL, FALSE, 0);
  Send(list, LB_SETSEL, TRUE, 1);
  Send(list, LB_SETSEL, TRUE, 3);
  Send(list, LB_SETCARETINDEX, 3);
  Notify(list, LBN_SELCHANGE);
  EXPECT_FALSE(list.Selected(0));
  EXPECT_TRUE(list.Selected(1));
  EXPECT_FALSE(list.Selected(2));
  EXPECT_TRUE(list.Selected(3));
  EXPECT_EQ(list.ItemIndex(), 3);
}

TEST_F(Win32UiControls, AHiddenFormsListIsFilledOnceWhenItShows) {
  // As a scan in review mode fills the review dialog before it shows.
  ui::ListBox& list = form->list;
  list.Add("stale");
  for (int i = 0; i < 100000; ++i)
    list.Add("T:\\folder\\file" + std::to_string(100000 + i) + ".tmp");
  list.Delete(list.Count() - 1);
  list.SetSelected(1, true);
  EXPECT_EQ(Send(list, LB_GETCOUNT), 0);
  form->Show();
  EXPECT_EQ(Send(list, LB_GETCOUNT), 100000);
  EXPECT_EQ(ListLines().front(), "stale");
  EXPECT_EQ(Send(list, LB_GETSELCOUNT), 1);
  EXPECT_EQ(Send(list, LB_GETSEL, 1), 1);
  list.SelectAll(true);
  Notify(list, LBN_SELCHANGE);
  EXPECT_EQ(list.SelectedCount(), 100000);

  // Hidden again, emptied and filled anew: shown, it has the new lines only.
  form->SetVisible(false);
  list.Clear();
  list.Add("fresh");
  form->Show();
  EXPECT_EQ(ListLines(), std::vector<std::string>{"fresh"});
  EXPECT_EQ(Send(list, LB_GETSELCOUNT), 0);
}

TEST_F(Win32UiControls, ClicksAndTypingReachTheModel) {
  int okClicks = 0;
  int checkClicks = 0;
  form->ok.OnClick = [&] { ++okClicks; };
  form->check.OnClick = [&] { ++checkClicks; };
  Send(form->ok, BM_CLICK);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(form->GetModalResult(), ui::ModalResult::kOk);

  Send(form->check, BM_CLICK);
  EXPECT_TRUE(form->check.Checked());
  EXPECT_EQ(checkClicks, 1);
  // The click rules of the program may undo a click; the native box follows the model.
  form->check.OnClick = [&] { form->check.SetChecked(false); };
  Send(form->check, BM_CLICK);
  Send(form->check, BM_CLICK);
  EXPECT_FALSE(form->check.Checked());
  EXPECT_EQ(Send(form->check, BM_GETCHECK), BST_UNCHECKED);

  form->one.SetChecked(true);
  Send(form->all, BM_CLICK);
  EXPECT_TRUE(form->all.Checked());
  EXPECT_FALSE(form->one.Checked());
  EXPECT_EQ(Send(form->one, BM_GETCHECK), BST_UNCHECKED);

  form->combo.Add("C:");
  form->combo.Add("T:");
  form->combo.SetItemIndex(0);
  EXPECT_EQ(Send(form->combo, CB_GETCOUNT), 2);
  EXPECT_EQ(Send(form->combo, CB_GETCURSEL), 0);
  int chosen = -1;
  form->combo.OnClick = [&] { chosen = form->combo.ItemIndex(); };
  Send(form->combo, CB_SETCURSEL, 1);
  Notify(form->combo, CBN_SELCHANGE);
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(form->combo.Text(), "T:");

  form->field.SetText("*.tmp");
  EXPECT_EQ(Text(form->field), "*.tmp");
  ::SetWindowTextW(WindowOf(form->field), L"*.b\u00E4k");  // sends EN_CHANGE as typing does
  EXPECT_EQ(form->field.Text(), "*.b\xC3\xA4k");

  int labelClicks = 0;
  form->label.OnClick = [&] { ++labelClicks; };
  Notify(form->label, STN_CLICKED);
  EXPECT_EQ(labelClicks, 1);
}

TEST_F(Win32UiControls, TabAndArrowKeysMoveTheFocusAsInADialog) {
  form->Show();
  const auto press = [&](int key) {
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(key), 0);
    app.ProcessMessages();
  };
  form->one.SetChecked(true);
  ::SetFocus(WindowOf(form->one));
  press(VK_DOWN);
  EXPECT_EQ(::GetFocus(), WindowOf(form->all));
  EXPECT_TRUE(form->all.Checked());
  EXPECT_FALSE(form->one.Checked());
  press(VK_TAB);
  EXPECT_EQ(::GetFocus(), WindowOf(form->check));
  press(VK_TAB);
  EXPECT_EQ(::GetFocus(), WindowOf(form->field));  // labels are no stops

  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  ::SetKeyboardState(keys);
  press(VK_TAB);
  keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(::GetFocus(), WindowOf(form->check));
}

TEST_F(Win32UiControls, StatusBarPanelsAreScaledAndShowTheirTexts) {
  form->status.SetPanelText(0, "Scanning");
  form->status.SetPanelText(1, "T:\\temp");
  form->status.Repaint();
  wchar_t text[64] = {};
  Send(form->status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(Narrow(text), "Scanning");
  Send(form->status, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(Narrow(text), "T:\\temp");
  int edges[2] = {};
  EXPECT_EQ(Send(form->status, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)), 2);
  EXPECT_EQ(edges[0], 80);
  EXPECT_EQ(edges[1], -1);

  // A panel's progress is a progress bar inside it, gone when there is none.
  form->status.SetPanelProgress(1, 400);
  HWND bar = ::FindWindowExW(WindowOf(form->status), nullptr, PROGRESS_CLASSW, nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), 400);
  RECT panel{}, inside{};
  Send(form->status, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&panel));
  ::GetWindowRect(bar, &inside);
  ::MapWindowPoints(nullptr, WindowOf(form->status), reinterpret_cast<POINT*>(&inside), 2);
  EXPECT_GE(inside.left, panel.left);
  EXPECT_LE(inside.right, panel.right);
  form->status.SetPanelProgress(1, ui::StatusBar::kNoProgress);
  EXPECT_EQ(::FindWindowExW(WindowOf(form->status), nullptr, PROGRESS_CLASSW, nullptr), nullptr);
}

TEST_F(Win32UiControls, MenuBarHasMnemonicsCheckMarksAndCommands) {
  HMENU bar = ::GetMenu(WindowOf(*form));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(MenuText(bar, 0), "&File");
  EXPECT_EQ(MenuText(bar, 1), "&Edit");
  HMENU file = ::GetSubMenu(bar, 0);
  EXPECT_EQ(MenuText(file, 0), "&Open");
  EXPECT_EQ(MenuText(file, 1), "O&rder");
  EXPECT_EQ(::GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(MenuText(file, 3), "&Quit");
  HMENU language = ::GetSubMenu(::GetSubMenu(bar, 1), 0);
  EXPECT_EQ(MenuText(language, 1),
            "&\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC");

  form->greek.SetChecked(true);
  form->open.SetEnabled(false);
  EXPECT_TRUE(::GetMenuState(language, 1, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_FALSE(::GetMenuState(language, 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(::GetMenuState(file, 0, MF_BYPOSITION) & MF_GRAYED);
  form->file.SetCaption("Data");  // a popup's caption, as a language switch changes it
  EXPECT_EQ(MenuText(bar, 0), "&Data");

  int clicks = 0;
  form->order.OnClick = [&] { ++clicks; };
  form->open.OnClick = [&] { ++clicks; };
  ::SendMessageW(WindowOf(*form), WM_COMMAND, MAKEWPARAM(form->order.Id(), 0), 0);
  ::SendMessageW(WindowOf(*form), WM_COMMAND, MAKEWPARAM(form->open.Id(), 0), 0);  // disabled
  EXPECT_EQ(clicks, 1);
}

TEST(Win32UiMnemonics, EachItemGetsAFreeLetterAndKeepsItsOwn) {
  EXPECT_EQ(WithMnemonics({L"File", L"Find", L"F1", L"-", L"&Insert"}),
            (std::vector<std::wstring>{L"&File", L"Fi&nd", L"F&1", L"-", L"&Insert"}));
  EXPECT_EQ(WithMnemonics({L"Save && quit", L"Sort"}),
            (std::vector<std::wstring>{L"&Save && quit", L"S&ort"}));
  // Letters are compared without case, in any script.
  EXPECT_EQ(WithMnemonics({L"\u03B1\u03B2", L"\u0391\u03B3"}),
            (std::vector<std::wstring>{L"&\u03B1\u03B2", L"\u0391&\u03B3"}));
  EXPECT_EQ(WithMnemonics({L"ab", L"AB", L"ba"}),
            (std::vector<std::wstring>{L"&ab", L"A&B", L"ba"}));
}

TEST_F(Win32UiControls, MouseMovesReachTheControlUnderThePointer) {
  int formMoves = 0;
  int labelMoves = 0;
  form->OnMouseMove = [&] { ++formMoves; };
  form->label.OnMouseMove = [&] { ++labelMoves; };
  Send(form->label, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(labelMoves, 1);
  EXPECT_EQ(app.Hint(), "Long label hint");
  // The group box lets the mouse through to the form; the move is still the group's.
  ::SendMessageW(WindowOf(*form), WM_MOUSEMOVE, 0, MAKELPARAM(150, 75));
  EXPECT_EQ(app.Hint(), "Group hint");
  EXPECT_EQ(formMoves, 0);
  ::SendMessageW(WindowOf(*form), WM_MOUSEMOVE, 0, MAKELPARAM(4, 85));
  EXPECT_EQ(formMoves, 1);
  EXPECT_EQ(app.Hint(), "");
}

TEST_F(Win32UiControls, LabelsDrawTheirColourAndShowTheHandCursor) {
  form->label.SetFontColor(ui::Color::Rgb(255, 0, 0));
  UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  const LRESULT brush =
      ::SendMessageW(WindowOf(*form), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                     reinterpret_cast<LPARAM>(WindowOf(form->label)));
  EXPECT_NE(brush, 0);
  EXPECT_EQ(::GetTextColor(dc.Get()), RGB(255, 0, 0));
  EXPECT_EQ(::GetBkMode(dc.Get()), TRANSPARENT);

  form->label.SetCursor(ui::Cursor::kHand);
  EXPECT_EQ(Send(form->label, WM_SETCURSOR, reinterpret_cast<WPARAM>(WindowOf(form->label)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
}

}  // namespace
}  // namespace platform::win32
