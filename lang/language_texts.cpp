#include "lang/language_texts.h"

#include <iterator>

#include "platform/text_lines.h"

namespace lang {

namespace {

// The German wording of every text, as the forms carry it: the table before any file is read,
// and what stands in for a line a language file lacks (a file made before a text was added).
constexpr const char* kDesignTexts[] = {
    "&Datei",
    "&L\xC3\xB6schen",
    "&Abbrechen",
    "&Beenden",
    "&Bearbeiten",
    "&Sprache",
    "&Optionen",
    "&Hilfe",
    "&Info",
    "M\xC3\xBClldateien l\xC3\xB6schen",
    "Alle Lauf&werke",
    "&Schlie\xC3\x9F"
    "en",
    "Dateiendungen",
    "&Hinzuf\xC3\xBCgen",
    "&Entfernen",
    "Ausnahmen",
    "&Tempverzeichnis",
    "&Recentordner",
    "Papierkorb &leeren",
    "temp. &Internetdateien",
    "Coo&kies",
    "&Favoriten",
    "&Verlauf leeren",
    "&0-Byte-Dateien",
    "alte &Update-Dateien",
    "S&ystemprotokoll",
    "unn\xC3\xBCt&ze DLL",
    "Tempverzeichnis leeren",
    "Recent Ordner entleeren",
    "Windows Papierkorb leeren",
    "Leert den Cache von IE, Chrome, Edge, Brave, Vivaldi, Opera und Firefox",
    "L\xC3\xB6scht die Cookies von IE, Chrome, Edge, Brave, Vivaldi, Opera und Firefox",
    "L\xC3\xB6scht den Ordner Favoriten",
    "L\xC3\xB6scht die History von Windows",
    "L\xC3\xB6scht alle Dateien, die keinen Inhalt haben",
    "L\xC3\xB6scht nicht mehr ben\xC3\xB6tigte Windows-Update-Dateien",
    "L\xC3\xB6scht das Protokoll von Windows",
    "L\xC3\xB6scht alle dll-Dateien die nicht mehr gebraucht werden",
    "&OK",
    "A&bbrechen",
    "Stan&dard",
    "Dateitypen die gel\xC3\xB6scht werden sollen",
    "Alle Dateien die nicht gel\xC3\xB6scht werden sollen",
    "Der Vorgang wurde erfolgreich durchgef\xC3\xBChrt",
    "Folgende Dateien wurden gel\xC3\xB6scht:",
    "Gel\xC3\xB6schte Dateien",
    "Tempor\xC3\xA4re Ordner werden geleert...",
    "Tempor\xC3\xA4re Ordner geleert",
    "Recentordner wird geleert...",
    "Recentordner geleert",
    "Papierkorb wird geleert...",
    "Papierkorb geleert",
    "Internetdateien werden gel\xC3\xB6scht...",
    "Tempor\xC3\xA4re Internetdateien gel\xC3\xB6scht",
    "Cookies werden gel\xC3\xB6scht...",
    "Cookies gel\xC3\xB6scht",
    "Favoriten werden gel\xC3\xB6scht...",
    "Favoriten gel\xC3\xB6scht",
    "Verlauf wird gel\xC3\xB6scht...",
    "Verlauf gel\xC3\xB6scht",
    "Update-Dateien werden gel\xC3\xB6scht...",
    "Alte Update-Dateien gel\xC3\xB6scht",
    "Systemprotokoll wird geleert...",
    "Systemprotokoll geleert",
    "Unn\xC3\xBCtze DLLs werden entfernt...",
    " KB freigegeben",
    "Der Vorgang wurde abgebrochen",
    "Folgende Dateien wurden vor dem Abbruch gel\xC3\xB6scht:",
    "Liste Ausf\xC3\xBChren wird geleert...",
    "Liste Ausf\xC3\xBChren geleert",
    "Liste &Ausf\xC3\xBChren",
    "Liste Ausf\xC3\xBChren jetzt leeren",
    "Ung\xC3\xBCltige Dateiendung. Sie muss einen Punkt enthalten, der weder am Anfang noch am "
    "Ende steht, z. B. *.tmp. Nicht erlaubt sind die Zeichen \\ / :, Muster f\xC3\xBCr Programme, "
    "Treiber und Einstellungen wie *.exe, *.dll, *.sys oder *.* und Muster, die Dateien ohne "
    "Endung treffen.",
    "Ung\xC3\xBCltige Ausnahme. Erlaubt sind ein Dateiname mit Punkt (desktop.ini, .gitkeep), ein "
    "Muster (*.sav.tmp) oder ein Ordner mit Laufwerk (D:\\Spiele\\), in dem nichts gel\xC3\xB6scht "
    "wird.",
    "Neue Dateiendung",
    "Dateiendung eingeben, z. B. *.tmp:",
    "Neue Ausnahme",
    "Nie zu l\xC3\xB6schende Datei, Muster oder Ordner, z. B. desktop.ini, *.sav.tmp oder "
    "D:\\Spiele\\:",
    "In den &Papierkorb verschieben",
    "Dateien werden nicht gel\xC3\xB6scht sondern in den Papierkorb verschoben",
    "Ung\xC3\xBCltige Eingabe",
    "&Nachfragen bevor gel\xC3\xB6scht wird",
    "Einzelne Dateien markieren, die gel\xC3\xB6scht werden sollen",
    "Markierte Dateien werden gel\xC3\xB6scht",
    "Gefundene Dateien",
    "&Alle markieren",
    "&Keine markieren",
    "&Weiter",
    "Markierte Dateien werden gel\xC3\xB6scht...",
    "Gefundene Dateien (abgebrochen)",
    "\xC3\x9C"
    "bernehmen",
    "Verwerfen",
    "Standardeinstellungen wiederherstellen",
    "Weitere Optionen",
    "Einstellungen nicht lesbar: keine Datei wurde gesucht",
    "1 Datei",
    "%1 Dateien",
    "A&nalysieren",
    "Analyse",
    "Analyse abgeschlossen, es wurde nichts entfernt",
    "Folgende Dateien w\xC3\xBCrden gel\xC3\xB6scht:",
    " KB w\xC3\xBCrden freigegeben",
    "%1: Cache gel\xC3\xB6scht, %2",
    "%1: Cookies gel\xC3\xB6scht, %2",
    "%1 l\xC3\xA4uft: Cache und Cookies blieben unber\xC3\xBChrt. Schlie\xC3\x9F"
    "en Sie den Browser (auch im Infobereich) und starten Sie die Bereinigung erneut.",
    "Fehlerberi&chte und Absturzabbilder",
    "&Shader-Caches",
    "L\xC3\xB6scht Fehlerberichte und Absturzabbilder (die des Systems nur als Administrator)",
    "Leert die Shader-Caches von DirectX und den Grafiktreibern",
    "Fehlerberichte und Absturzabbilder werden gel\xC3\xB6scht...",
    "Fehlerberichte und Absturzabbilder gel\xC3\xB6scht",
    "Shader-Caches werden geleert...",
    "Shader-Caches geleert",
    "Die Dateiendungen, die Ausnahmen und alle Schalter werden auf die Standardeinstellungen "
    "zur\xC3\xBC"
    "ckgesetzt. Fortfahren?",
    "%1 trifft auch Dokumente wie %2: Jede solche Datei auf den durchsuchten Laufwerken "
    "w\xC3\xBCrde gel\xC3\xB6scht. Trotzdem hinzuf\xC3\xBCgen?",
    "Freeware \xC2\xA9 die Dustorix-Autoren",
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
    "data\\agerules.dat, Zeile %1: keine Regel, nicht beachtet",
    "&Miniaturansichten",
    "&\xC3\x9C"
    "bermittlungsoptimierung",
    "Windows-Up&grade-Protokolle",
    "L\xC3\xB6scht die Miniaturansichten- und Symbolcaches des Explorers (die benutzten bleiben)",
    "Leert den Cache der \xC3\x9C"
    "bermittlungsoptimierung: Update-Teile f\xC3\xBCr andere PCs (nur als Administrator)",
    "L\xC3\xB6scht die Protokolle von Windows-Setup und -Wartung (nur als Administrator)",
    "Miniaturansichten werden gel\xC3\xB6scht...",
    "Miniaturansichten gel\xC3\xB6scht",
    "Cache der \xC3\x9C"
    "bermittlungsoptimierung wird geleert...",
    "Cache der \xC3\x9C"
    "bermittlungsoptimierung geleert",
    "Windows-Upgrade-Protokolle werden gel\xC3\xB6scht...",
    "Windows-Upgrade-Protokolle gel\xC3\xB6scht",
    // The applications' entries.
    "%1 wird bereinigt...",
    "%1 l\xC3\xA4uft (%2): unber\xC3\xBChrt gelassen. Schlie\xC3\x9F"
    "en Sie das Programm (auch im Infobereich) und starten Sie die Bereinigung erneut.",
    "%1: %2 abgelehnt, %3",
    "sein Ordner enth\xC3\xA4lt . oder ..",
    "zu weit gefasst an einem gesch\xC3\xBCtzten Ordner",
    "ein Registrierungsschl\xC3\xBCssel, auf den das System angewiesen ist",
    "sein Ordner f\xC3\xBChrt dorthin, wo keine Bereinigung hin darf",
    "eine Ausnahme des Eintrags lie\xC3\x9F sich nicht lesen",
    "An&wendungen",
    "W\xC3\xA4hlt die Anwendungen, deren Caches mitbereinigt werden",
    "%1 von %2 Eintr\xC3\xA4gen betreffen diesen Computer",
    "&Suchen:",
    "Eintrag",
    "Trotzdem ausw\xC3\xA4hlen?",
    // The review of everything a run would remove.
    "Abgebrochen: nichts wurde entfernt",
    "Analyse abgebrochen: Funde bis zum Abbruch",
    "%1: Cache w\xC3\xBCrde gel\xC3\xB6scht, %2",
    "%1: Cookies w\xC3\xBCrden gel\xC3\xB6scht, %2",
    "%1: Cache",
    "%1: Cookies",
    "%1 seit der Analyse ver\xC3\xA4ndert und nicht entfernt",
    "Gefundene Dateien (Dateiendungen)",
    "Leere Dateien (0 Byte)",
    "Kategorie",
    "Anzahl",
    "Gr\xC3\xB6\xC3\x9F"
    "e",
    "Anteil",
    "Angehakt: %1",
    "&Bereinigen",
    "%1 (endg\xC3\xBCltig, nicht in den Papierkorb)",
    "Analyse: %1 s",
    "Angehakte Kategorien werden entfernt. Haken entfernen, was bleiben soll:",
    "Bereinigen: \xC3\x9C"
    "berpr\xC3\xBC"
    "fung",
    "Dateien &anzeigen",
    "Name",
    "Ordner",
    "%1 KB in den Papierkorb",
    "%1 KB k\xC3\xA4men in den Papierkorb",
    "Hinweise:",
    "Gefunden: %1",
    "Alte Downloads",
    "Alte Downloads werden gel\xC3\xB6scht...",
    "Alte Downloads gel\xC3\xB6scht",
    "Nach Alter",
    "Tempor\xC3\xA4re Dateien behalten, die j\xC3\xBCnger sind als:",
    "Junge Dateien bleiben: ein laufendes Setup braucht sie noch",
    "Dateien in Downloads l\xC3\xB6schen, unver\xC3\xA4ndert seit:",
    "L\xC3\xB6scht alte Dateien im Ordner Downloads; die Ordner bleiben",
    "keine",
    "nie",
    "%1 Stunden",
    "%1 Tage",
    "Vorherige Windows-Installation",
    "%1: %2 \xE2\x80\x93 nur die Datentr\xC3\xA4gerbereinigung von Windows entfernt sie (sie "
    "geh\xC3\xB6rt dem System; Windows entfernt sie nach 10 Tagen)",
    "%1 \xE2\x80\x93 entfernt nur die Datentr\xC3\xA4gerbereinigung von Windows",
    "Aus dem Papierkorb entfernen:",
    "Nur Elemente, die so lange im Papierkorb liegen, werden entfernt",
    "alle Elemente",
    "\xC3\xA4lter als %1 Tag(e)",
};
static_assert(std::size(kDesignTexts) == kLanguageTextCount, "every text has its design text");

}  // namespace

const std::string& DesignText(Text text) {
  static const std::array<std::string, kLanguageTextCount> texts = [] {
    std::array<std::string, kLanguageTextCount> all;
    for (std::size_t i = 0; i < all.size(); ++i)
      all[i] = kDesignTexts[i];
    return all;
  }();
  return texts[static_cast<std::size_t>(text)];
}

std::string WithoutAccessKey(std::string_view caption) {
  std::string plain;
  plain.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && ++i == caption.size()) break;
    plain += caption[i];
  }
  return plain;
}

LanguageTexts::LanguageTexts() {
  for (std::size_t i = 0; i < texts_.size(); ++i)
    texts_[i] = DesignText(static_cast<Text>(i));
}

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
  for (std::size_t i = 0; i < lines.size() && i < static_cast<std::size_t>(kLanguageTextCount);
       ++i) {
    if (!lines[i].empty()) texts[static_cast<Text>(i)] = lines[i];
  }
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
