// A whole Dustorix on the sim: a machine with a C: drive, the program's folder with its data
// folder, synthetic language files ("De:0" ... "De:93") and a headless ui.
#pragma once

#include <string>

#include "app/instance.h"
#include "app/main_form.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_ui.h"

namespace testing_app {

inline constexpr const char* kHome = "C:\\Dustorix";

class AppHarness {
 public:
  AppHarness() {
    sim.AddDrive('C', platform::DriveType::kFixed, "System");
    sim.AddDrive('D', platform::DriveType::kCdRom);
    sim.AddFolder("C:\\Dustorix\\data\\lang");
    sim.AddFolder("C:\\Dustorix\\data\\standard");
    sim.SetCurrentDirectory(kHome);
    sim.SetAdministrator(true);
    for (const char* code : {"De", "En", "Gr"})
      WriteLanguage(code, lang::kLanguageTextCount);
    sim.onBroadcast = [this](std::uint32_t message) { ui.PostMessage({message, 0, 0}); };
  }

  // A language file of `lines` lines, line n reading "<code>:<n-1>".
  void WriteLanguage(const std::string& code, int lines) {
    std::string bytes;
    for (int i = 0; i < lines; ++i)
      bytes += code + ":" + std::to_string(i) + "\r\n";
    sim.AddFile("data\\lang\\" + code + ".dat", bytes);
  }
  void WriteRecord(const std::string& bytes) { sim.AddFile("data\\lang\\whichlang.dat", bytes); }
  std::string Record() { return sim.Content("data\\lang\\whichlang.dat").value_or("<none>"); }

  // Runs the program; `mainLoop` is what the user does while the main window is open.
  int Run(std::function<void(app::TFrmMain& main)> mainLoop) {
    ui.SetMainLoop([mainLoop](ui::Form& form) { mainLoop(static_cast<app::TFrmMain&>(form)); });
    return app::RunDustorix(sim, ui);
  }

  platform::sim::SimSystem sim;
  platform::sim::SimUi ui;
};

}  // namespace testing_app
