#include "app/command_line.h"

#include <cstdio>
#include <memory>
#include <tuple>
#include <utility>

#include "about/links.h"
#include "app/data_folder.h"
#include "app/instance.h"
#include "app/run_event.h"
#include "lang/language_texts.h"
#include "platform/utf.h"
#include "settings/list_file.h"
#include "settings/settings_files.h"

namespace app {

namespace {

constexpr const char* kNewLine = "\r\n";

// "X:" or "X:\" names one drive; "all" the drives the window's "all drives" takes.
std::optional<clean::DriveChoice> ParseDrives(std::string_view text) {
  if (settings::LowerAsciiLetters(text) == "all") return clean::DriveChoice{};
  const char letter = static_cast<char>(text.empty() ? '\0' : text[0] & ~0x20);
  const bool drive = letter >= 'A' && letter <= 'Z' && text.size() >= 2 && text[1] == ':' &&
                     (text.size() == 2 || (text.size() == 3 && text[2] == '\\'));
  if (!drive) return std::nullopt;
  return clean::DriveChoice{false, letter};
}

// The texts of the language the user chose; English when none was chosen yet (the window asks
// at its first start) or its file cannot be read.
lang::LanguageTexts ReadTexts(platform::System& data, const std::string& code) {
  lang::LanguageTexts texts;
  lang::ReadLanguageFile(data, code, texts);
  if (texts.Code().empty()) lang::ReadLanguageFile(data, "En", texts);
  return texts;
}

// A run as a command line shows it: every line of the report on standard output as it comes,
// and what each part of the run freed, for the JSON report.
class ConsoleView final : public clean::RunView {
 public:
  // The scan with its review, a special step, or an application's entry.
  struct Part {
    const cleanups::SpecialStep* step = nullptr;  // none: the scan, or an entry
    std::optional<std::string> cleaner;           // the entry's name
    std::int64_t files = 0;
    std::int64_t bytes = 0;
    std::int64_t registryItems = 0;
    std::string runningProgram;  // the entry was left alone because it runs
  };

  ConsoleView(platform::Console& console, clean::RunState& state)
      : console_(console), state_(state), parts_(1) {}

  // A console shows no progress: the report's lines come often enough.
  void ShowStatus(const std::string&) override {}

  void AddReportLine(const std::string& line) override {
    console_.Out(line + kNewLine);
    // The scan's lines name files, and so do the unused libraries'; another step's one line
    // sums up what it removed.
    const cleanups::SpecialStep* step = parts_.back().step;
    if ((step && step->report) || parts_.back().cleaner) return;
    files_.push_back(line);
    if (!step) ++parts_.back().files;
  }

  // A command line runs without a review: the command is the user's consent to every find.
  bool Review(clean::RemovalPlan&, bool) override { return false; }

  void ProcessMessages() override {
    if (console_.Interrupted()) state_.stop = true;
  }

  void StepBegins(const cleanups::SpecialStep& step) override {
    Finish();
    Part part;
    part.step = &step;
    parts_.push_back(std::move(part));
    filesBefore_ = state_.removedFiles;
    bytesBefore_ = state_.freedBytes;
  }

  void BrowserLeftAlone(const std::string& name) override { leftAlone_.push_back(name); }

  void CleanerBegins(const cleaners::Entry& entry) override {
    Finish();
    Part part;
    part.cleaner = entry.name;
    parts_.push_back(std::move(part));
    filesBefore_ = state_.removedFiles;
    bytesBefore_ = state_.freedBytes;
  }

  void CleanerEnds(const cleaners::Entry& entry, const cleaners::EntryOutcome& outcome) override {
    parts_.back().registryItems = outcome.registryItems;
    parts_.back().runningProgram = outcome.runningProgram;
    for (const cleaners::KeyNote& note : outcome.refused)
      refused_.push_back({entry.name, note});
  }

  // Closes the part that is running; once more when the run has ended.
  void Finish() {
    Part& part = parts_.back();
    part.bytes = state_.freedBytes - bytesBefore_;
    // The scan counts the files it names, its empty files among them.
    if (part.step || part.cleaner) part.files = state_.removedFiles - filesBefore_;
  }

