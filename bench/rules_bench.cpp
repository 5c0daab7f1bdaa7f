// dustorix_rules_bench: times reading every rule file of a cleaners folder and detecting every
// entry on this computer, the work of opening the applications' list.
//
//   dustorix_rules_bench [--backend sim|win32] [--rules FILE] [--data DIR] [--repeat N]
//
// On the real backend the rule files are those of data\cleaners in the current folder (what the
// program reads). On the sim the project's own file (--data, "data") and the --rules file are put
// into the cleaners folder of a Windows 10 machine with a few hundred installed applications, none
// of them named in the rules: each entry tries every one of its detect keys.
//
// Figures are printed, never judged.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/backend.h"
#include "bench/counting_system.h"
#include "cleaners/catalog.h"
#include "cleaners/places.h"
#include "platform/sim/sim_system.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  std::string backend = bench::DefaultBackendName();
  std::string rules;
  std::string data = "data";
  int repeat = 5;
};

[[noreturn]] void Usage(const std::string& problem) {
  std::fprintf(stderr,
               "dustorix_rules_bench: %s\nusage: dustorix_rules_bench [--backend sim|win32] "
               "[--rules FILE] [--data DIR] [--repeat N]\n",
               problem.c_str());
  std::exit(2);
}

Options Parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    const std::string value = argv[i + 1];
    if (flag == "--backend") {
      options.backend = value;
    } else if (flag == "--rules") {
      options.rules = value;
    } else if (flag == "--data") {
      options.data = value;
    } else if (flag == "--repeat") {
      options.repeat = std::max(1, std::atoi(value.c_str()));
    } else {
      Usage("unknown option " + flag);
    }
  }
  if (argc % 2 == 0) Usage("no value after " + std::string(argv[argc - 1]));
  return options;
}

std::string HostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Usage("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Numbered(const char* stem, int n) {
  char name[32];
  std::snprintf(name, sizeof name, "%s %04d", stem, n);
  return name;
}

// A Windows 10 machine with its shell folders and the folders and keys of the applications a
// busy computer has, and the rule files in C:\Dustorix\data\cleaners.
void SeedSim(platform::sim::SimSystem& sim, const Options& options) {
  namespace csidl = platform::csidl;
  sim.AddDrive('C', platform::DriveType::kFixed);
  sim.SetWindowsFolder("C:\\Windows");
  const std::string profile = "C:\\Users\\bench";
  const std::pair<int, std::string> folders[] = {
      {csidl::kProgramFiles, "C:\\Program Files"},
      {csidl::kProgramFilesX86, "C:\\Program Files (x86)"},
      {csidl::kCommonProgramFiles, "C:\\Program Files\\Common Files"},
      {csidl::kCommonProgramFilesX86, "C:\\Program Files (x86)\\Common Files"},
      {csidl::kCommonAppData, "C:\\ProgramData"},
      {csidl::kProfile, profile},
      {csidl::kAppData, profile + "\\AppData\\Roaming"},
      {csidl::kLocalAppData, profile + "\\AppData\\Local"},
      {csidl::kDocuments, profile + "\\Documents"},
  };
  for (const auto& [id, path] : folders) {
    sim.AddFolder(path);
    sim.SetSpecialFolder(id, path);
    for (int n = 0; n < 150; ++n)
      sim.AddFile(path + "\\" + Numbered("Application", n) + "\\settings.dat", "x");
  }
  sim.SetSpecialFolder(csidl::kPublic, "C:\\Users\\Public");
  sim.SetTempFolder(profile + "\\AppData\\Local\\Temp\\");
  for (int n = 0; n < 300; ++n) {
    for (platform::RegistryRoot root :
         {platform::RegistryRoot::kCurrentUser, platform::RegistryRoot::kLocalMachine}) {
      sim.AddRegistryKey(root, "Software\\" + Numbered("Vendor", n));
    }
  }
  sim.AddFile("C:\\Dustorix\\data\\cleaners\\dustorix.ini",
              HostFile(options.data + "/cleaners/dustorix.ini"));
  if (!options.rules.empty()) {
    const std::string name = options.rules.substr(options.rules.find_last_of("/\\") + 1);
    sim.AddFile("C:\\Dustorix\\data\\cleaners\\" + name, HostFile(options.rules));
  }
  sim.SetCurrentDirectory("C:\\Dustorix");
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  platform::sim::SimSystem sim;
  std::unique_ptr<bench::Backend> backend;
  platform::System* machine = &sim;
  if (options.backend == "sim") {
    SeedSim(sim, options);
  } else {
    backend = bench::MakeBackend(options.backend);
    if (!backend) Usage("this build has no backend " + options.backend);
    machine = &backend->System();
  }
  bench::CountingSystem system(*machine);

  std::vector<double> loads;
  std::vector<double> totals;
  std::size_t entries = 0;
  std::size_t applicable = 0;
  std::size_t files = 0;
  for (int round = 0; round < options.repeat; ++round) {
    system.ResetCounts();
    const Clock::time_point start = Clock::now();
    const cleaners::Catalog catalog = cleaners::Catalog::Load(system);
    const Clock::time_point loaded = Clock::now();
    const cleaners::Places places(system);
    cleaners::Detector detector(system, places);
    applicable = 0;
    for (const cleaners::Entry& entry : catalog.Entries())
      applicable += detector.Applies(entry);
    const Clock::time_point done = Clock::now();
    loads.push_back(std::chrono::duration<double, std::milli>(loaded - start).count());
    totals.push_back(std::chrono::duration<double, std::milli>(done - start).count());
    entries = catalog.Entries().size();
    files = catalog.Files().size();
  }
  std::printf("rules on %s: %zu rule files, %zu entries, %zu apply to this computer\n",
              options.backend.c_str(), files, entries, applicable);
  std::printf(
      "  read and detect: best %.1f ms, median %.1f ms (reading alone: median %.1f ms) "
      "over %d rounds; %llu listings, %llu look-ups a round\n",
      *std::min_element(totals.begin(), totals.end()), Median(totals), Median(loads),
      options.repeat, static_cast<unsigned long long>(system.Listings()),
      static_cast<unsigned long long>(system.LookUps()));
  return entries > 0 ? 0 : 1;
}
