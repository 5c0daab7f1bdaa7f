#include "about/info_form.h"

#include "about/links.h"

namespace about {

TFrminfo* Frminfo = nullptr;

namespace {
const ui::Color kBlue = kLinkFont.color;
const ui::Color kRed = ui::Color::Rgb(255, 0, 0);
}  // namespace

TFrminfo::TFrminfo(ui::Application& app, platform::System& system, const lang::LanguageTexts& texts)
    : ui::Form(app),
      // Every label is a tenth wider than its text, so that a slightly wider font still fits.
      Lbtitle(this, {8, 8, 132, 22}, "Dustorix"),
      Lbversion(this, {188, 16, 100, 13}, std::string("Version ") + kVersion),
      Lblicence(this, {8, 38, 280, 13}, lang::DesignText(lang::Text::kLicence)),
      Lbhomepage(this, {60, 62, 228, 16}, kHomePage),
      LblSupport(this, {8, 88, 50, 13}, "Support:"),
      LblForum(this, {60, 86, 228, 16}, kForum),
      LblEMail(this, {18, 114, 40, 13}, "EMail:"),
      Lbemail(this, {60, 112, 228, 16}, kEMail),
      BBtnClose(this, {212, 140, 75, 25},
                "&Schlie\xC3\x9F"
                "en",
                ui::Button::ButtonKind::kClose),
      system_(system),
      texts_(texts) {
  SetName("TFrminfo");
  SetCaption("Info");
  SetClientSize({296, 172});
  SetBorder(Border::kDialog);
  SetPosition(Position::kMainFormCenter);
  Lbtitle.SetTextFont(kTitleFont);
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

void TFrminfo::ShowAbout() {
  Lblicence.SetCaption(texts_[lang::Text::kLicence]);
  BBtnClose.SetCaption(texts_[lang::Text::kClose]);
  ShowModal();
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
