#include "lang/language_texts.h"

#include <iterator>

#include "platform/text_lines.h"

namespace lang {

namespace {

// The texts that came after the first 93, as the forms would carry them: language files made
// before them lack their lines.
constexpr std::size_t kFirstAddedText = static_cast<std::size_t>(Text::kMoreOptionsGroup);
constexpr const char* kDesignTexts[] = {
    "Weitere Optionen",
    "Einstellungen nicht lesbar: keine Datei wurde gesucht",
    "1 Datei",
    "%1 Dateien",
    "Analysieren",
    "Analyse",
    "Analyse abgeschlossen, es wurde nichts entfernt",
    "Folgende Dateien w\xC3\xBCrden gel\xC3\xB6scht:",
    " KB w\xC3\xBCrden freigegeben",
    // The browsers'.
    "%1: Cache gel\xC3\xB6scht, %2",
    "%1: Cookies gel\xC3\xB6scht, %2",
    ("%1 l\xC3\xA4uft: Cache und Cookies blieben unber\xC3\xBChrt. Schlie\xC3\x9F"
     "en Sie den Browser (auch im Infobereich) und starten Sie die Bereinigung erneut."),
    // Error reports with crash dumps, and shader caches.
    "Fehlerberichte und Absturzabbilder",
    "Shader-Caches",
    "L\xC3\xB6scht Fehlerberichte und Absturzabbilder (die des Systems nur als Administrator)",
    "Leert die Shader-Caches von DirectX und den Grafiktreibern",
    "Fehlerberichte und Absturzabbilder werden gel\xC3\xB6scht...",
    "Fehlerberichte und Absturzabbilder gel\xC3\xB6scht",
    "Shader-Caches werden geleert...",
    "Shader-Caches geleert",
    // Places and files left alone.
    "%1 blieb unber\xC3\xBChrt: %2",
    "wohin es f\xC3\xBChrt, l\xC3\xA4sst sich nicht feststellen",
    "es ist die Wurzel eines Laufwerks",
    "es ist oder enth\xC3\xA4lt %1",
    "es liegt au\xC3\x9F"
    "erhalb von %1",
    "TMP und TEMP sind nicht gesetzt",
    "%1: blieb liegen, der Papierkorb hat die Datei nicht angenommen",
    "%1: blieb liegen, der Pfad ist zu lang f\xC3\xBCr den Papierkorb",
    "Papierkorb nicht geleert: dieser Lauf hat seine Funde dorthin verschoben",
    "%1 ist das ganze Dateisystem des Wirtsrechners (Wine): nicht durchsucht",
};
static_assert(std::size(kDesignTexts) == kLanguageTextCount - kFirstAddedText,
              "every added text has its design text");

std::string MissingLine(std::size_t index) {
  return index < kFirstAddedText ? std::string() : kDesignTexts[index - kFirstAddedText];
}

}  // namespace

std::string LanguageFilePath(std::string_view languageCode) {
  return "data\\lang\\" + std::string(languageCode.substr(0, 2)) + ".dat";
}

void ReadLanguageFile(platform::System& system, std::string_view languageCode,
                      LanguageTexts& texts) {
  platform::ReadResult file =
      system.ReadFile(LanguageFilePath(languageCode), platform::FileAccess::kRead);
  if (file.bytes) texts = ParseLanguageFile(*file.bytes, languageCode);
}

LanguageTexts ParseLanguageFile(std::string_view bytes, std::string_view languageCode) {
  LanguageTexts texts;
  const std::vector<std::string> lines = platform::SplitTextLines(bytes);
  for (std::size_t i = 0; i < static_cast<std::size_t>(kLanguageTextCount); ++i)
    texts[static_cast<Text>(i)] = i < lines.size() ? lines[i] : MissingLine(i);
  texts.SetCode(std::string(languageCode.substr(0, 2)));
  return texts;
}

std::uint16_t MessageLanguageIdFor(std::string_view languageCode) {
  if (languageCode == "De") return 7;
  if (languageCode == "En") return 9;
  if (languageCode == "Gr") return 8;
  return 0;
}

}  // namespace lang