  const std::vector<std::string>& Files() const { return files_; }
  const std::vector<Part>& Parts() const { return parts_; }
  const std::vector<std::string>& LeftAlone() const { return leftAlone_; }
  // The keys of the entries that the guards refused, each with its entry's name.
  const std::vector<std::pair<std::string, cleaners::KeyNote>>& Refused() const { return refused_; }
  // The files and bytes of all parts.
  std::pair<std::int64_t, std::int64_t> Total() const {
    std::pair<std::int64_t, std::int64_t> total;
    for (const Part& part : parts_) {
      total.first += part.files;
      total.second += part.bytes;
    }
    return total;
  }

 private:
  platform::Console& console_;
  clean::RunState& state_;
  std::vector<std::string> files_;
  std::vector<Part> parts_;
  std::vector<std::string> leftAlone_;
  std::vector<std::pair<std::string, cleaners::KeyNote>> refused_;
  std::int64_t filesBefore_ = 0;
  std::int64_t bytesBefore_ = 0;
};

// A JSON string of UTF-8 text. A file name can hold a lone surrogate, which only an escape can
// carry; text that is no UTF-8 (a damaged language file) keeps its ASCII only.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  const auto escape = [&out](unsigned unit) {
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04x", unit);
    out += code;
  };
  const std::optional<std::u16string> decoded = platform::Utf8ToUtf16(text);
  std::u16string units;
  if (decoded) {
    units = *decoded;
  } else {
    for (const char c : text)
      units += static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'\uFFFD';
  }
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t c = units[i];
    const bool surrogate = c >= 0xD800 && c < 0xE000;
    const bool pair = surrogate && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                      units[i + 1] < 0xE000;
    if (c == u'"' || c == u'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || surrogate != pair) {
      escape(c);
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += platform::Utf16ToUtf8(std::u16string_view(units).substr(i, pair ? 2 : 1));
      if (pair) ++i;
    }
  }
  return out + '"';
}

std::string IsoTime(const platform::UtcTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", time.year, time.month,
                time.day, time.hour, time.minute, time.second);
  return text;
}

std::string Figures(std::int64_t files, std::int64_t bytes) {
  return "\"files\": " + std::to_string(files) + ", \"bytes\": " + std::to_string(bytes);
}

std::string QuotedList(const std::vector<std::string>& items) {
  std::string list = "[";
  for (std::size_t i = 0; i < items.size(); ++i)
    list += (i == 0 ? "\n    " : ",\n    ") + Quoted(items[i]);
  return list + (items.empty() ? "]" : "\n  ]");
}

struct Outcome {
  const char* name;
  int exitCode;
};

// The categories with the names and figures a review shows them with: what an analysis found, or
// what a clean removed.
std::string JsonCategories(const std::vector<const clean::PlanCategory*>& shown) {
  std::string categories;
  for (const clean::PlanCategory* each : shown) {
    const clean::PlanCategory& category = *each;
    categories += categories.empty() ? "\n    " : ",\n    ";
    categories += "{\"category\": " + Quoted(category.id) + ", \"name\": " + Quoted(category.name) +
                  ", \"items\": " + std::to_string(category.items) +
                  ", \"bytes\": " + std::to_string(category.bytes) +
                  // Told of only: nothing of it is ever removed.
                  (category.information ? ", \"information\": true}" : "}");
  }
  return "  \"categories\": [" + categories + (categories.empty() ? "],\n" : "\n  ],\n");
}

