// The loops of the Win32 ui backend: the main loop, nested modal loops, ProcessMessages, the
// application's message filter in each of them, and handlers that throw. Needs a display.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/status_bar.h"
#include "platform/win32/ui/win32_ui.h"

namespace platform::win32 {
namespace {

using ButtonKind = ui::Button::ButtonKind;
using ui::ModalResult;

class MainTestForm : public ui::Form {
 public:
  explicit MainTestForm(ui::Application& app) : ui::Form(app) {
    SetName("TUiMainForm");
    SetCaption("Main");
    SetClientSize({219, 194});
    SetPosition(Position::kDesktopCenter);
    SetMinimizeBox(true);
    Realize();
  }
  ui::Button start{this, {8, 8, 75, 25}, "Start"};
  ui::StatusBar status{this, {80}};
};

class DialogTestForm : public ui::Form {
 public:
  DialogTestForm(ui::Application& app, const std::string& name) : ui::Form(app) {
    SetName(name);
    SetCaption(name);
    SetBorder(Border::kDialog);
    SetClientSize({240, 120});
    Realize();
  }
  ui::Edit field{this, {8, 8, 224, 21}};
  ui::Button other{this, {8, 88, 60, 25}, "Other"};
  ui::Button ok{this, {84, 88, 70, 25}, "OK", ButtonKind::kOk};
  ui::Button cancel{this, {162, 88, 70, 25}, "Cancel", ButtonKind::kCancel};
};

class Win32UiLoops : public ::testing::Test {
 protected:
  void SetUp() override {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
      ::DispatchMessageW(&message);
  }
  bool NoDisplay(const ui::Form& form) { return WindowOf(form) == nullptr; }
  static void Post(const ui::Control& control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    ::PostMessageW(WindowOf(control), message, wParam, lParam);
  }

