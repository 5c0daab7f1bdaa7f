// Runs clean runs on the sim the way a user does: press "Löschen", answer the review dialog,
// read the report.
#pragma once

#include <string>
#include <vector>

#include "clean/delinfo_form.h"
#include "clean/markfile_form.h"
#include "settings/settings_files.h"
#include "tests/app/app_harness.h"
#include "tests/platform/pe_image.h"

namespace testing_app {

inline constexpr const char* kDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
inline constexpr const char* kRunMru =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

// The places the special clean-ups empty, each with something in it: the Windows folder's temp,
// update, uninstall and download folders (and a log, a DLL and the update history there that
// must stay), the special folders but the recent documents, the old and a new browser's cache and
// cookies (and the new one's settings, which stay), the user's and the system's error reports and
// crash dumps, shader caches, a Run list entry, a shared DLL no longer used and one in use, a URL
// cache entry. The temp folder is left to the test.
inline void SeedCleanupPlaces(platform::sim::SimSystem& sim) {
  using platform::RegistryRoot;
  using platform::RegistryValue;
  sim.SetWindowsFolder("C:\\Windows");
  sim.AddFile("C:\\Windows\\Temp\\w.log", std::string(500, 'x'));
  sim.AddFile("C:\\Windows\\Windows Update Setup-Dateien\\setup.cab", std::string(700, 'x'));
  sim.AddFile("C:\\Windows\\$NtUninstallKB1$\\old.dll", std::string(800, 'x'));
  sim.AddFile("C:\\Windows\\system32\\WBEM\\Logs\\wmi.log", std::string(900, 'x'));
  sim.AddFile("C:\\Windows\\system32\\kernel.dll", std::string(10, 'x'));
  sim.AddFile("C:\\Windows\\SoftwareDistribution\\Download\\a1b2\\update.cab",
              std::string(600, 'x'));
  sim.AddFile("C:\\Windows\\SoftwareDistribution\\DataStore\\DataStore.edb", std::string(20, 'x'));
  sim.AddFile("C:\\Windows\\MEMORY.DMP", std::string(5000, 'x'));
  sim.AddFile("C:\\Windows\\Minidump\\010124-01.dmp", std::string(600, 'x'));
  sim.AddFile("C:\\Windows\\LiveKernelReports\\WATCHDOG\\WD-1.dmp", std::string(700, 'x'));
  // The profile and the folders around it, which the guard of every place knows.
  for (const auto& [csidl, path] : {std::pair{platform::csidl::kUserProfiles, "C:\\Users"},
                                    std::pair{platform::csidl::kProfile, "C:\\Users\\me"},
                                    std::pair{platform::csidl::kPublic, "C:\\Users\\All"}}) {
    sim.AddFolder(path);
    sim.SetSpecialFolder(csidl, path);
  }
  const std::pair<int, const char*> folders[] = {
      {0x06, "C:\\Users\\me\\Favorites"}, {0x1F, "C:\\Users\\All\\Favorites"},
      {0x20, "C:\\Users\\me\\INetCache"}, {0x21, "C:\\Users\\me\\Cookies"},
      {0x22, "C:\\Users\\me\\History"},   {0x1A, "C:\\Users\\me\\AppData"},
      {0x1C, "C:\\Users\\me\\Local"}};
  for (const auto& [csidl, path] : folders) {
    sim.SetSpecialFolder(csidl, path);
    sim.AddFile(std::string(path) + "\\item.dat", std::string(100, 'x'));
  }
  sim.AddFile("C:\\Users\\me\\AppData\\Opera\\Opera7\\profile\\cache4\\c.bin",
              std::string(50, 'x'));
  sim.AddFile("C:\\Users\\me\\AppData\\Opera\\Opera7\\profile\\cookies4.dat", std::string(60, 'x'));
  const std::string chrome = "C:\\Users\\me\\Local\\Google\\Chrome\\User Data\\Default\\";
  sim.AddFile(chrome + "Preferences", std::string(30, 'x'));
  sim.AddFile(chrome + "Cache\\Cache_Data\\f_000001", std::string(70, 'x'));
  sim.AddFile(chrome + "Network\\Cookies", std::string(80, 'x'));
  sim.SetSpecialFolder(0x23, "C:\\ProgramData");
  const std::string local = "C:\\Users\\me\\Local\\";
  sim.AddFile(local + "Microsoft\\Windows\\WER\\ReportQueue\\AppCrash_1\\Report.wer",
              std::string(200, 'x'));
  sim.AddFile(local + "CrashDumps\\app.exe.1234.dmp", std::string(300, 'x'));
  sim.AddFile("C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportArchive\\Kernel_1\\Report.wer",
              std::string(400, 'x'));
  sim.AddFile(local + "D3DSCache\\5f3e\\shader.idx", std::string(800, 'x'));
  sim.AddFile(local + "NVIDIA\\DXCache\\cache.bin", std::string(900, 'x'));
  sim.SetRegistryValue(RegistryRoot::kCurrentUser, kRunMru, "a", RegistryValue::FromText("cmd"));
  sim.AddFile("C:\\Program Files\\Old\\unused.dll", testing_world::PeImage(4000));
  sim.SetRegistryValue(RegistryRoot::kLocalMachine, kDlls, "C:\\Program Files\\Old\\unused.dll",
                       RegistryValue::FromDword(0));
  sim.SetRegistryValue(RegistryRoot::kLocalMachine, kDlls, "C:\\Windows\\system32\\kernel.dll",
                       RegistryValue::FromDword(3));
  sim.AddUrlCacheEntry("https://example.org/page");
}

struct RunReport {
  std::vector<std::string> lines;  // what the report list held
  std::string value;               // the freed-size label
  std::string headline;
  ui::Color headlineColor;
  std::string caption;
  bool shown = false;
};

// What the user does in the review dialog; by default nothing is reviewed.
using ReviewScript = std::function<void(clean::TFrmmarkfile& review)>;

inline ReviewScript MarkAllAndGoOn() {
  return [](clean::TFrmmarkfile& review) {
    review.Btnallmark.Click();
    review.Btnnext.Click();
  };
}

class RunHarness : public AppHarness {
 public:
  RunHarness() {
    WriteRecord(
        std::string("\x02"
                    "En\x01",
                    4));
    sim.AddDrive('E', platform::DriveType::kFixed, "Data");
  }

