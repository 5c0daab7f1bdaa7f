#include <memory>

#include "about/info_form.h"
#include "app/command_line.h"
#include "app/data_folder.h"
#include "app/instance.h"
#include "app/main_form.h"
#include "clean/delinfo_form.h"
#include "clean/markfile_form.h"
#include "platform/ui/application.h"
#include "settings/applications_form.h"
#include "settings/inputbox_form.h"
#include "settings/option_form.h"

namespace app {

std::uint32_t InstanceMessage = 0;

namespace {

// MB_OK with MB_ICONERROR.
constexpr unsigned kErrorBoxStyle = 0x10;

// Points a process-wide form variable at its form for as long as the form lives.
template <typename Form>
class Published {
 public:
  Published(Form*& variable, std::unique_ptr<Form> form)
      : variable_(variable), form_(std::move(form)) {
    variable_ = form_.get();
  }
  ~Published() { variable_ = nullptr; }
  Form& operator*() const { return *form_; }

 private:
  Form*& variable_;
  std::unique_ptr<Form> form_;
};

}  // namespace

int RunDustorix(platform::System& machine, ui::Backend& backend) {
  InstanceMessage = machine.RegisterWindowMessage(InstanceName);
  bool anotherInstance = false;
  std::unique_ptr<platform::NamedSemaphore> InstanceSemaphore =
      machine.CreateNamedSemaphore(InstanceName, anotherInstance);
  if (anotherInstance) {
    machine.BroadcastMessage(InstanceMessage);
    return 0;
  }
  const DataFolder data = FindDataFolder(machine, true);
  if (data.place == DataPlace::kNone) {
    // No language is known yet: the message says it in English and German.
    backend.MessageBox(nullptr, NoDataFolderMessage(machine), "Dustorix", kErrorBoxStyle, 0);
    return kExitSettingsUnreadable;
  }
  DataFolderSystem system(machine, data.path);

  ui::Application application(backend);
  application.SetTitle("Dustorix");
  // In this order: creating the main window reads the settings and the language texts that
  // the options dialog takes when it is created.
  Published mainForm(FrmMain, std::make_unique<TFrmMain>(application, system));
  Published info(about::Frminfo,
                 std::make_unique<about::TFrminfo>(application, system, (*mainForm).LanguageTexts));
  Published options(settings::Frmoption,
                    std::make_unique<settings::TFrmoption>(application, (*mainForm).LanguageTexts));
  (*options).UseSystem(system);
  Published applications(settings::Frmapplications, std::make_unique<settings::TFrmapplications>(
                                                        application, (*mainForm).LanguageTexts));
  (*options).OnApplications = [&mainForm = *mainForm] { mainForm.Anwendungen1Click(); };
  Published report(clean::FrmDelinfo,
                   std::make_unique<clean::TFrmDelinfo>(application, (*mainForm).LanguageTexts));
  Published input(settings::FrmInputBox, std::make_unique<settings::TFrmInputBox>(application));
  Published review(clean::Frmmarkfile,
                   std::make_unique<clean::TFrmmarkfile>(application, (*mainForm).ReviewConfirmed,
                                                         (*mainForm).LanguageTexts));
  application.Run(*mainForm);
  return 0;
}

}  // namespace app