std::string JsonReport(const CommandLine& line, const ConsoleView& view, const Outcome& outcome,
                       const platform::UtcTime& start, const platform::UtcTime& end,
                       const lang::LanguageTexts& texts, const clean::CleanRun& run,
                       const clean::RunState& state) {
  const bool clean = line.action == CommandLine::Action::kClean;
  const std::string drives = line.drives.allDrives ? "all" : std::string{line.drives.letter, ':'};
  std::string json = "{\n";
  json += "  \"program\": \"Dustorix\",\n";
  json += "  \"version\": " + Quoted(about::kVersion) + ",\n";
  json += std::string("  \"command\": \"") + (clean ? "clean" : "analyze") + "\",\n";
  json += "  \"drives\": " + Quoted(drives) + ",\n";
  json += "  \"start\": \"" + IsoTime(start) + "\",\n";
  json += "  \"end\": \"" + IsoTime(end) + "\",\n";
  json += std::string("  \"outcome\": \"") + outcome.name + "\",\n";
  json += "  \"exitCode\": " + std::to_string(outcome.exitCode) + ",\n";
  json += "  \"files\": " + QuotedList(view.Files()) + ",\n";
  json += "  \"browsersLeftAlone\": " + QuotedList(view.LeftAlone()) + ",\n";
  std::string steps;
  for (const ConsoleView::Part& part : view.Parts()) {
    if (!part.step && !part.cleaner) {
      json += "  \"scan\": {" + Figures(part.files, part.bytes) + "},\n";
      continue;
    }
    steps += steps.empty() ? "\n    " : ",\n    ";
    if (part.cleaner) {
      // An entry keeps its name as the rule file gives it, in every language.
      steps += "{\"step\": \"cleaner\", \"name\": " + Quoted(*part.cleaner) + ", " +
               Figures(part.files, part.bytes) +
               ", \"registryItems\": " + std::to_string(part.registryItems);
      if (!part.runningProgram.empty()) steps += ", \"running\": " + Quoted(part.runningProgram);
      steps += "}";
      continue;
    }
    steps += std::string("{\"step\": \"") + part.step->id +
             "\", \"name\": " + Quoted(lang::WithoutAccessKey(texts[part.step->name])) + ", " +
             Figures(part.files, part.bytes) + "}";
  }
  json += "  \"steps\": [" + steps + (steps.empty() ? "],\n" : "\n  ],\n");
  std::string refused;
  for (const auto& [entry, note] : view.Refused()) {
    refused += refused.empty() ? "\n    " : ",\n    ";
    refused += "{\"entry\": " + Quoted(entry) + ", \"key\": " + Quoted(note.key) +
               ", \"value\": " + Quoted(note.value) +
               ", \"reason\": " + Quoted(cleaners::IssueId(note.issue)) +
               ", \"detail\": " + Quoted(note.detail) + "}";
  }
  json += "  \"refused\": [" + refused + (refused.empty() ? "],\n" : "\n  ],\n");
  std::vector<const clean::PlanCategory*> categories;
  if (clean) {
    for (const clean::PlanCategory& category : run.Removed()) {
      if (category.items > 0 || category.bytes > 0) categories.push_back(&category);
    }
  } else {
    for (const std::uint32_t index : run.AnalysisPlan().Shown())
      categories.push_back(&run.AnalysisPlan().Categories()[index]);
  }
  json += JsonCategories(categories);
  const auto [files, bytes] = view.Total();
  // What went to the recycle bin is among the total, and still takes its space.
  json += "  \"total\": {" + Figures(files, bytes) + ", \"recycled\": {" +
          Figures(state.recycledFiles, state.recycledBytes) + "}}\n}\n";
  return json;
}

// Why the report could not be kept at `path`, asked before the run so that no run is made whose
// report would be lost; empty when it can be.
std::string ReportTargetProblem(platform::System& system, const std::string& path) {
  if (const std::optional<platform::FileStatus> there = system.Status(path)) {
    if (there->IsDirectory()) return "it is a folder";
    if (there->attributes & platform::attr::kReadOnly) return "it is read-only";
  }
  const std::string probe = path + ".probe.new";
  if (!system.WriteNewFile(probe, {})) return "its folder cannot be written";
  system.DeleteFile(probe);
  return {};
}

// The report goes to a new file of its own beside the target and then takes the target's name,
// so that nothing already there (a FILE.new of the user's, or what a link there leads to) is
// truncated or deleted.
bool WriteReport(platform::System& system, const std::string& path, std::string_view bytes) {
  for (int attempt = 1; attempt <= 16; ++attempt) {
    const std::string temporary =
        path + (attempt == 1 ? std::string(".new") : ".new" + std::to_string(attempt));
    if (system.Status(temporary) || !system.WriteNewFile(temporary, bytes)) continue;
    if (system.ReplaceFile(temporary, path)) return true;
    system.DeleteFile(temporary);
    return false;
  }
  return false;
}

