#include "about/info_form.h"

#include <gtest/gtest.h>

#include "about/links.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_ui.h"
#include "tests/app/app_harness.h"

namespace about {
namespace {

using Lines = std::vector<std::string>;
const ui::Color kBlue = ui::Color::Rgb(0, 0, 255);
const ui::Color kRed = ui::Color::Rgb(255, 0, 0);

class InfoFormTest : public ::testing::Test {
 protected:
  std::vector<ui::Color> LinkColours() const {
    return {form.Lbhomepage.TextFont().color, form.LblForum.TextFont().color,
            form.Lbemail.TextFont().color};
  }

  platform::sim::SimSystem sim;
  platform::sim::SimUi ui;
  ui::Application app{ui};
  lang::LanguageTexts texts;
  TFrminfo form{app, sim, texts};
};

TEST_F(InfoFormTest, EachLinkOpensItsAddressUnderTheReservedDomain) {
  form.Lbhomepage.Click();
  form.LblForum.Click();
  form.Lbemail.Click();
  EXPECT_EQ(sim.ShellOpened(),
            (Lines{"https://dustorix.example/", "https://forum.dustorix.example/",
                   "mailto:support@dustorix.example"}));
  // The links show the addresses they open, kept in one place.
  EXPECT_EQ(form.Lbhomepage.Caption(), kHomePage);
  EXPECT_EQ(form.LblForum.Caption(), kForum);
  EXPECT_EQ(form.Lbemail.Caption(), kEMail);
  for (ui::Label* plain : {&form.Lbtitle, &form.Lbversion, &form.Lblicence, &form.LblSupport}) {
    plain->Click();
    EXPECT_EQ(plain->GetCursor(), ui::Cursor::kDefault);
  }
  EXPECT_EQ(sim.ShellOpened().size(), 3u) << "only the links open something";
}

TEST_F(InfoFormTest, ALinkTurnsRedUnderTheMouseAndBlueAgainOnlyOverFreeBackground) {
  for (ui::Label* link : {&form.Lbhomepage, &form.LblForum, &form.Lbemail}) {
    EXPECT_EQ(link->GetCursor(), ui::Cursor::kHand);
    EXPECT_TRUE(link->TextFont().bold);
  }
  EXPECT_EQ(LinkColours(), (std::vector<ui::Color>{kBlue, kBlue, kBlue}));

  form.Lbhomepage.MouseMoved();
  EXPECT_EQ(LinkColours(), (std::vector<ui::Color>{kRed, kBlue, kBlue}));
  // Other labels and the button are no free background: the link stays red.
  form.LblSupport.MouseMoved();
  form.Lblicence.MouseMoved();
  form.BBtnClose.MouseMoved();
  EXPECT_EQ(LinkColours(), (std::vector<ui::Color>{kRed, kBlue, kBlue}));
  form.Lbemail.MouseMoved();
  EXPECT_EQ(LinkColours(), (std::vector<ui::Color>{kRed, kBlue, kRed}));

  form.MouseMoved();
  EXPECT_EQ(LinkColours(), (std::vector<ui::Color>{kBlue, kBlue, kBlue}));
  form.LblForum.MouseMoved();
  EXPECT_EQ(LinkColours(), (std::vector<ui::Color>{kBlue, kRed, kBlue}));
}

// The captions of the dialog as the program shows it from its Help menu.
Lines ShownTexts(const std::string& languageCode) {
  testing_app::AppHarness h;
  h.WriteRecord(std::string(1, '\x02') + languageCode + '\x01');
  Lines texts;
  h.Run([&](app::TFrmMain& main) {
    h.ui.QueueModal(
        [&](ui::Form& shown) {
          texts.push_back(shown.Caption());
          for (const ui::Control* control : shown.Children())
            texts.push_back(control->Caption());
          shown.Close();
        },
        "TFrminfo");
    main.Info1.Click();
    main.Close();
  });
  return texts;
}

// Name, version and addresses read the same in every language; the licence line and the close
// button speak the chosen one.
TEST(InfoFormInTheProgram, ShowsItsNameAndAddressesAsTheyAreAndTheRestInTheChosenLanguage) {
  for (const std::string code : {"De", "En", "Gr"}) {
    const Lines expected = {"Info",
                            "Dustorix",
                            "Version 1.2.3",
                            testing_app::Synthetic(code, lang::Text::kLicence),
                            "https://dustorix.example/",
                            "Support:",
                            "https://forum.dustorix.example/",
                            "EMail:",
                            "support@dustorix.example",
                            testing_app::Synthetic(code, lang::Text::kClose)};
    EXPECT_EQ(ShownTexts(code), expected) << code;
  }
}

}  // namespace
}  // namespace about
