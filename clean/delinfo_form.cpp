#include "clean/delinfo_form.h"

namespace clean {

TFrmDelinfo* FrmDelinfo = nullptr;

TFrmDelinfo::TFrmDelinfo(ui::Application& app)
    : ui::Form(app),
      Lblsuccess(this, {10, 6, 495, 17}, "Der Vorgang wurde erfolgreich durchgef\xC3\xBChrt"),
      Lblfiledel(this, {8, 36, 497, 13}, "Folgende Dateien wurden gel\xC3\xB6scht:"),
      LBdelinfo(this, {8, 56, 497, 97}),
      Lblvalue(this, {12, 156, 400, 13}),
      BBtnClose(this, {428, 163, 75, 25},
                "&Schlie\xC3\x9F"
                "en",
                ui::Button::ButtonKind::kClose) {
  SetName("TFrmDelinfo");
  SetCaption("Gel\xC3\xB6schte Dateien");
  SetBorder(Border::kSizeable);
  SetOuterSize({520, 220});
  SetPosition(Position::kMainFormCenter);
  Lblsuccess.SetTextFont(kOutcomeFont);
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  OnCanResize = [this](int& width, int& height, bool& allow) {
    FormCanResize(width, height, allow);
  };
  Realize();
}

void TFrmDelinfo::FormClose(ui::CloseAction&) {
  LBdelinfo.Clear();
  LBdelinfo.SetHorizontalExtent(0);
}

void TFrmDelinfo::FormCanResize(int& width, int& height, bool& allow) {
  LBdelinfo.SetWidth(width - LBdelinfo.Bounds().left - 15);
  LBdelinfo.SetHeight(height - 123);
  BBtnClose.SetLeft(width - 92);
  const int listBottom = LBdelinfo.Bounds().top + LBdelinfo.Bounds().height;
  BBtnClose.SetTop(listBottom + 8);
  Lblvalue.SetTop(listBottom + 3);
  allow = true;
}

}  // namespace clean
