// The rules engine on the sim: a Windows 10 machine with its shell folders where Windows puts
// them, the user "tester", and a run without a window to run entries in.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "cleaners/entry_run.h"
#include "cleaners/rule_file.h"
#include "platform/sim/fault_injection.h"
#include "platform/sim/sim_system.h"
#include "tests/clean/test_run.h"

namespace testing_cleaners {

inline const std::string kProfile = "C:\\Users\\tester";
inline const std::string kRoaming = kProfile + "\\AppData\\Roaming";
inline const std::string kLocal = kProfile + "\\AppData\\Local";
inline const std::string kLocalLow = kProfile + "\\AppData\\LocalLow";

// Drives C: and D:, the shell folders, the temporary folder in Local, and the program in
// C:\Dustorix, also its current folder.
inline void SeedWindows(platform::sim::SimSystem& sim) {
  namespace csidl = platform::csidl;
  sim.AddDrive('C', platform::DriveType::kFixed);
  sim.AddDrive('D', platform::DriveType::kFixed);
  sim.SetWindowsFolder("C:\\Windows");
  const std::pair<int, std::string> folders[] = {
      {csidl::kWindows, "C:\\Windows"},
      {csidl::kSystem, "C:\\Windows\\System32"},
      {csidl::kSystemX86, "C:\\Windows\\SysWOW64"},
      {csidl::kProgramFiles, "C:\\Program Files"},
      {csidl::kProgramFilesX86, "C:\\Program Files (x86)"},
      {csidl::kCommonProgramFiles, "C:\\Program Files\\Common Files"},
      {csidl::kCommonProgramFilesX86, "C:\\Program Files (x86)\\Common Files"},
      {csidl::kCommonAppData, "C:\\ProgramData"},
      {csidl::kProfile, kProfile},
      {csidl::kAppData, kRoaming},
      {csidl::kLocalAppData, kLocal},
      {csidl::kDesktop, kProfile + "\\Desktop"},
      {csidl::kDocuments, kProfile + "\\Documents"},
      {csidl::kPictures, kProfile + "\\Pictures"},
      {csidl::kMusic, kProfile + "\\Music"},
      {csidl::kVideos, kProfile + "\\Videos"},
      {csidl::kCommonDocuments, "C:\\Users\\Public\\Documents"},
      {csidl::kDownloads, kProfile + "\\Downloads"},
      {csidl::kLocalAppDataLow, kLocalLow},
      {csidl::kPublic, "C:\\Users\\Public"},
      {csidl::kUserProfiles, "C:\\Users"},
  };
  for (const auto& [id, path] : folders) {
    sim.AddFolder(path);
    sim.SetSpecialFolder(id, path);
  }
  sim.AddFolder(kLocal + "\\Temp");
  sim.SetTempFolder(kLocal + "\\Temp\\");
  sim.SetEnvironmentVariable("TMP", kLocal + "\\Temp");
  sim.SetEnvironmentVariable("USERNAME", std::string("tester"));
  sim.SetProgramFolder("C:\\Dustorix");
  sim.AddFolder("C:\\Dustorix\\data");
  sim.SetCurrentDirectory("C:\\Dustorix");
}

class RulesTest : public ::testing::Test {
 protected:
  RulesTest() { SeedWindows(sim); }

  // The first entry of a rule file that holds `keys` below a section.
  static cleaners::Entry Rule(std::string_view keys) {
    cleaners::RuleFile file = cleaners::ParseRuleFile("[Test *]\n" + std::string(keys), "t.ini");
    EXPECT_EQ(file.entries.size(), 1u);
    return file.entries.empty() ? cleaners::Entry() : file.entries.front();
  }

  // Runs the entry with the places of the sim as it is now.
  cleaners::EntryOutcome Run(const cleaners::Entry& entry) {
    const cleaners::Places places(faults);
    return cleaners::RunEntry(entry, places, run);
  }

  void File(const std::string& path, std::size_t size = 1, std::uint32_t attributes = 0) {
    sim.AddFile(path, std::string(size, 'x'), attributes);
  }

  platform::sim::SimSystem sim;
  platform::sim::FaultInjector faults{sim};
  testing_clean::TestRun test{faults};
  clean::RunState& state = test.state;
  cleanups::RunContext& run = test.run;
};

}  // namespace testing_cleaners