  void Switches(std::initializer_list<settings::Switch> on) {
    settings::Switches switches{};
    for (settings::Switch i : on)
      switches[i] = true;
    sim.AddFile("data\\advancedoption.dat", settings::FormatAdvancedOptions(switches));
  }
  void Patterns(const std::string& lines) { sim.AddFile("data\\fileformat.dat", lines); }
  void Exceptions(const std::string& lines) { sim.AddFile("data\\exception.dat", lines); }

  // Queues the report dialog's script; the report is read and the dialog closed.
  void ExpectReport(RunReport& into) {
    ui.QueueModal(
        [&into](ui::Form& form) {
          auto& report = static_cast<clean::TFrmDelinfo&>(form);
          into.shown = true;
          for (int i = 0; i < report.LBdelinfo.Count(); ++i) {
            into.lines.push_back(report.LBdelinfo.Item(i));
          }
          into.value = report.Lblvalue.Caption();
          into.headline = report.Lblsuccess.Caption();
          into.headlineColor = report.Lblsuccess.TextFont().color;
          into.caption = report.Caption();
          report.BBtnClose.Click();
        },
        "TFrmDelinfo");
  }

  void ExpectReview(ReviewScript script) {
    ui.QueueModal([script](ui::Form& form) { script(static_cast<clean::TFrmmarkfile&>(form)); },
                  "TFrmmarkfile");
  }

  // One clean run over the drive of `letter` (0: all drives) inside a whole program run.
  RunReport CleanOnce(char letter = 'E', ReviewScript review = nullptr,
                      std::function<void(app::TFrmMain&)> before = nullptr) {
    RunReport report;
    Run([&](app::TFrmMain& main) {
      if (before) before(main);
      if (letter != 0) {
        for (int i = 0; i < main.DCBdrive.Count(); ++i) {
          if (main.DriveLetterAt(i) == letter) main.DCBdrive.UserChose(i);
        }
        main.RBtndrive.Click();
      } else {
        main.RBtnalldrive.Click();
      }
      if (review) ExpectReview(review);
      ExpectReport(report);
      main.BtnDelete.Click();
      main.Close();
    });
    return report;
  }
};

}  // namespace testing_app
