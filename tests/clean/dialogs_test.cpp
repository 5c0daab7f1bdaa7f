// The review and report dialogs as a user handles them: Escape leaves them, and at every size
// the user gives them their controls stay inside and apart.
#include <gtest/gtest.h>

#include "about/info_form.h"
#include "lang/lang_form.h"
#include "platform/sim/sim_system.h"
#include "tests/clean/run_harness.h"

namespace testing_app {
namespace {

using Lines = std::vector<std::string>;

// Every visible control lies inside the client area and no two overlap (group boxes aside).
void ExpectEveryControlInside(ui::Form& form, const std::string& where) {
  const ui::Size client = form.ClientSize();
  const std::vector<ui::Control*>& controls = form.Children();
  for (const ui::Control* control : controls) {
    const ui::Rect r = control->BoundsInForm();
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.width > 0 && r.height > 0 &&
                r.left + r.width <= client.width && r.top + r.height <= client.height)
        << where << ": " << control->Caption() << " leaves the window";
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const ui::Rect a = controls[i]->BoundsInForm();
      const ui::Rect b = controls[j]->BoundsInForm();
      const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                         a.top + a.height <= b.top || b.top + b.height <= a.top;
      EXPECT_TRUE(apart) << where << ": " << controls[i]->Caption() << " overlaps "
                         << controls[j]->Caption();
    }
  }
}

TEST(Dialogs, ReviewAndReportKeepEveryControlInsideAtEverySizeAndNoSmaller) {
  platform::sim::SimUi ui;
  ui::Application app(ui);
  lang::LanguageTexts texts;
  bool confirmed = false;
  clean::TFrmmarkfile review(app, confirmed, texts);
  clean::TFrmDelinfo report(app, texts);
  // The sizes a user reported the buttons hidden at, and more; smaller than the design size is
  // not given.
  const ui::Size sizes[] = {{520, 220}, {723, 501}, {775, 552}, {1600, 1200},
                            {300, 120}, {600, 100}, {100, 600}, {520, 220}};
  const std::pair<ui::Form*, ui::Size> forms[] = {
      {&review, {600, 360}}, {&review.Frmviewfiles, {600, 360}}, {&report, {520, 220}}};
  for (const auto& [form, smallest] : forms) {
    for (const ui::Size size : sizes) {
      form->Resized(size);
      const std::string where =
          form->Name() + " at " + std::to_string(size.width) + " x " + std::to_string(size.height);
      EXPECT_EQ(form->OuterSize().width, std::max(size.width, smallest.width)) << where;
      EXPECT_EQ(form->OuterSize().height, std::max(size.height, smallest.height)) << where;
      ExpectEveryControlInside(*form, where);
    }
  }
  // The list and the buttons end at the same distance from the right edge, the buttons under
  // the list with the total between.
  review.Resized({723, 501});
  const ui::Rect list = review.LVmarkfile.Bounds();
  EXPECT_EQ(list.left + list.width,
            review.Btncancel.Bounds().left + review.Btncancel.Bounds().width);
  EXPECT_GT(review.Btnnext.Bounds().top, review.Lbltotal.Bounds().top);
  EXPECT_GT(review.Lbltotal.Bounds().top, list.top + list.height);
}

// Escape leaves every dialog as its close box does: nothing reviewed is removed, nothing in the
// options is taken over, the language dialog picks English.
TEST(Dialogs, EscapeLeavesEveryDialogAsItsCloseBoxDoes) {
  RunHarness h;
  h.Patterns("*.tmp\r\n");
  h.Switches({settings::kReviewFirst});
  h.sim.AddFile("E:\\a.tmp", "1");
  h.ExpectReview([](clean::TFrmmarkfile& review) {
    review.Btnallmark.Click();
    review.KeyDown(review.LVmarkfile, ui::kKeyEscape);
    EXPECT_EQ(review.GetModalResult(), ui::ModalResult::kCancel);
  });
  RunReport report;
  h.Run([&](app::TFrmMain& main) {
    main.DCBdrive.UserChose(2);
    h.ui.QueueModal([](ui::Form& form) { form.KeyDown(form, ui::kKeyEscape); }, "TFrmDelinfo");
    main.BtnDelete.Click();
    h.ui.QueueModal(
        [](ui::Form& form) {
          auto& about = static_cast<about::TFrminfo&>(form);
          form.KeyDown(about.Lbtitle, ui::kKeyEscape);
          EXPECT_EQ(form.GetModalResult(), ui::ModalResult::kCancel);
        },
        "TFrminfo");
    main.Info1.Click();
    main.Close();
  });
  EXPECT_TRUE(h.sim.Exists("E:\\a.tmp"));
  EXPECT_EQ(h.ui.ModalHistory(), (Lines{"TFrmmarkfile", "TFrmDelinfo", "TFrminfo"}));

  AppHarness first;
  first.ui.QueueModal(
      [](ui::Form& form) {
        auto& dialog = static_cast<lang::TFrmlang&>(form);
        dialog.CbBlang.UserChose(1);  // Deutsch, but not taken with OK
        form.KeyDown(dialog.CbBlang, ui::kKeyEscape);
      },
      "TFrmlang");
  first.Run([](app::TFrmMain& main) {
    EXPECT_EQ(main.Settings.LanguageRecord.LanguageCode, "En");
    main.Close();
  });
}

}  // namespace
}  // namespace testing_app
