#include "settings/inputbox_form.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_ui.h"

namespace settings {
namespace {

using Leave = std::function<void(TFrmInputBox& box)>;

// The sim with peers that remember which control was last given the keyboard focus.
class FocusTrackingUi final : public ui::Backend {
 public:
  platform::sim::SimUi sim;
  const ui::Control* focused = nullptr;

  void Attach(ui::Application& app) override { sim.Attach(app); }
  std::unique_ptr<ui::Peer> CreatePeer(ui::Control& control) override {
    return std::make_unique<Peer>(control, *this);
  }
  void RunMainLoop(ui::Form& form) override { sim.RunMainLoop(form); }
  ui::ModalResult RunModal(ui::Form& form) override { return sim.RunModal(form); }
  void ProcessMessages() override { sim.ProcessMessages(); }
  void Restore() override { sim.Restore(); }
  void BringToFront(ui::Form& form) override { sim.BringToFront(form); }
  int TextWidth(const ui::Font& font, std::string_view text) override {
    return sim.TextWidth(font, text);
  }
  int MessageBox(ui::Form* owner, std::string_view text, std::string_view caption, unsigned style,
                 unsigned short languageId) override {
    return sim.MessageBox(owner, text, caption, style, languageId);
  }

 private:
  class Peer final : public ui::Peer {
   public:
    Peer(ui::Control& control, FocusTrackingUi& ui) : control_(control), ui_(ui) {}
    void Changed(ui::Prop prop, int) override {
      if (prop == ui::Prop::kFocus) ui_.focused = &control_;
    }
    void MenuItemChanged(ui::MenuItem&) override {}
    void Repaint() override {}

   private:
    ui::Control& control_;
    FocusTrackingUi& ui_;
  };
};

class InputBoxTest : public ::testing::Test {
 protected:
  // Shows the box; the user types `typed` into the edit field and leaves by `leave`.
  std::string Ask(const std::string& typed, Leave leave) {
    ui.sim.QueueModal(
        [this, typed, leave](ui::Form& form) {
          auto& shown = static_cast<TFrmInputBox&>(form);
          EXPECT_EQ(shown.Edinput.Text(), "");
          EXPECT_EQ(ui.focused, &shown.Edinput);
          shown.Edinput.TextTyped(typed);
          leave(shown);
        },
        "TFrmInputBox");
    return ShowInputBox(box, "Caption", "Prompt", "Yes", "No");
  }

  FocusTrackingUi ui;
  ui::Application app{ui};
  TFrmInputBox box{app};
};

TEST_F(InputBoxTest, EveryWayOfLeavingGivesItsResult) {
  struct Case {
    const char* way;
    Leave leave;
    bool keepsText;
  };
  using Target = ui::Control& (*)(TFrmInputBox&);
  const Target edit = [](TFrmInputBox& b) -> ui::Control& { return b.Edinput; };
  const Target ok = [](TFrmInputBox& b) -> ui::Control& { return b.BtnOK; };
  const Target cancel = [](TFrmInputBox& b) -> ui::Control& { return b.BtnCancel; };
  // A key pressed while `focused` has the focus.
  auto key = [](int key, Target focused) {
    return [key, focused](TFrmInputBox& b) { b.KeyDown(focused(b), key); };
  };
  const std::vector<Case> cases = {
      {"OK button", [](TFrmInputBox& b) { b.BtnOK.Click(); }, true},
      {"Enter in the edit field", key(ui::kKeyReturn, edit), true},
      {"Enter on OK", key(ui::kKeyReturn, ok), true},
      {"Enter on Cancel", key(ui::kKeyReturn, cancel), false},
      {"Cancel button", [](TFrmInputBox& b) { b.BtnCancel.Click(); }, false},
      {"Escape in the edit field", key(ui::kKeyEscape, edit), false},
      {"Escape on OK", key(ui::kKeyEscape, ok), false},
      {"Escape on Cancel", key(ui::kKeyEscape, cancel), false},
      {"close box or Alt+F4", [](TFrmInputBox& b) { b.Close(); }, true},
      {"left open, as the frame closes it", [](TFrmInputBox&) {}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Ask(" *.tmp ", c.leave), c.keepsText ? " *.tmp " : "") << c.way;
    EXPECT_FALSE(box.Showing()) << c.way;
  }
  EXPECT_EQ(ui.sim.ModalHistory().size(), cases.size());
}

TEST_F(InputBoxTest, OkWithoutTypingGivesNoAnswer) {
  EXPECT_EQ(Ask("", [](TFrmInputBox& b) { b.BtnOK.Click(); }), "");
}

TEST_F(InputBoxTest, ASecondUseStartsEmptyWithTheNewTextsAndTheFocusInTheEditField) {
  ui.sim.QueueModal(
      [this](ui::Form&) {
        box.Edinput.TextTyped("first");
        box.BtnCancel.SetFocus();  // the user tabs to a button, then presses Escape
        box.KeyDown(box.BtnCancel, ui::kKeyEscape);
      },
      "TFrmInputBox");
  EXPECT_EQ(ShowInputBox(box, "C1", "P1", "O1", "X1"), "");

  ui.sim.QueueModal(
      [this](ui::Form&) {
        EXPECT_EQ(box.Edinput.Text(), "");
        EXPECT_EQ(ui.focused, &box.Edinput);
        EXPECT_EQ(box.Caption(), "C2");
        EXPECT_EQ(box.LbMessage.Caption(), "P2");
        EXPECT_EQ(box.BtnOK.Caption(), "O2");
        EXPECT_EQ(box.BtnCancel.Caption(), "X2");
        box.Edinput.TextTyped("second");
        box.BtnOK.Click();
      },
      "TFrmInputBox");
  EXPECT_EQ(ShowInputBox(box, "C2", "P2", "O2", "X2"), "second");
}

// The prompt takes as many lines as it needs within nine tenths of the label's width, and the
// edit field and buttons move below them. The sim's characters are 6 pixels wide: 38 fit on one
// line of the 257 pixel label; a longer prompt breaks at 231 pixels, 34 characters to a line.
TEST_F(InputBoxTest, ALongPromptTakesMoreLinesAndTheDialogGrowsByThem) {
  const struct {
    std::string prompt;
    int lines;
  } cases[] = {
      {"Enter a file pattern, e.g. *.tmp:", 1},
      {"Enter a file name that is never removed, e.g. desktop.ini:", 2},
      {"Enter the name of a file that the clean run must never remove, e.g. desktop.ini:", 3},
      {"a " + std::string(45, 'x'), 2},  // a word wider than a line has one of its own
      {"Prompt", 1},                     // and a short one gives the room back
  };
  for (const auto& c : cases) {
    ui.sim.QueueModal(
        [this, &c](ui::Form&) {
          const int below = (c.lines - 1) * 13;
          EXPECT_EQ(box.LbMessage.Bounds().width, c.lines == 1 ? 257 : 231) << c.prompt;
          EXPECT_EQ(box.LbMessage.Bounds().height, c.lines * 13) << c.prompt;
          EXPECT_EQ(box.Edinput.Bounds().top, 28 + below) << c.prompt;
          EXPECT_EQ(box.BtnOK.Bounds().top, 62 + below) << c.prompt;
          EXPECT_EQ(box.BtnCancel.Bounds().top, 62 + below) << c.prompt;
          EXPECT_EQ(box.ClientSize(), (ui::Size{274, 96 + below})) << c.prompt;
          box.BtnCancel.Click();
        },
        "TFrmInputBox");
    ShowInputBox(box, "Caption", c.prompt, "OK", "Cancel");
  }
}

}  // namespace
}  // namespace settings
