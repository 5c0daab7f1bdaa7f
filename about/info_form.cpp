#include "about/info_form.h"

#include "about/links.h"

namespace about {

TFrminfo* Frminfo = nullptr;

namespace {
const ui::Color kBlue = ui::Color::Rgb(0, 0, 255);
const ui::Color kRed = ui::Color::Rgb(255, 0, 0);
const ui::Font kLinkFont{"Arial", 13, true, kBlue};
}  // namespace

TFrminfo::TFrminfo(ui::Application& app, platform::System& system)
    : ui::Form(app),
      Lbtitle(this, {8, 8, 132, 22}, "Dustorix"),
      Lbversion(this, {188, 16, 0, 13}, std::string("Version ") + kVersion),
      Lblicence(this, {8, 38, 0, 13}, kLicence),
      Lbhomepage(this, {56, 62, 0, 16}, kHomePage),
      LblSupport(this, {8, 88, 0, 13}, "Support:"),
      LblForum(this, {56, 86, 0, 16}, kForum),
      LblEMail(this, {18, 114, 0, 13}, "EMail:"),
      Lbemail(this, {56, 112, 0, 16}, kEMail),
      BBtnClose(this, {188, 140, 75, 25},
                "&Schlie\xC3\x9F"
                "en",
                ui::Button::ButtonKind::kClose),
      system_(system) {
  SetName("TFrminfo");
  SetCaption("Info");
  SetClientSize({272, 172});
  SetBorder(Border::kDialog);
  SetPosition(Position::kMainFormCenter);
  Lbtitle.SetTextFont({"Arial", 19, true, {}});
  for (ui::Label* link : {&Lbhomepage, &LblForum, &Lbemail}) {
    link->SetTextFont(kLinkFont);
    link->SetCursor(ui::Cursor::kHand);
  }
  Lbhomepage.OnClick = [this] { LbhomepageClick(); };
  LblForum.OnClick = [this] { LblForumClick(); };
  Lbemail.OnClick = [this] { LbemailClick(); };
  Lbhomepage.OnMouseMove = [this] { LbhomepageMouseMove(); };
  LblForum.OnMouseMove = [this] { LblForumMouseMove(); };
  Lbemail.OnMouseMove = [this] { LbemailMouseMove(); };
  OnMouseMove = [this] { FormMouseMove(); };
  Realize();
}

void TFrminfo::OpenLink(const std::string& target) {
  system_.ShellOpen(target);
}

void TFrminfo::LbhomepageClick() {
  OpenLink(Lbhomepage.Caption());
}
void TFrminfo::LblForumClick() {
  OpenLink(LblForum.Caption());
}
void TFrminfo::LbemailClick() {
  OpenLink("mailto:" + Lbemail.Caption());
}

void TFrminfo::LbhomepageMouseMove() {
  Lbhomepage.SetFontColor(kRed);
}
void TFrminfo::LblForumMouseMove() {
  LblForum.SetFontColor(kRed);
}
void TFrminfo::LbemailMouseMove() {
  Lbemail.SetFontColor(kRed);
}

void TFrminfo::FormMouseMove() {
  for (ui::Label* link : {&Lbhomepage, &LblForum, &Lbemail})
    link->SetFontColor(kBlue);
}

}  // namespace about
