// dustorix_bench: times the clean run's scan in review mode against the floor of the same backend
// (a bare walk that lists every folder once), on a seeded tree of folders and files.
//
//   dustorix_bench [--backend sim|win32] [--seed N] [--folders N] [--files N] [--depth N]
//                  [--repeat N] [--results N] [--presses N] [--removals N] [--cache N]
//                  [--data DIR]
//
// Then the removals, each against the floor of its backend (one listing per folder, DeleteFileW
// and RemoveDirectoryW, nothing else): a clean run deleting and one recycling --removals found
// files (10,000; 0 leaves the removals out), and EmptyFolder of a cache of --cache files in a
// hundredth as many folders (100,000).
//
// Figures are printed, never judged: timing is no pass/fail matter.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bench/backend.h"
#include "bench/counting_system.h"
#include "bench/counting_ui.h"
#include "bench/peak_memory.h"
#include "bench/tree.h"
#include "clean/clean_run.h"
#include "clean/delinfo_form.h"
#include "clean/run_view.h"
#include "clean/scan.h"
#include "cleanups/special_cleanups.h"
#include "lang/language_texts.h"
#include "platform/text_lines.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/list_box.h"
#include "platform/ui/status_bar.h"
#include "settings/list_file.h"

namespace {

using bench::Clock;
using Seconds = std::chrono::duration<double>;

// Eleven more patterns of the kind users add, for the twenty-pattern figure.
const std::vector<std::string> kMorePatterns = {"*.bak", "*.old", "*.wbk",    "*.xlk",
                                                "*._mp", "*.---", "*.err",    "*.syd",
                                                "*.prv", "~$*",   "thumbs.db"};

struct Options {
  std::string backend;
  bench::TreeShape shape;
  int repeat = 5;
  int results = 100000;
  int presses = 10;
  int removals = 10000;
  int cache = 100000;
  std::string data = "data";
};

[[noreturn]] void Usage(const char* problem) {
  std::fprintf(stderr,
               "dustorix_bench: %s\nusage: dustorix_bench [--backend sim|win32] [--seed N] "
               "[--folders N] [--files N] [--depth N] [--repeat N] [--results N] [--presses N] "
               "[--removals N] [--cache N] [--data DIR]\n",
               problem);
  std::exit(2);
}

Options Parse(int argc, char** argv) {
  Options options;
  options.backend = bench::DefaultBackendName();
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (i + 1 >= argc) Usage(("no value after " + flag).c_str());
    const std::string value = argv[++i];
    const auto number = [&] {
      char* end = nullptr;
      const long n = std::strtol(value.c_str(), &end, 10);
      if (*end != '\0' || n < 0) Usage(("not a count: " + value).c_str());
      return static_cast<int>(n);
    };
    if (flag == "--backend") {
      options.backend = value;
    } else if (flag == "--seed") {
      options.shape.seed = static_cast<std::uint32_t>(std::strtoul(value.c_str(), nullptr, 10));
    } else if (flag == "--folders") {
      options.shape.folders = number();
    } else if (flag == "--files") {
      options.shape.files = number();
    } else if (flag == "--depth") {
      options.shape.maxDepth = std::max(1, number());
    } else if (flag == "--repeat") {
      options.repeat = std::max(1, number());
    } else if (flag == "--results") {
      options.results = number();
    } else if (flag == "--presses") {
      options.presses = number();
    } else if (flag == "--removals") {
      options.removals = number();
    } else if (flag == "--cache") {
      options.cache = number();
    } else if (flag == "--data") {
      options.data = value;
    } else {
      Usage(("unknown option " + flag).c_str());
    }
  }
  return options;
}

