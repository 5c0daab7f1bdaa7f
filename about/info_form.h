// The about dialog: name, version, licence and three links; the same in every language.
#pragma once

#include "platform/system.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"

namespace about {

inline const ui::Font kTitleFont{"Arial", 19, true, {}};
inline const ui::Font kLinkFont{"Arial", 13, true, ui::Color::Rgb(0, 0, 255)};

class TFrminfo : public ui::Form {
 public:
  TFrminfo(ui::Application& app, platform::System& system);

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

 private:
  void OpenLink(const std::string& target);

  platform::System& system_;
};

extern TFrminfo* Frminfo;

}  // namespace about
