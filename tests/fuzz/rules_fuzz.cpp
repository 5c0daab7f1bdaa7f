// A rule file from the input, read and run on a small Windows: every line is accounted for (an
// entry, a key read or a key skipped), line ends and a byte-order mark change nothing, what is
// read is well formed, and whatever its keys say, no file directly in a protected folder, no
// read-only file and no link is ever removed.
#include "cleaners/entry_run.h"
#include "platform/sim/sim_system.h"
#include "tests/clean/test_run.h"
#include "tests/fuzz/fuzz_check.h"

namespace fuzz {

namespace {

using platform::sim::SimSystem;

std::string_view Trimmed(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// The sections and the other lines that are no comment, counted apart from the reader.
void CountLines(std::string_view bytes, std::size_t& sections, std::size_t& others) {
  sections = others = 0;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find('\n'), bytes.size());
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = Trimmed(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      ++sections;
    } else {
      ++others;
    }
  }
}

std::size_t Accounted(const cleaners::RuleFile& file) {
  std::size_t lines = file.outside.size();
  for (const cleaners::Entry& entry : file.entries)
    lines += entry.keysRead + entry.skipped.size();
  return lines;
}

// What no rule may take: files directly in protected folders, a read-only file, and a file
// reached only through a link.
constexpr const char* kSentinels[] = {
    "C:\\Users\\u\\keep.txt",
    "C:\\Users\\u\\AppData\\Local\\keep.log",
    "C:\\Users\\u\\AppData\\Roaming\\keep.tmp",
    "C:\\Users\\u\\Documents\\keep.doc",
    "C:\\Windows\\keep.log",
    "C:\\Windows\\System32\\keep.dll",
    "C:\\Program Files\\keep.ini",
    "C:\\keep.sys",
    "C:\\Users\\u\\AppData\\Local\\App\\Cache\\ro.bin",
};
constexpr const char* kLink = "C:\\Users\\u\\AppData\\Local\\App\\Linked";

void SeedMachine(SimSystem& sim) {
  namespace csidl = platform::csidl;
  sim.AddDrive('C', platform::DriveType::kFixed);
  sim.AddDrive('D', platform::DriveType::kFixed);
  sim.SetWindowsFolder("C:\\Windows");
  const std::pair<int, const char*> folders[] = {
      {csidl::kSystem, "C:\\Windows\\System32"},
      {csidl::kProgramFiles, "C:\\Program Files"},
      {csidl::kProgramFilesX86, "C:\\Program Files (x86)"},
      {csidl::kCommonAppData, "C:\\ProgramData"},
      {csidl::kProfile, "C:\\Users\\u"},
      {csidl::kAppData, "C:\\Users\\u\\AppData\\Roaming"},
      {csidl::kLocalAppData, "C:\\Users\\u\\AppData\\Local"},
      {csidl::kDocuments, "C:\\Users\\u\\Documents"},
  };
  for (const auto& [id, path] : folders) {
    sim.AddFolder(path);
    sim.SetSpecialFolder(id, path);
  }
  sim.SetTempFolder("C:\\Users\\u\\AppData\\Local\\Temp\\");
  for (const char* path : kSentinels)
    sim.AddFile(path, "keep");
  sim.SetAttributes("C:\\Users\\u\\AppData\\Local\\App\\Cache\\ro.bin", platform::attr::kReadOnly);
  sim.AddFile("D:\\outside\\target.bin", "target");
  sim.AddFolderLink(kLink, "D:\\outside");
  sim.AddFile("C:\\Users\\u\\AppData\\Local\\App\\Cache\\a.tmp", "junk");
  sim.AddFile("C:\\Users\\u\\AppData\\Local\\Temp\\b.log", "junk");
  sim.AddFile("C:\\Users\\u\\Documents\\Work\\c.tmp", "junk");
  sim.AddFolder("C:\\Users\\u\\AppData\\Roaming\\App\\empty");
  sim.SetCurrentDirectory("C:\\Tools");
}

}  // namespace

int RuleFile(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const cleaners::RuleFile file = cleaners::ParseRuleFile(bytes, "fuzz.ini");

  std::size_t sections = 0;
  std::size_t others = 0;
  CountLines(bytes, sections, others);
  FUZZ_CHECK(file.entries.size() == sections);
  FUZZ_CHECK(Accounted(file) == others);
  for (const cleaners::Entry& entry : file.entries) {
    for (const cleaners::FileKey& key : entry.fileKeys) {
      FUZZ_CHECK(!key.folder.empty() && !key.patterns.empty());
      FUZZ_CHECK(cleaners::Variables::OnlyKnown(key.folder));
      for (const std::string& pattern : key.patterns)
        FUZZ_CHECK(!pattern.empty() && pattern.find_first_of("\\/") == std::string::npos);
    }
    for (const cleaners::KeyNote& note : entry.skipped)
      FUZZ_CHECK(!cleaners::IssueId(note.issue).empty());
  }

  // The same file with CR LF line ends and a byte-order mark reads the same.
  if (bytes.find('\r') == std::string_view::npos && !bytes.starts_with("\xEF\xBB\xBF")) {
    std::string windows = "\xEF\xBB\xBF";
    for (char c : bytes) {
      if (c == '\n') windows += '\r';
      windows += c;
    }
    const cleaners::RuleFile again = cleaners::ParseRuleFile(windows, "fuzz.ini");
    FUZZ_CHECK(again.entries.size() == file.entries.size());
    FUZZ_CHECK(Accounted(again) == Accounted(file));
    for (std::size_t i = 0; i < file.entries.size(); ++i) {
      FUZZ_CHECK(again.entries[i].name == file.entries[i].name);
      FUZZ_CHECK(again.entries[i].keysRead == file.entries[i].keysRead);
    }
  }

  SimSystem sim;
  SeedMachine(sim);
  testing_clean::TestRun test(sim);
  const cleaners::Places places(sim);
  for (const cleaners::Entry& entry : file.entries)
    cleaners::RunEntry(entry, places, test.run);
  for (const char* path : kSentinels)
    FUZZ_CHECK(sim.Content(path) == "keep");
  FUZZ_CHECK(sim.Exists(kLink));
  return 0;
}

}  // namespace fuzz
