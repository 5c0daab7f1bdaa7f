// A whole Dustorix on the sim: a machine with a C: drive, the program's folder with its data
// folder, synthetic language files (line n of "De" reads "De:<n-1>") and a headless ui. The
// program runs against `faults`, which passes every call on to `sim` until a test sets a failure.
#pragma once

#include <string>

#include "app/instance.h"
#include "app/main_form.h"
#include "lang/language_texts.h"
#include "lang/quantities.h"
#include "platform/sim/fault_injection.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_ui.h"

namespace testing_app {

inline constexpr const char* kHome = "C:\\Dustorix";

using lang::Text;

// What the synthetic language file of `code` holds for `text`.
inline std::string Synthetic(const std::string& code, lang::Text text) {
  return code + ":" + std::to_string(static_cast<int>(text));
}
inline std::string En(lang::Text text) {
  return Synthetic("En", text);
}
// The whole synthetic English table.
inline lang::LanguageTexts EnTexts() {
  lang::LanguageTexts texts;
  for (int i = 0; i < lang::kLanguageTextCount; ++i)
    texts[static_cast<lang::Text>(i)] = En(static_cast<lang::Text>(i));
  texts.SetCode("En");
  return texts;
}
// A step's report line in the synthetic English, with the files it removed and their size.
inline std::string En(lang::Text line, std::uint64_t files, std::uint64_t bytes) {
  return En(line) + ": " + lang::FilesAndSize(files, bytes, EnTexts());
}

class AppHarness {
 public:
  AppHarness() {
    sim.AddDrive('C', platform::DriveType::kFixed, "System");
    sim.AddDrive('D', platform::DriveType::kCdRom);
    sim.AddFolder("C:\\Dustorix\\data\\lang");
    sim.AddFolder("C:\\Dustorix\\data\\standard");
    sim.SetCurrentDirectory(kHome);
    sim.SetProgramFolder(kHome);
    sim.SetAdministrator(true);
    for (const char* code : {"De", "En", "Gr"})
      WriteLanguage(code, lang::kLanguageTextCount);
    sim.onBroadcast = [this](std::uint32_t message) { ui.PostMessage({message, 0, 0}); };
  }

  // A language file of `lines` lines, each text reading Synthetic(code, text).
  void WriteLanguage(const std::string& code, int lines) {
    std::string bytes;
    for (int i = 0; i < lines; ++i)
      bytes += Synthetic(code, static_cast<lang::Text>(i)) + "\r\n";
    sim.AddFile("data\\lang\\" + code + ".dat", bytes);
  }
  void WriteRecord(const std::string& bytes) { sim.AddFile("data\\lang\\whichlang.dat", bytes); }
  std::string Record() { return sim.Content("data\\lang\\whichlang.dat").value_or("<none>"); }

  // Runs the program; `mainLoop` is what the user does while the main window is open.
  int Run(std::function<void(app::TFrmMain& main)> mainLoop) {
    ui.SetMainLoop([mainLoop](ui::Form& form) { mainLoop(static_cast<app::TFrmMain&>(form)); });
    return app::RunDustorix(faults, ui);
  }

  platform::sim::SimSystem sim;
  platform::sim::FaultInjector faults{sim};
  platform::sim::SimUi ui;
};

}  // namespace testing_app
