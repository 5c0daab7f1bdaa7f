// The about dialog: name, version, licence and three links; the same in every language.
#pragma once

#include "lang/language_texts.h"
#include "platform/system.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"

namespace about {

inline const ui::Font kTitleFont{"Arial", 19, true, {}};
inline const ui::Font kLinkFont{"Arial", 13, true, ui::Color::Rgb(0, 0, 255)};

class TFrminfo : public ui::Form {
 public:
  // `texts` is the main window's table, read at the moment of use.
  TFrminfo(ui::Application& app, platform::System& system, const lang::LanguageTexts& texts);

  ui::Label Lbtitle;
  ui::Label Lbversion;
  ui::Label Lblicence;
  ui::Label Lbhomepage;
  ui::Label LblSupport;
  ui::Label LblForum;
  ui::Label LblEMail;
  ui::Label Lbemail;
  ui::Button BBtnClose;

  void LbhomepageClick();
  void LblForumClick();
  void LbemailClick();
  void LbhomepageMouseMove();
  void LblForumMouseMove();
  void LbemailMouseMove();
  void FormMouseMove();
  // Shows the dialog with the licence line and the close button in the chosen language; the
  // name, version and addresses read the same in every one.
  void ShowAbout();

 private:
  void OpenLink(const std::string& target);

  platform::System& system_;
  const lang::LanguageTexts& texts_;
};

extern TFrminfo* Frminfo;

}  // namespace about