// A run that does less than it was asked says why on standard error; the reason goes to the
// event log too. `ending` follows the reason on the console only.
int Fail(platform::Console& console, RunSummary& summary, int exitCode, std::string reason,
         std::string_view ending) {
  console.Err("dustorix: " + reason + std::string(ending) + kNewLine);
  summary.reason = std::move(reason);
  return exitCode;
}

// The run that the arguments ask for; it fills in what the event log records.
int Execute(platform::System& system, platform::Console& console, const CommandLine& line,
            RunSummary& summary) {
  // Two runs never overlap, window or command line; a running window stays where it is.
  bool anotherInstance = false;
  const std::unique_ptr<platform::NamedSemaphore> semaphore =
      system.CreateNamedSemaphore(InstanceName, anotherInstance);
  if (anotherInstance) {
    return Fail(console, summary, kExitAlreadyRunning, "Dustorix is already running",
                "; nothing was done.");
  }
  const clean::DriveChoice drives = line.drives;
  if (!drives.allDrives &&
      system.GetDriveType(std::string{drives.letter, ':'}) == platform::DriveType::kNoRootDir) {
    return Fail(console, summary, kExitBadArguments,
                std::string("there is no drive ") + drives.letter + ":", "; nothing was done.");
  }
  if (!line.jsonFile.empty()) {
    if (const std::string problem = ReportTargetProblem(system, line.jsonFile); !problem.empty())
      return Fail(console, summary, kExitBadArguments,
                  "the report cannot be written to " + line.jsonFile + ": " + problem,
                  "; nothing was done.");
  }
  // Found as the window finds it, but only read: a missing user copy is not made here.
  const DataFolder found = line.dataFolder.empty() ? FindDataFolder(system, false)
                                                   : DataFolder{DataPlace::kGiven, line.dataFolder};
  const std::optional<platform::FileStatus> folder =
      found.path.empty() ? std::nullopt : system.Status(found.path);
  if (!folder || !folder->IsDirectory()) {
    return Fail(console, summary, kExitSettingsUnreadable,
                found.path.empty() ? "there is no data folder, neither in the current folder "
                                     "nor beside the program"
                                   : "there is no data folder " + found.path,
                "; nothing was searched.");
  }

  DataFolderSystem data(system, found.path);
  const bool userIsAdmin = system.IsAdministrator();
  settings::Settings settings;
  settings::LoadSettingsForUser(data, userIsAdmin, settings);
  const lang::LanguageTexts texts = ReadTexts(data, settings.LanguageRecord.LanguageCode);
  clean::RunSettings runSettings = clean::RunSettings::From(settings, userIsAdmin);
  // The command is the user's consent to every find, as ticking them all in a review would be.
  runSettings.AdvancedOptions[settings::kReviewFirst] = false;
  const bool analysis = line.action == CommandLine::Action::kAnalyze;

  clean::RunState state;
  ConsoleView view(console, state);
  const platform::UtcTime start = console.Now();
  // Over the data folder's view, so that the run's guard knows which folder holds the settings.
  clean::CleanRun run(data, view, state, runSettings, texts);
  const clean::RunOutcome ran =
      run.Run(drives, analysis ? clean::RunKind::kAnalysis : clean::RunKind::kClean);
  view.Finish();
  const platform::UtcTime end = console.Now();

  using lang::Text;
  Outcome outcome{"completed", kExitDone};
  Text headline = analysis ? Text::kAnalysisHeadline : Text::kSuccessHeadline;
  if (ran == clean::RunOutcome::kSettingsUnreadable) {
    outcome = {"settingsUnreadable", kExitSettingsUnreadable};
    headline = Text::kSettingsUnreadable;
    summary.reason = "a settings file could not be read";
  } else if (state.stop) {
    outcome = {"stopped", kExitStopped};
    headline = analysis ? Text::kAnalysisStoppedHeadline : Text::kStoppedHeadline;
    summary.reason = "stopped by Ctrl+C or Ctrl+Break";
  }
  std::tie(summary.files, summary.bytes) = view.Total();
  std::string total = clean::FreedTotal(!analysis, state, texts);
  for (std::size_t at = total.find('\n'); at != std::string::npos; at = total.find('\n', at + 2))
    total.replace(at, 1, kNewLine);
  console.Out(texts[headline] + kNewLine + total + kNewLine);
  if (!line.jsonFile.empty() &&
      !WriteReport(system, line.jsonFile,
                   JsonReport(line, view, outcome, start, end, texts, run, state))) {
    return Fail(console, summary, kExitReportNotWritten,
                "the report could not be written to " + line.jsonFile, ".");
  }
  return outcome.exitCode;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
  CommandLine line;
  for (const std::string& arg : args) {
    if (arg == "/?") return line;
  }
  bool actionGiven = false;
  bool dataGiven = false;
  bool jsonGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string option = settings::LowerAsciiLetters(args[i]);
    const bool valueFollows = i + 1 < args.size() && !args[i + 1].empty();
    if (option == "/analyze" || option == "/clean") {
      if (actionGiven) {
        error = "give only one of /analyze and /clean";
        return std::nullopt;
      }
      actionGiven = true;
      line.action =
          option == "/clean" ? CommandLine::Action::kClean : CommandLine::Action::kAnalyze;
      if (!valueFollows || args[i + 1][0] == '/') continue;
      const std::optional<clean::DriveChoice> drives = ParseDrives(args[++i]);
      if (!drives) {
        error = "not a drive: " + args[i] + " (give X: or all)";
        return std::nullopt;
      }
      line.drives = *drives;
    } else if (option == "/data" || option == "/json") {
      const bool data = option == "/data";
      bool& given = data ? dataGiven : jsonGiven;
      if (given || !valueFollows) {
        error = option + (given ? " is given twice" : data ? " needs a folder" : " needs a file");
        return std::nullopt;
      }
      given = true;
      (data ? line.dataFolder : line.jsonFile) = args[++i];
    } else {
      error = "unknown argument: " + args[i];
      return std::nullopt;
    }
  }
  if (!actionGiven) {
    error = "give /analyze or /clean";
    return std::nullopt;
  }
  return line;
}

