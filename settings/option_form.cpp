#include "settings/option_form.h"

#include "platform/ui/application.h"

namespace settings {

TFrmoption* Frmoption = nullptr;

namespace {
using BK = ui::Button::ButtonKind;
constexpr int kBoxHeight = 17;
constexpr int kRowStep = 19;
constexpr int kColumnLeft[2] = {10, 222};

// The advanced check boxes stand in two columns of six, read top to bottom.
ui::Rect AdvancedBox(int row) {
  return {kColumnLeft[row / 6], 20 + (row % 6) * kRowStep, 204, kBoxHeight};
}
}  // namespace

TFrmoption::TFrmoption(ui::Application& app, const lang::LanguageTexts& texts)
    : ui::Form(app),
      GBfileend(this, {8, 6, 214, 162}, "Dateiendungen"),
      LBfileend(&GBfileend, {8, 18, 198, 106}),
      Btnaddfileend(&GBfileend, {8, 130, 95, 25}, "Hinzuf\xC3\xBCgen"),
      Btndeletefileend(&GBfileend, {111, 130, 95, 25}, "Entfernen"),
      GBexception(this, {230, 6, 214, 162}, "Ausnahmen"),
      LBexception(&GBexception, {8, 18, 198, 106}),
      Btnaddexception(&GBexception, {8, 130, 95, 25}, "Hinzuf\xC3\xBCgen"),
      Btndeleteexception(&GBexception, {111, 130, 95, 25}, "Entfernen"),
      CBsecuritypaper(this, {10, 176, 434, kBoxHeight}, "In den Papierkorb verschieben"),
      CBquestion(this, {10, 196, 434, kBoxHeight}, "Nachfragen bevor gel\xC3\xB6scht wird"),
      GBadvancedoption(this, {8, 220, 436, 140}, "Weitere Optionen"),
      CBtemp(&GBadvancedoption, AdvancedBox(0), "Tempverzeichnis"),
      CBRecent(&GBadvancedoption, AdvancedBox(1), "Recentordner"),
      CBpaper(&GBadvancedoption, AdvancedBox(2), "Papierkorb leeren"),
      CBtempIEfile(&GBadvancedoption, AdvancedBox(3), "temp. Internetdateien"),
      CBcookie(&GBadvancedoption, AdvancedBox(4), "Cookies"),
      CBfavorite(&GBadvancedoption, AdvancedBox(5), "Favoriten"),
      CBevent(&GBadvancedoption, AdvancedBox(6), "Verlauf leeren"),
      CBnullfile(&GBadvancedoption, AdvancedBox(7), "0-Byte-Dateien"),
      CBExecute(&GBadvancedoption, AdvancedBox(8), "Liste Ausf\xC3\xBChren"),
      CBoldupdatefile(&GBadvancedoption, AdvancedBox(9), "alte Update-Dateien"),
      CBsystemlog(&GBadvancedoption, AdvancedBox(10), "Systemprotokoll"),
      CBdll(&GBadvancedoption, AdvancedBox(11), "unn\xC3\xBCtze DLL"),
      BBtnok(this, {206, 370, 75, 25}, "OK", BK::kOk),
      BBtnabort(this, {287, 370, 75, 25}, "Abbrechen", BK::kAbort),
      Btnstandard(this, {368, 370, 76, 25}, "Standard"),
      SBoption(this, {50}),
      texts_(texts) {
  SetName("TFrmoption");
  SetCaption("Optionen");
  SetClientSize({452, 440});
  SetBorder(Border::kDialog);
  SetPosition(Position::kMainFormCenter);
  for (ui::ListBox* list : {&LBfileend, &LBexception}) {
    list->SetMultiSelect(true);
    list->SetSorted(true);
  }
  FormCreate();
  Realize();
}

TFrmoption::~TFrmoption() {
  App().OnHint = nullptr;
}

void TFrmoption::Open(Settings&, bool, std::uint16_t) {
  ShowModal();
}

void TFrmoption::FormCreate() {
  App().OnHint = [this] { ShowOptionHint(); };
  CheckBoxes = {&CBtemp,     &CBRecent,  &CBpaper,         &CBtempIEfile,    &CBcookie,
                &CBfavorite, &CBevent,   &CBnullfile,      &CBoldupdatefile, &CBsystemlog,
                &CBdll,      &CBExecute, &CBsecuritypaper, &CBquestion};
  ApplyOptionTexts();
}

void TFrmoption::ApplyOptionTexts() {
  const lang::LanguageTexts& t = texts_;
  SetCaption(t[6]);
  GBfileend.SetCaption(t[12]);
  Btnaddfileend.SetCaption(t[13]);
  Btndeletefileend.SetCaption(t[14]);
  GBexception.SetCaption(t[15]);
  Btnaddexception.SetCaption(t[13]);
  Btndeleteexception.SetCaption(t[14]);
  for (size_t k = 0; k <= kDll; ++k)
    CheckBoxes[k]->SetCaption(t[16 + k]);
  for (size_t k = 0; k <= kDll; ++k)
    CheckBoxes[k]->SetHint(t[27 + k]);
  BBtnok.SetCaption(t[38]);
  BBtnabort.SetCaption(t[39]);
  Btnstandard.SetCaption(t[40]);
  LBfileend.SetHint(t[41]);
  LBexception.SetHint(t[42]);
  CBExecute.SetCaption(t[70]);
  CBExecute.SetHint(t[71]);
  CBsecuritypaper.SetCaption(t[78]);
  CBsecuritypaper.SetHint(t[79]);
  CBquestion.SetCaption(t[81]);
  CBquestion.SetHint(t[82]);
  BBtnok.SetHint(t[90]);
  BBtnabort.SetHint(t[91]);
  Btnstandard.SetHint(t[92]);
}

void TFrmoption::ShowOptionHint() {
  SBoption.SetPanelText(0, "  " + App().Hint());
}

}  // namespace settings