  Win32Ui backend;
  ui::Application app{backend};
  const UINT poke = ::RegisterWindowMessageW(L"Dustorix.UiTest.Poke");
};

#define SKIP_WITHOUT_DISPLAY(form) \
  if (NoDisplay(form)) GTEST_SKIP() << "no display: GUI tests need DISPLAY (run Xvfb)"

TEST_F(Win32UiLoops, DialogKeysAndTheCloseBoxEndAModalForm) {
  DialogTestForm dialog(app, "TUiDialog");
  SKIP_WITHOUT_DISPLAY(dialog);
  int cancelClicks = 0;
  dialog.cancel.OnClick = [&] { ++cancelClicks; };

  Post(dialog.field, WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(dialog.ShowModal(), ModalResult::kCancel);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_FALSE(::IsWindowVisible(WindowOf(dialog)));
  EXPECT_FALSE(dialog.Showing());
  EXPECT_FALSE(dialog.Modal());

  Post(dialog.field, WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(dialog.ShowModal(), ModalResult::kOk);
  // Enter on a focused button presses that button, not the default one.
  dialog.other.OnClick = [&] { dialog.SetModalResult(ModalResult::kAbort); };
  Post(dialog.other, WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(dialog.ShowModal(), ModalResult::kAbort);

  // A key handler swallows Escape; the close box is refused once, then closes.
  dialog.field.OnKeyDown = [](int& key) {
    if (key == ui::kKeyEscape) key = 0;
  };
  int closes = 0;
  dialog.OnClose = [&](ui::CloseAction& action) {
    if (++closes == 1) action = ui::CloseAction::kNone;
  };
  Post(dialog.field, WM_KEYDOWN, VK_ESCAPE);
  Post(dialog, WM_CLOSE);
  Post(dialog, WM_CLOSE);
  EXPECT_EQ(dialog.ShowModal(), ModalResult::kCancel);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(closes, 2);
}

TEST_F(Win32UiLoops, ActivationIsReportedPerDisplayAndKeepsTheFocusedControl) {
  DialogTestForm dialog(app, "TUiActivated");
  SKIP_WITHOUT_DISPLAY(dialog);
  int activations = 0;
  HWND focusedFirst = nullptr;
  HWND focusedAfterSwitch = nullptr;
  dialog.OnActivate = [&] { ++activations; };
  app.OnMessage = [&](const ui::Message& message, bool& handled) {
    if (message.id != poke) return;
    handled = true;
    HWND window = WindowOf(dialog);
    if (!focusedFirst) focusedFirst = ::GetFocus();
    ::SetFocus(WindowOf(dialog.other));
    // The user switches to another program and back.
    ::SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
    ::SetFocus(nullptr);
    ::SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
    focusedAfterSwitch = ::GetFocus();
    ::PostMessageW(window, WM_CLOSE, 0, 0);
  };
  for (int shown = 0; shown < 2; ++shown) {
    Post(dialog, poke);
    dialog.ShowModal();
  }
  EXPECT_EQ(activations, 2);
  EXPECT_EQ(focusedFirst, WindowOf(dialog.field));
  EXPECT_EQ(focusedAfterSwitch, WindowOf(dialog.other));
}

TEST_F(Win32UiLoops, ModalLoopsNestInTheMainLoopAndTheFilterSeesEveryLoop) {
  MainTestForm mainForm(app);
  DialogTestForm options(app, "TUiOptions");
  DialogTestForm input(app, "TUiInput");
  SKIP_WITHOUT_DISPLAY(mainForm);
  std::vector<std::string> seen;
  bool centred = false;
  bool mainDisabledUnderOptions = false;
  bool bothDisabledUnderInput = false;
  bool mainEnabledAfter = false;
  int optionsActivations = 0;
  ModalResult optionsResult = ModalResult::kNone;
  ModalResult inputResult = ModalResult::kNone;
  options.OnActivate = [&] { ++optionsActivations; };

  app.OnMessage = [&](const ui::Message& message, bool& handled) {
    if (message.id != poke) return;
    handled = true;
    switch (message.wParam) {
      case 1: {
        seen.push_back("main loop");
        RECT window{};
        ::GetWindowRect(WindowOf(mainForm), &window);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        ::GetMonitorInfoW(::MonitorFromWindow(WindowOf(mainForm), MONITOR_DEFAULTTOPRIMARY),
                          &monitor);
        centred =
            std::abs((window.left + window.right) - (monitor.rcWork.left + monitor.rcWork.right)) <=
                2 &&
            std::abs((window.top + window.bottom) - (monitor.rcWork.top + monitor.rcWork.bottom)) <=
                2;
        Post(mainForm, poke, 2);
        optionsResult = options.ShowModal();
        mainEnabledAfter = ::IsWindowEnabled(WindowOf(mainForm));
        Post(mainForm, WM_CLOSE);
        break;
      }
      case 2:
        seen.push_back("options");
        mainDisabledUnderOptions = !::IsWindowEnabled(WindowOf(mainForm));
        Post(mainForm, poke, 3);
        inputResult = input.ShowModal();
        Post(options.field, WM_KEYDOWN, VK_RETURN);
        break;
      case 3:
        seen.push_back("input");
        bothDisabledUnderInput =
            !::IsWindowEnabled(WindowOf(mainForm)) && !::IsWindowEnabled(WindowOf(options));
        Post(input, WM_CLOSE);
        break;
      default:
        break;
    }
  };
  int mainCloses = 0;
  mainForm.OnClose = [&](ui::CloseAction&) { ++mainCloses; };
  Post(mainForm, poke, 1);
  app.Run(mainForm);

  EXPECT_EQ(seen, (std::vector<std::string>{"main loop", "options", "input"}));
  EXPECT_TRUE(centred);
  EXPECT_TRUE(mainDisabledUnderOptions);
  EXPECT_TRUE(bothDisabledUnderInput);
  EXPECT_TRUE(mainEnabledAfter);
  EXPECT_GE(optionsActivations, 1);
  EXPECT_EQ(inputResult, ModalResult::kCancel);
  EXPECT_EQ(optionsResult, ModalResult::kOk);
  EXPECT_EQ(mainCloses, 1);
  EXPECT_FALSE(mainForm.Showing());
  EXPECT_FALSE(::IsWindowVisible(WindowOf(mainForm)));
}

TEST_F(Win32UiLoops, TheFilterSeesTheMessagesOfAMessageBoxLoop) {
  MainTestForm form(app);
  SKIP_WITHOUT_DISPLAY(form);
  HWND owner = nullptr;
  app.OnMessage = [&](const ui::Message& message, bool& handled) {
    if (message.id != poke) return;
    handled = true;
    HWND box = ::FindWindowW(L"#32770", L"Refused");
    owner = ::GetWindow(box, GW_OWNER);
    ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  };
  Post(form, poke);
  EXPECT_EQ(backend.MessageBox(&form, "Pattern refused", "Refused", MB_OKCANCEL, LANG_ENGLISH),
            IDCANCEL);
  EXPECT_EQ(owner, WindowOf(form));
}

TEST_F(Win32UiLoops, ATimerEndsAModalForm) {
  DialogTestForm dialog(app, "TUiTimed");
  SKIP_WITHOUT_DISPLAY(dialog);
  ::SetTimer(WindowOf(dialog), 7, 10, nullptr);
  app.OnMessage = [&](const ui::Message& message, bool&) {
    if (message.id != WM_TIMER || message.wParam != 7) return;
    ::KillTimer(WindowOf(dialog), 7);
    ::SendMessageW(WindowOf(dialog.ok), BM_CLICK, 0, 0);
  };
  EXPECT_EQ(dialog.ShowModal(), ModalResult::kOk);
}

TEST_F(Win32UiLoops, ProcessMessagesFiltersWhatIsWaitingAndIsCheapWhenNothingIs) {
  MainTestForm form(app);
  SKIP_WITHOUT_DISPLAY(form);
  int seen = 0;
  app.OnMessage = [&](const ui::Message& message, bool& handled) {
    if (message.id != poke) return;
    ++seen;
    EXPECT_EQ(message.wParam, 42u);
    EXPECT_EQ(message.lParam, -7);
    handled = true;
  };
  Post(form, poke, 42, -7);
  ::PostThreadMessageW(::GetCurrentThreadId(), poke, 42, -7);
  app.ProcessMessages();
  EXPECT_EQ(seen, 2);

  // A scan calls it after every entry.
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 2000; ++i)
    app.ProcessMessages();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

  // A quiet queue is asked again only once the tick count moves: what comes after a quiet check
  // waits for the next tick, and is not lost.
  Post(form, poke, 42, -7);
  const ULONGLONG posted = ::GetTickCount64();
  while (seen < 3 && ::GetTickCount64() - posted < 5000)
    app.ProcessMessages();
  EXPECT_EQ(seen, 3);
}

TEST_F(Win32UiLoops, NothingAHandlerThrowsCrossesAWindowProcedureOrALoop) {
  DialogTestForm dialog(app, "TUiThrowing");
  SKIP_WITHOUT_DISPLAY(dialog);
  std::vector<std::string> errors;
  backend.onHandlerError = [&](const std::string& what) { errors.push_back(what); };

  dialog.OnActivate = [] { throw std::runtime_error("activate failed"); };
  dialog.OnClose = [](ui::CloseAction&) { throw std::runtime_error("close failed"); };
  app.OnMessage = [&](const ui::Message& message, bool&) {
    if (message.id == poke) throw std::logic_error("filter failed");
  };
  Post(dialog, poke);
  Post(dialog, WM_CLOSE);
  EXPECT_EQ(dialog.ShowModal(), ModalResult::kCancel);
  EXPECT_EQ(errors, (std::vector<std::string>{"activate failed", "filter failed", "close failed"}));

  dialog.other.OnClick = [] { throw std::runtime_error("click failed"); };
  ::SendMessageW(WindowOf(dialog.other), BM_CLICK, 0, 0);
  EXPECT_EQ(errors.back(), "click failed");
}

}  // namespace
}  // namespace platform::win32
