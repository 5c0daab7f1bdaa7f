// The settings files below data\ in the current directory: read once when the main window is
// created, written once when it closes. Every file is handled on its own and silently.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"
#include "settings/settings.h"

namespace settings {

inline constexpr std::string_view kFileFormatPath = "data\\fileformat.dat";
inline constexpr std::string_view kExceptionPath = "data\\exception.dat";
inline constexpr std::string_view kAdvancedOptionPath = "data\\advancedoption.dat";
inline constexpr std::string_view kWhichLangPath = "data\\lang\\whichlang.dat";
inline constexpr std::string_view kCleanersPath = "data\\cleaners.dat";
inline constexpr std::string_view kAgeRulesPath = "data\\agerules.dat";
inline constexpr std::string_view kStandardFileFormatPath = "data\\standard\\fileformat.dat";
inline constexpr std::string_view kStandardExceptionPath = "data\\standard\\exception.dat";

// Reads the settings files into `settings` and builds the protected patterns. A missing or
// unreadable file leaves its part in the initial state.
void LoadSettings(platform::System& system, Settings& settings);

// LoadSettings as a run of this user takes them: for a user who is no administrator the
// switches of the steps that need one are off.
void LoadSettingsForUser(platform::System& system, bool userIsAdmin, Settings& settings);

// Writes the settings files. Each is written to a temporary file beside it that then
// replaces it, so a failure leaves the previous file whole.
void SaveSettings(platform::System& system, const Settings& settings);

// Reads a list file (also the default lists); an unreadable file gives no entries.
std::vector<std::string> ReadListFile(platform::System& system, std::string_view path);

// The forms of the two binary files. Switches come only from a file of 14 or 16 bytes of 0 and 1.
std::optional<Switches> ParseAdvancedOptions(std::string_view bytes);
std::string FormatAdvancedOptions(const Switches& options);
LanguageChoice ParseLanguageRecord(std::string_view bytes);
std::string FormatLanguageRecord(const LanguageChoice& record);

// Replaces a file's content through a temporary file in the same folder.
bool SaveFileSafely(platform::System& system, std::string_view path, std::string_view bytes);

}  // namespace settings
