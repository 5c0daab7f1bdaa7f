// The parsers of the data files: list files, advancedoption.dat, whichlang.dat, the language
// files, and a whole load and save of the settings on the sim.
#include <algorithm>

#include "lang/language_texts.h"
#include "platform/sim/sim_system.h"
#include "platform/text_lines.h"
#include "settings/list_file.h"
#include "settings/settings_files.h"
#include "tests/fuzz/fuzz_check.h"

namespace fuzz {

namespace {

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n\x1A") != std::string::npos;
}

// A machine with the program's folder C:\app and its data folders.
void SetUpProgramFolder(platform::sim::SimSystem& sim) {
  sim.AddDrive('C', platform::DriveType::kFixed);
  sim.AddFolder("C:\\app\\data\\lang");
  sim.SetCurrentDirectory("C:\\app");
}

}  // namespace

int ListFile(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = settings::ParseListFile(bytes);
  std::size_t total = 0;
  for (const std::string& line : lines) {
    FUZZ_CHECK(!HasLineBreak(line));
    FUZZ_CHECK(line.empty() || (line.back() != ' ' && line.back() != '\t'));
    total += line.size();
  }
  // UTF-16 takes at most three bytes of UTF-8 for each two of its own.
  FUZZ_CHECK(total <= size * 3 / 2);
  if (!lines.empty()) FUZZ_CHECK(!lines[0].starts_with("\xEF\xBB\xBF"));
  // What was read is written and read back unchanged.
  FUZZ_CHECK(settings::ParseListFile(settings::FormatListFile(lines)) == lines);
  const std::vector<std::string> lower = settings::ExceptionListLowerOf(lines);
  FUZZ_CHECK(lower.size() == lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    FUZZ_CHECK(lower[i].size() == lines[i].size());
    for (std::size_t k = 0; k < lines[i].size(); ++k) {
      const char c = lines[i][k];
      FUZZ_CHECK(lower[i][k] == (c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c));
    }
  }
  return 0;
}

int AdvancedOption(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<settings::Switches> parsed = settings::ParseAdvancedOptions(bytes);
  // Only the program's own form is switches: 14, 16, 19 or 20 bytes, each 0 or 1.
  const bool ownForm = (size == 14 || size == 16 || size == 19 || size == 20) &&
                       bytes.find_first_not_of(std::string("\x00\x01", 2)) == std::string::npos;
  FUZZ_CHECK(parsed.has_value() == ownForm);
  if (!parsed) return 0;
  const settings::Switches& options = *parsed;
  for (std::size_t i = 0; i < options.size(); ++i)
    FUZZ_CHECK(options[i] == (i < bytes.size() && bytes[i] == 1));
  const std::string written = settings::FormatAdvancedOptions(options);
  FUZZ_CHECK(written.size() == static_cast<std::size_t>(settings::kSwitchCount));
  FUZZ_CHECK(written.find_first_not_of(std::string("\x00\x01", 2)) == std::string::npos);
  FUZZ_CHECK(settings::ParseAdvancedOptions(written) == options);
  return 0;
}

int WhichLang(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const settings::LanguageChoice record = settings::ParseLanguageRecord(bytes);
  FUZZ_CHECK(record.LanguageCode.size() <= 2);
  FUZZ_CHECK(record.LanguageCode.size() <= (bytes.empty() ? 0 : bytes.size() - 1));
  const std::string written = settings::FormatLanguageRecord(record);
  FUZZ_CHECK(written.size() == 4);
  const settings::LanguageChoice again = settings::ParseLanguageRecord(written);
  FUZZ_CHECK(again.LanguageCode == record.LanguageCode);
  FUZZ_CHECK(again.LanguageChosen == record.LanguageChosen);

  // Whatever the code holds, the language file read for it lies in data\lang.
  platform::sim::SimSystem sim;
  SetUpProgramFolder(sim);
  const std::string path = lang::LanguageFilePath(record.LanguageCode);
  const std::string full = settings::LowerAsciiLetters(sim.FullPathName(path));
  FUZZ_CHECK(full.empty() || full.rfind("c:\\app\\data\\lang\\", 0) == 0);
  lang::LanguageTexts texts;
  lang::ReadLanguageFile(sim, record.LanguageCode, texts);
  const std::uint16_t id = lang::MessageLanguageIdFor(record.LanguageCode);
  FUZZ_CHECK(id == 0 || id == 7 || id == 8 || id == 9);
  return 0;
}

int LanguageFile(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  platform::sim::SimSystem sim;
  SetUpProgramFolder(sim);
  sim.AddFile("C:\\app\\data\\lang\\En.dat", bytes);
  lang::LanguageTexts texts;
  for (int i = 0; i < lang::kLanguageTextCount; ++i)
    texts[static_cast<lang::Text>(i)] = "before";
  lang::ReadLanguageFile(sim, "En", texts);
  const std::vector<std::string> lines = platform::SplitTextLines(bytes);
  std::size_t i = 0;
  for (const std::string& text : texts) {
    FUZZ_CHECK(!HasLineBreak(text));
    // A missing or empty line gives the design text: no caption is ever blank.
    const bool given = i < lines.size() && !lines[i].empty();
    FUZZ_CHECK(text == (given ? lines[i] : lang::DesignText(static_cast<lang::Text>(i))));
    FUZZ_CHECK(!text.empty());
    ++i;
  }
  // The table written as a file reads back as the same table.
  sim.AddFile("C:\\app\\data\\lang\\De.dat",
              settings::FormatListFile(std::vector<std::string>(texts.begin(), texts.end())));
  lang::LanguageTexts again;
  lang::ReadLanguageFile(sim, "De", again);
  FUZZ_CHECK(again == texts);
  return 0;
}

int SettingsCycle(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> parts = SplitParts(data, size, 4);
  platform::sim::SimSystem sim;
  SetUpProgramFolder(sim);
  const std::string_view paths[] = {settings::kFileFormatPath, settings::kExceptionPath,
                                    settings::kAdvancedOptionPath, settings::kWhichLangPath};
  for (std::size_t i = 0; i < 4; ++i)
    sim.AddFile(paths[i], parts[i]);

  settings::Settings first;
  settings::LoadSettings(sim, first);
  FUZZ_CHECK(first.ExceptionListLower.size() == first.ExceptionList.size());
  settings::SaveSettings(sim, first);
  std::string savedOnce[4];
  for (std::size_t i = 0; i < 4; ++i) {
    savedOnce[i] = sim.Content(paths[i]).value_or("<missing>");
    FUZZ_CHECK(!sim.Exists(std::string(paths[i]) + ".new"));
  }
  // Load, save, load is a fixed point: nothing read is lost or changed by writing it back.
  settings::Settings second;
  settings::LoadSettings(sim, second);
  FUZZ_CHECK(second.FileEndingList == first.FileEndingList);
  FUZZ_CHECK(second.ExceptionList == first.ExceptionList);
  FUZZ_CHECK(second.ExceptionListLower == first.ExceptionListLower);
  FUZZ_CHECK(second.AdvancedOptions == first.AdvancedOptions);
  FUZZ_CHECK(second.LanguageRecord.LanguageCode == first.LanguageRecord.LanguageCode);
  FUZZ_CHECK(second.LanguageRecord.LanguageChosen == first.LanguageRecord.LanguageChosen);
  settings::SaveSettings(sim, second);
  for (std::size_t i = 0; i < 4; ++i)
    FUZZ_CHECK(sim.Content(paths[i]).value_or("<missing>") == savedOnce[i]);
  return 0;
}

}  // namespace fuzz