std::string Usage() {
  return std::string("Dustorix ") + about::kVersion +
         ", junk file cleaner\r\n"
         "\r\n"
         "  dustorix.exe                     opens the window\r\n"
         "  dustorix.exe /analyze [X:|all]   lists what a clean run would remove, removes "
         "nothing\r\n"
         "  dustorix.exe /clean [X:|all]     cleans with the saved settings, without a review\r\n"
         "\r\n"
         "  X: cleans that drive; all (the default) every fixed and network drive.\r\n"
         "  /data DIR    reads the settings from DIR (default: the folder data in the current\r\n"
         "               folder, else the one the window uses)\r\n"
         "  /json FILE   also writes the report to FILE, in JSON\r\n"
         "  /?           shows this text\r\n"
         "\r\n"
         "Exit codes: 0 done; 1 the settings could not be read, nothing was searched; 2 bad\r\n"
         "arguments, nothing was done; 3 Dustorix is already running, nothing was done;\r\n"
         "4 stopped by Ctrl+C or Ctrl+Break; 5 the JSON report could not be written;\r\n"
         "10 stopped by an unexpected error (a line on standard error says which).\r\n";
}

int RunCommandLine(platform::System& system, platform::Console& console,
                   platform::EventLog& eventLog, const std::vector<std::string>& args) {
  std::string error;
  const std::optional<CommandLine> line = ParseCommandLine(args, error);
  if (line && line->action == CommandLine::Action::kUsage) {
    console.Out(Usage());
    return kExitDone;
  }
  RunSummary summary;
  summary.arguments = JoinArguments(args);
  if (line) {
    if (!line->jsonFile.empty()) {
      summary.jsonReport = system.FullPathName(line->jsonFile);
      if (summary.jsonReport.empty()) summary.jsonReport = line->jsonFile;
    }
    summary.exitCode = Execute(system, console, *line, summary);
  } else {
    summary.exitCode = Fail(console, summary, kExitBadArguments, error, kNewLine);
    console.Err(Usage());
  }
  eventLog.Report(RunEvent(summary));
  return summary.exitCode;
}

}  // namespace app