std::vector<std::string> ReadList(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Usage(("cannot read " + path + " (give the data folder with --data)").c_str());
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return platform::SplitTextLines(bytes);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Best(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
}

double Mb(std::uint64_t bytes) {
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// The window a run happens in: the status bar the walk writes to, the report list, and a stop
// button that ends the walk as the main window's does.
class BenchForm : public ui::Form {
 public:
  BenchForm(ui::Application& app, clean::RunState& state)
      : ui::Form(app),
        report(this, {8, 8, 300, 120}),
        found(this, {8, 130, 300, 40}),
        stop(this, {316, 8, 75, 25}, "Stop"),
        status(this, {400}) {
    SetName("TDustorixBench");
    SetCaption("dustorix_bench");
    SetOuterSize({420, 220});
    stop.OnClick = [&state] { state.stop = true; };
    Realize();
  }
  ui::ListBox report;
  ui::ListBox found;  // the files a scan lists, one line each, as a list of finds costs
  ui::Button stop;
  ui::StatusBar status;
};

// The bench window as the run's view: the status bar the main window's run writes to, the report
// dialog (hidden until the run ends, as in the program), and the message loop.
class BenchView final : public clean::RunView {
 public:
  BenchView(ui::Application& app, BenchForm& form, clean::TFrmDelinfo& report)
      : app_(app), form_(form), report_(report) {}
  void ShowStatus(const std::string& text) override {
    form_.status.SetPanelText(0, text);
    form_.status.Repaint();
  }
  void AddReportLine(const std::string& line) override { report_.AddLine(line); }
  bool Review(clean::RemovalPlan&, bool) override { return false; }
  void ProcessMessages() override { app_.ProcessMessages(); }

 private:
  ui::Application& app_;
  BenchForm& form_;
  clean::TFrmDelinfo& report_;
};

struct ScanFigures {
  double seconds = 0;
  std::uint64_t listings = 0;
  std::uint64_t lookUps = 0;
  std::uint64_t messageChecks = 0;
  int reviewLines = 0;
};

class Bench {
 public:
  Bench(const Options& options, bench::Backend& backend)
      : options_(options),
        backend_(backend),
        system_(backend.System()),
        ui_(backend.Ui()),
        app_(ui_),
        form_(app_, state_),
        report_(app_, texts_),
        view_(app_, form_, report_),
        reviewList_(form_.found) {
    form_.Show();
  }

  int Run();

 private:
  ScanFigures Scan(const std::vector<std::string>& patterns, bool zeroBytePass, int stopAt = 0);
  double FloorSeconds(bench::WalkCount& count);
  double MessageCheckNanoseconds();
  double StatusUpdateMicroseconds();
  double ReviewLineMicroseconds(bool measureOnly);
  // An analysis of the tree's drive in review mode, as the button runs it; its report lines.
  double AnalysisSeconds(const std::vector<std::string>& patterns, int& reportLines);
  void StopLatency(const std::vector<std::string>& patterns, double scanSeconds);
  void ReviewListMemory();
  // The removals against their floors; each measurement gets a tree of its own.
  void Removals();
  double Timed(const std::function<void()>& work);
  std::string Fresh(const bench::Tree& tree, const std::string& name);

  const Options& options_;
  bench::Backend& backend_;
  bench::CountingSystem system_;
  bench::CountingUi ui_;
  ui::Application app_;
  clean::RunState state_;
  lang::LanguageTexts texts_;
  BenchForm form_;
  clean::TFrmDelinfo report_;
  BenchView view_;
  ui::ListBox& reviewList_;
  std::string root_;
  std::vector<std::string> exceptionsLower_;
  std::size_t entries_ = 0;

  // A run in review mode, as the scan and the analysis are timed.
  clean::RunSettings ReviewSettings(const std::vector<std::string>& patterns,
                                    bool zeroBytePass) const {
    clean::RunSettings settings;
    settings.FileEndingList = patterns;
    settings.ExceptionListLower = exceptionsLower_;
    settings.AdvancedOptions[settings::kReviewFirst] = true;
    settings.AdvancedOptions[settings::kZeroByteFiles] = zeroBytePass;
    return settings;
  }
};

ScanFigures Bench::Scan(const std::vector<std::string>& patterns, bool zeroBytePass, int stopAt) {
  ui::ListBox& list = reviewList_;
  list.Clear();
  list.SetHorizontalExtent(0);
  ui_.Drain();
  state_.stop = false;
  system_.ResetCounts();
  ui_.ResetCounts();

  const clean::RunSettings settings = ReviewSettings(patterns, zeroBytePass);
  clean::FileAction action = [&](const std::string& path, std::uint64_t) {
    ui::AddFitted(list, path);
    if (stopAt > 0 && list.Count() >= stopAt) state_.stop = true;
    return false;
  };

  ScanFigures figures;
  const Clock::time_point start = Clock::now();
  clean::CleanRun run(system_, view_, state_, settings, texts_);
  clean::Scanner scanner(run, settings, std::move(action));
  scanner.ScanFolder(root_);
  figures.seconds = Seconds(Clock::now() - start).count();
  figures.listings = system_.Listings();
  figures.lookUps = system_.LookUps();
  figures.messageChecks = ui_.MessageChecks();
  figures.reviewLines = list.Count();
  return figures;
}

double Bench::FloorSeconds(bench::WalkCount& count) {
  const Clock::time_point start = Clock::now();
  count = backend_.BareWalk(root_);
  return Seconds(Clock::now() - start).count();
}

// Calls with nothing pending, which is what nearly every call of a walk meets.
double Bench::MessageCheckNanoseconds() {
  ui_.Drain();
  std::uint64_t calls = 0;
  const Clock::time_point start = Clock::now();
  Clock::duration spent{};
  do {
    for (int i = 0; i < 1000; ++i)
      app_.ProcessMessages();
    calls += 1000;
    spent = Clock::now() - start;
  } while (spent < std::chrono::milliseconds(300));
  return std::chrono::duration<double, std::nano>(spent).count() / static_cast<double>(calls);
}

// What the walk does for a folder it enters, at most once per clean::kStatusInterval: the
// folder in the status bar, drawn at once.
double Bench::StatusUpdateMicroseconds() {
  constexpr int kUpdates = 200;
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < kUpdates; ++i) {
    form_.status.SetPanelText(0, root_ + "folder " + std::to_string(i));
    form_.status.Repaint();
  }
  const double micro = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  ui_.Drain();
  return micro / kUpdates;
}

// What review mode does for every file found: a line on the review list, whose width the
// list's scroll range is fitted to; with `measureOnly`, the width alone.
// The paths are the ones the last scan found (the list still holds them), since the cost grows
// with a path's length.
double Bench::ReviewLineMicroseconds(bool measureOnly) {
  ui::ListBox& list = reviewList_;
  std::vector<std::string> paths;
  for (int i = 0; i < list.Count(); ++i)
    paths.push_back(list.Item(i));
  for (int i = 0; paths.empty() && i < 1000; ++i)
    paths.push_back(root_ + "folder\\file " + std::to_string(i) + ".tmp");
  list.Clear();
  const Clock::time_point start = Clock::now();
  for (const std::string& path : paths) {
    if (measureOnly) {
      list.TextWidth(path);
    } else {
      ui::AddFitted(list, path);
    }
  }
  const double micro = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  return micro / static_cast<double>(paths.size());
}

double Bench::AnalysisSeconds(const std::vector<std::string>& patterns, int& reportLines) {
  ui_.Drain();
  const clean::RunSettings settings = ReviewSettings(patterns, true);
  const Clock::time_point start = Clock::now();
  clean::CleanRun run(system_, view_, state_, settings, texts_);
  run.Run({false, root_[0]}, clean::RunKind::kAnalysis);
  const double seconds = Seconds(Clock::now() - start).count();
  reportLines = report_.LBdelinfo.Count();
  report_.LBdelinfo.Clear();
  return seconds;
}

void Bench::StopLatency(const std::vector<std::string>& patterns, double scanSeconds) {
  std::vector<double> latencies;
  for (int k = 0; k < options_.presses; ++k) {
    // Spread over the walk, from its first twentieth to its last.
    const double share = options_.presses > 1 ? 0.05 + 0.9 * k / (options_.presses - 1) : 0.5;
    const auto delay = std::chrono::duration_cast<Clock::duration>(Seconds(scanSeconds * share));
    std::unique_ptr<bench::Press> press = backend_.PressLater(form_.stop, delay);
    if (!press) {
      std::printf(
          "stop latency: not measurable on %s (its ui takes no input from outside the "
          "walk); the Stop tests show a press at the n-th entry ends the walk there\n",
          backend_.Name().c_str());
      return;
    }
    Scan(patterns, true);
    const Clock::time_point ended = Clock::now();
    Clock::time_point pressedAt;
    const bool made = press->Finish(pressedAt);
    // A press that came after the walk must not stop the next one.
    ui_.Drain();
    if (made && state_.stop) {
      latencies.push_back(std::chrono::duration<double, std::milli>(ended - pressedAt).count());
    }
  }
  if (latencies.empty()) {
    std::printf("stop latency: no press landed inside a walk\n");
    return;
  }
  std::printf(
      "stop latency (press to walk returned), %zu presses spread over the walk: median "
      "%.2f ms, max %.2f ms   [target: within 50 ms]\n",
      latencies.size(), Median(latencies), *std::max_element(latencies.begin(), latencies.end()));
}

void Bench::ReviewListMemory() {
  const std::uint64_t before = bench::PeakMemoryBytes();
  const ScanFigures figures = Scan({"*"}, false, options_.results);
  const std::uint64_t after = bench::PeakMemoryBytes();
  std::printf(
      "review list: %d results listed (pattern *, stopped at %d) in %.3f s; peak memory "
      "%.1f MB before, %.1f MB after   [target: under 150 MB for 100,000 results]\n",
      figures.reviewLines, options_.results, figures.seconds, Mb(before), Mb(after));
  reviewList_.Clear();
}

double Bench::Timed(const std::function<void()>& work) {
  ui_.Drain();
  const Clock::time_point start = Clock::now();
  work();
  return Seconds(Clock::now() - start).count();
}

std::string Bench::Fresh(const bench::Tree& tree, const std::string& name) {
  const std::string root = backend_.Build(tree, name);
  if (root.empty()) {
    std::fprintf(stderr, "dustorix_bench: the tree %s could not be written\n", name.c_str());
    std::exit(1);
  }
  return root;
}

// Each removal writes its tree anew: a few rounds, not --repeat's many.
constexpr int kRemovalRounds = 3;

void Bench::Removals() {
  const int folders = std::max(1, options_.removals / 100);
  const bench::Tree found = bench::MakeJunkTree(folders, options_.removals, 1024);
  const int cacheFolders = std::max(1, options_.cache / 100);
  const bench::Tree cache = bench::MakeJunkTree(cacheFolders, options_.cache, 1024);
  clean::RunSettings settings;
  settings.FileEndingList = {"*.tmp"};
  const auto clean = [&](const std::string& root, bool recycle) {
    settings.AdvancedOptions[settings::kRecycleFound] = recycle;
    state_.stop = false;
    report_.LBdelinfo.Clear();
    return Timed([&] {
      clean::CleanRun run(system_, view_, state_, settings, texts_);
      run.ScanFolder(root);
    });
  };
  std::printf(
      "\nremovals, each against its floor (one listing per folder, DeleteFileW and "
      "RemoveDirectoryW, nothing else):\n");
  // A removal's time swings with the disk's write-back of the trees just written: floor and run
  // take turns on fresh trees, each going first in every other round; best and median are told.
  const int rounds = std::min(options_.repeat, kRemovalRounds);
  std::vector<double> floors, deletions;
  std::string root;
  const auto inTurn = [&](int round, const std::function<void()>& floorRound,
                          const std::function<void()>& runRound) {
    if (round % 2 == 0) floorRound();
    runRound();
    if (round % 2 == 1) floorRound();
  };
  for (int r = 0; r < rounds; ++r) {
    const std::string n = std::to_string(r);
    inTurn(
        r,
        [&] {
          root = Fresh(found, "found-floor-" + n);
          floors.push_back(Timed([&] { backend_.BareRemove(root, false); }));
        },
        [&] { deletions.push_back(clean(Fresh(found, "found-delete-" + n), false)); });
  }
  const double floor = *std::min_element(floors.begin(), floors.end());
  const double deleting = *std::min_element(deletions.begin(), deletions.end());
  const double recycling = clean(Fresh(found, "found-recycle"), true);
  const int recycled = report_.LBdelinfo.Count();
  report_.LBdelinfo.Clear();
  system_.EmptyRecycleBin();
  std::printf(
      "  clean run deleting %d found files in %d folders: %8.1f ms, floor %8.1f ms   "
      "run/floor %.2f [%.2f] (best [median] of %d)   [target: at most 1.15]\n",
      options_.removals, folders + (folders + 9) / 10, deleting * 1e3, floor * 1e3,
      deleting / floor, Median(deletions) / Median(floors), rounds);
  std::printf(
      "  clean run recycling them (%d went):          %8.1f ms   %.2f ms a file   "
      "recycling/deleting %.2f   [target: at most 2, Wine]\n",
      recycled, recycling * 1e3, recycling * 1e3 / options_.removals, recycling / deleting);

  // What the shell itself costs: the same files handed over one at a time, and a batch at a time.
  for (const std::size_t batch : {std::size_t{1}, clean::kBatchSize}) {
    root = Fresh(found, "found-shell-" + std::to_string(batch));
    bench::WalkCount handed;
    const double shell = Timed([&] { handed = backend_.BareRecycle(root, batch); });
    system_.EmptyRecycleBin();
    if (handed.entries == 0) break;
    std::printf("  the shell alone, %3zu files to a call:          %8.1f ms   %.2f ms a file\n",
                batch, shell * 1e3, shell * 1e3 / static_cast<double>(handed.entries));
  }

  // A press in the middle of recycling: the batch in hand goes, then the run ends.
  root = Fresh(found, "found-stop");
  std::unique_ptr<bench::Press> press = backend_.PressLater(
      form_.stop, std::chrono::duration_cast<Clock::duration>(Seconds(recycling / 2)));
  if (press) {
    clean(root, true);
    const Clock::time_point ended = Clock::now();
    Clock::time_point pressedAt;
    if (press->Finish(pressedAt) && state_.stop) {
      std::printf("  stop latency while recycling: %.2f ms   [target: within 50 ms]\n",
                  std::chrono::duration<double, std::milli>(ended - pressedAt).count());
    }
    ui_.Drain();
    report_.LBdelinfo.Clear();
    system_.EmptyRecycleBin();
  }

  std::vector<double> cacheFloors, emptyings;
  for (int r = 0; r < rounds; ++r) {
    const std::string n = std::to_string(r);
    inTurn(
        r,
        [&] {
          root = Fresh(cache, "cache-floor-" + n);
          cacheFloors.push_back(Timed([&] { backend_.BareRemove(root, true); }));
        },
        [&] {
          root = Fresh(cache, "cache-empty-" + n);
          state_.stop = false;
          emptyings.push_back(Timed([&] {
            clean::CleanRun run(system_, view_, state_, settings, texts_);
            cleanups::SpecialCleanups(run, true).EmptyFolder(root, false);
          }));
        });
  }
  const double cacheFloor = *std::min_element(cacheFloors.begin(), cacheFloors.end());
  const double emptying = *std::min_element(emptyings.begin(), emptyings.end());
  std::printf(
      "  EmptyFolder of %d files in %d folders:     %8.1f ms, floor %8.1f ms   "
      "EmptyFolder/floor %.2f [%.2f] (best [median] of %d)   [target: at most 1.15]\n",
      options_.cache, cacheFolders + (cacheFolders + 9) / 10, emptying * 1e3, cacheFloor * 1e3,
      emptying / cacheFloor, Median(emptyings) / Median(cacheFloors), rounds);
}

int Bench::Run() {
  const std::vector<std::string> patterns = ReadList(options_.data + "/standard/fileformat.dat");
  exceptionsLower_ =
      settings::ExceptionListLowerOf(ReadList(options_.data + "/standard/exception.dat"));
  std::vector<std::string> twenty = patterns;
  twenty.insert(twenty.end(), kMorePatterns.begin(), kMorePatterns.end());

  const bench::TreeShape& shape = options_.shape;
  std::printf(
      "backend %s; tree: seed %u, %d folders (depth up to %d), %d files; peak memory at "
      "start %.1f MB\n",
      backend_.Name().c_str(), shape.seed, shape.folders, shape.maxDepth, shape.files,
      Mb(bench::PeakMemoryBytes()));
  Clock::time_point start = Clock::now();
  const bench::Tree tree = bench::MakeTree(shape, patterns, kMorePatterns, exceptionsLower_);
  const double made = Seconds(Clock::now() - start).count();
  start = Clock::now();
  root_ = backend_.Build(tree, "dustorix-bench");
  if (root_.empty()) {
    std::fprintf(stderr, "dustorix_bench: the tree could not be written\n");
    return 1;
  }
  entries_ = tree.Entries();
  std::printf("tree made in %.2f s, written to %s in %.2f s: %zu entries; peak memory %.1f MB\n",
              made, root_.c_str(), Seconds(Clock::now() - start).count(), entries_,
              Mb(bench::PeakMemoryBytes()));

  // Warm the caches (file system, allocator) with one untimed round.
  bench::WalkCount floorCount;
  FloorSeconds(floorCount);
  Scan(twenty, true);
  if (floorCount.entries != entries_) {
    std::fprintf(stderr, "dustorix_bench: the floor walk saw %llu entries, the tree has %zu\n",
                 static_cast<unsigned long long>(floorCount.entries), entries_);
    return 1;
  }

  struct Variant {
    const char* label;
    const std::vector<std::string>* patterns;
    std::vector<double> seconds;
    ScanFigures last;
  };
  Variant variants[] = {{"9 default patterns", &patterns, {}, {}},
                        {"20 patterns", &twenty, {}, {}}};
  std::vector<double> floor;
  std::vector<double> systemWalk;
  for (int r = 0; r < options_.repeat; ++r) {
    floor.push_back(FloorSeconds(floorCount));
    const Clock::time_point walkStart = Clock::now();
    bench::WalkThroughSystem(system_, root_);
    systemWalk.push_back(Seconds(Clock::now() - walkStart).count());
    for (Variant& variant : variants) {
      variant.last = Scan(*variant.patterns, true);
      variant.seconds.push_back(variant.last.seconds);
    }
  }

  // Best of the rounds leads: it is the round least disturbed by whatever else the machine runs;
  // the median follows in brackets.
  const double entries = static_cast<double>(entries_);
  const double floorBest = Best(floor);
  std::printf("\nbest [median] of %d rounds over %zu entries in %llu folders:\n", options_.repeat,
              entries_, static_cast<unsigned long long>(floorCount.folders));
  std::printf("  floor (bare walk, one listing per folder): %8.1f ms [%8.1f]  %10.0f entries/s\n",
              floorBest * 1e3, Median(floor) * 1e3, entries / floorBest);
  const double systemBest = Best(systemWalk);
  std::printf(
      "  bare walk through System::ListFolder:      %8.1f ms [%8.1f]  %10.0f entries/s  "
      "(%.2f x floor)\n",
      systemBest * 1e3, Median(systemWalk) * 1e3, entries / systemBest, systemBest / floorBest);
  for (const Variant& variant : variants) {
    const double scan = Best(variant.seconds);
    const ScanFigures& f = variant.last;
    const std::size_t expected =
        bench::ExpectedReviewLines(tree, *variant.patterns, exceptionsLower_, true);
    std::printf("  scan, review mode, %s + zero-byte pass: %8.1f ms [%8.1f]  %10.0f entries/s\n",
                variant.label, scan * 1e3, Median(variant.seconds) * 1e3, entries / scan);
    std::printf(
        "      scan/floor %.2f [%.2f]   scan's own work %.0f ns per entry   listings per folder "
        "%.3f   look-ups per entry %.3f   message checks per entry %.2f\n",
        scan / floorBest, Median(variant.seconds) / Median(floor),
        (scan - floorBest) / entries * 1e9,
        static_cast<double>(f.listings) / static_cast<double>(floorCount.folders),
        static_cast<double>(f.lookUps) / entries, static_cast<double>(f.messageChecks) / entries);
    std::printf("      review list: %d lines (the tree holds %zu)\n", f.reviewLines, expected);
    if (static_cast<std::size_t>(f.reviewLines) != expected) {
      std::fprintf(stderr, "dustorix_bench: the scan listed %d lines, %zu expected\n",
                   f.reviewLines, expected);
      return 1;
    }
  }
  // The tree is its drive's only folder, so an analysis of the drive walks the tree alone.
  std::vector<double> analysis;
  int analysisLines = 0;
  for (int r = 0; r < options_.repeat; ++r)
    analysis.push_back(AnalysisSeconds(twenty, analysisLines));
  const double analysisBest = Best(analysis);
  std::printf(
      "  analysis, review mode, 20 patterns + zero-byte pass, of drive %c: %8.1f ms [%8.1f]  "
      "analysis/scan %.2f [%.2f]   %d files it would remove   [target: at most 1.1]\n",
      root_[0], analysisBest * 1e3, Median(analysis) * 1e3,
      analysisBest / Best(variants[1].seconds), Median(analysis) / Median(variants[1].seconds),
      analysisLines);
  std::printf(
      "  targets: listings per folder 1.0; look-ups per entry 0; scan/floor at most 1.3 "
      "(win32, 20 patterns); own work under 150 ns per entry (sim, 20 patterns)\n");

  const double check = MessageCheckNanoseconds();
  const ScanFigures& last = variants[1].last;
  const double checksPerEntry = static_cast<double>(last.messageChecks) / entries;
  std::printf("\nwhere a scan spends beyond the listing (20 patterns):\n");
  std::printf(
      "  message check (ProcessMessages, nothing pending): %9.1f ns per call, %.2f per "
      "entry: %8.1f ms per scan\n",
      check, checksPerEntry, check * static_cast<double>(last.messageChecks) / 1e6);
  // A folder is shown as it is entered, but not twice within the interval.
  const double shown =
      std::min(static_cast<double>(floorCount.folders),
               Best(variants[1].seconds) / Seconds(clean::kStatusInterval).count() + 1);
  const double status = StatusUpdateMicroseconds();
  std::printf(
      "  status bar text and repaint:                      %9.1f us per update, %.0f updates: "
      "%8.1f ms per scan\n",
      status, shown, status * shown / 1e3);
  const double line = ReviewLineMicroseconds(false);
  std::printf(
      "  review list line:                                 %9.1f us per file found:  "
      "%8.1f ms per scan\n",
      line, line * last.reviewLines / 1e3);
  std::printf("    of which measuring its width (TextWidth):      %9.1f us\n",
              ReviewLineMicroseconds(true));
  std::printf("peak memory after the scans: %.1f MB\n", Mb(bench::PeakMemoryBytes()));
  StopLatency(twenty, Median(variants[1].seconds));
  if (options_.results > 0) ReviewListMemory();
  if (options_.removals > 0) Removals();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  std::unique_ptr<bench::Backend> backend = bench::MakeBackend(options.backend);
  if (!backend) Usage(("this build has no backend " + options.backend).c_str());
  Bench bench(options, *backend);
  return bench.Run();
}
