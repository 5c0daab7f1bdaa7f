#include "settings/settings_files.h"

#include <algorithm>

#include "platform/text_lines.h"
#include "settings/list_file.h"
#include "settings/patterns.h"

namespace settings {

namespace {

constexpr size_t kLanguageRecordSize = 4;
constexpr size_t kOldSwitchCount = 14;
constexpr size_t kEarlierSwitchCount = 16;
constexpr size_t kSwitchCountBeforeDownloads = 19;
constexpr size_t kMaxCodeLength = 2;

// A read that failed for any reason but a missing file marks the file as one to keep.
std::optional<std::string> ReadSettingsFile(platform::System& system, std::string_view path,
                                            platform::FileAccess access, Settings& settings,
                                            SettingsFile file) {
  platform::ReadResult result = system.ReadFile(path, access);
  if (!result.bytes && result.error == platform::ReadError::kOther) {
    settings.keepOnDisk[static_cast<int>(file)] = true;
  }
  return std::move(result.bytes);
}

}  // namespace

std::vector<std::string> ReadListFile(platform::System& system, std::string_view path) {
  platform::ReadResult result = system.ReadFile(path, platform::FileAccess::kRead);
  if (!result.bytes) return {};
  return ParseListFile(*result.bytes);
}

std::optional<Switches> ParseAdvancedOptions(std::string_view bytes) {
  // Files saved before the error-report and shader-cache switches have 14 bytes, those saved
  // before Windows' own categories 16, those saved before the Downloads switch 19: the switches
  // they lack stay off, and the next save writes all of them. Anything else was not written by
  // the program (an editor's "0" and "1" are bytes 0x30 and 0x31): taken as switches, it would
  // run clean-ups the user never chose.
  Switches options{};
  if (bytes.size() != kOldSwitchCount && bytes.size() != kEarlierSwitchCount &&
      bytes.size() != kSwitchCountBeforeDownloads && bytes.size() != options.size()) {
    return std::nullopt;
  }
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\x00' && bytes[i] != '\x01') return std::nullopt;
    options[i] = bytes[i] == '\x01';
  }
  return options;
}

std::string FormatAdvancedOptions(const Switches& options) {
  std::string bytes;
  for (bool on : options)
    bytes += on ? '\x01' : '\x00';
  return bytes;
}

LanguageChoice ParseLanguageRecord(std::string_view bytes) {
  LanguageChoice record;
  if (bytes.empty()) return record;
  // A length above two is read as two; a short file gives only the characters it holds.
  const size_t length = std::min<size_t>(static_cast<unsigned char>(bytes[0]), kMaxCodeLength);
  record.LanguageCode = std::string(bytes.substr(1, std::min(length, bytes.size() - 1)));
  if (bytes.size() >= kLanguageRecordSize) record.LanguageChosen = bytes[3] != 0;
  return record;
}

std::string FormatLanguageRecord(const LanguageChoice& record) {
  const std::string code = record.LanguageCode.substr(0, kMaxCodeLength);
  std::string bytes(kLanguageRecordSize, '\0');
  bytes[0] = static_cast<char>(code.size());
  std::copy(code.begin(), code.end(), bytes.begin() + 1);
  bytes[3] = record.LanguageChosen ? '\x01' : '\x00';
  return bytes;
}

bool SaveFileSafely(platform::System& system, std::string_view path, std::string_view bytes) {
  const std::string temporary = std::string(path) + ".new";
  if (system.WriteFile(temporary, bytes) && system.ReplaceFile(temporary, path)) return true;
  system.DeleteFile(temporary);
  return false;
}

void LoadSettings(platform::System& system, Settings& settings) {
  using platform::FileAccess;
  if (auto bytes = ReadSettingsFile(system, kFileFormatPath, FileAccess::kRead, settings,
                                    SettingsFile::kFileFormat)) {
    settings.FileEndingList = ParseListFile(*bytes);
  }
  if (auto bytes = ReadSettingsFile(system, kExceptionPath, FileAccess::kRead, settings,
                                    SettingsFile::kException)) {
    settings.ExceptionList = ParseListFile(*bytes);
    settings.ExceptionListLower = ExceptionListLowerOf(settings.ExceptionList);
  }
  settings.ProtectedPatterns = BuildProtectedPatterns();
  if (auto bytes = ReadSettingsFile(system, kAdvancedOptionPath, FileAccess::kRead, settings,
                                    SettingsFile::kAdvancedOption)) {
    if (const std::optional<Switches> options = ParseAdvancedOptions(*bytes))
      settings.AdvancedOptions = *options;
    else
      settings.keepOnDisk[static_cast<int>(SettingsFile::kAdvancedOption)] = true;
  }
  if (auto bytes = ReadSettingsFile(system, kWhichLangPath, FileAccess::kRead, settings,
                                    SettingsFile::kWhichLang)) {
    settings.LanguageRecord = ParseLanguageRecord(*bytes);
  }
  if (auto bytes = ReadSettingsFile(system, kCleanersPath, FileAccess::kRead, settings,
                                    SettingsFile::kCleaners)) {
    settings.CleanerList = ParseListFile(*bytes);
  }
  if (auto bytes = ReadSettingsFile(system, kAgeRulesPath, FileAccess::kRead, settings,
                                    SettingsFile::kAgeRules)) {
    ParsedAgeRules parsed = ParseAgeRules(*bytes);
    settings.Ages = parsed.rules;
    settings.AgeRuleBadLines = std::move(parsed.badLines);
    // A line the program cannot read is the user's: it stays until the rules are set anew.
    if (!settings.AgeRuleBadLines.empty())
      settings.keepOnDisk[static_cast<int>(SettingsFile::kAgeRules)] = true;
  }
}

void LoadSettingsForUser(platform::System& system, bool userIsAdmin, Settings& settings) {
  LoadSettings(system, settings);
  if (userIsAdmin) return;
  for (Switch adminOnly :
       {kOldUpdateFiles, kSystemLog, kUnusedDlls, kDeliveryOptimization, kUpgradeLogs})
    settings.AdvancedOptions[adminOnly] = false;
}

void SaveSettings(platform::System& system, const Settings& settings) {
  auto save = [&](SettingsFile file, std::string_view path, const std::string& bytes) {
    if (!settings.keepOnDisk[static_cast<int>(file)]) SaveFileSafely(system, path, bytes);
  };
  save(SettingsFile::kFileFormat, kFileFormatPath, FormatListFile(settings.FileEndingList));
  save(SettingsFile::kException, kExceptionPath, FormatListFile(settings.ExceptionList));
  save(SettingsFile::kAdvancedOption, kAdvancedOptionPath,
       FormatAdvancedOptions(settings.AdvancedOptions));
  save(SettingsFile::kWhichLang, kWhichLangPath, FormatLanguageRecord(settings.LanguageRecord));
  save(SettingsFile::kCleaners, kCleanersPath, FormatListFile(settings.CleanerList));
  save(SettingsFile::kAgeRules, kAgeRulesPath, FormatAgeRules(settings.Ages));
}

}  // namespace settings
