#include "clean/cleaner_steps.h"

#include <cstdint>

#include "cleaners/catalog.h"
#include "cleaners/detection.h"
#include "lang/quantities.h"

namespace clean {

namespace {

lang::Text ReasonText(cleaners::Issue issue) {
  using cleaners::Issue;
  switch (issue) {
    case Issue::kDotSegment:
      return lang::Text::kRefusedDotSegment;
    case Issue::kProtectedFolder:
      return lang::Text::kRefusedProtectedFolder;
    case Issue::kProtectedRegistryKey:
      return lang::Text::kRefusedRegistryKey;
    case Issue::kExclusionUnread:
      return lang::Text::kRefusedExclusionUnread;
    default:
      return lang::Text::kRefusedPlace;
  }
}

}  // namespace

void CleanerSteps(cleanups::RunContext& run, RunView& view,
                  const std::vector<std::string>& chosen) {
  // Reading and detecting every entry costs a moment: not for a user who chose none.
  if (chosen.empty() || run.Stopped()) return;
  platform::System& system = run.System();
  const cleaners::Catalog catalog = cleaners::Catalog::Load(system);
  const cleaners::Places places(system);
  cleaners::Detector detector(system, places);
  const lang::LanguageTexts& texts = run.Texts();
  for (const cleaners::Entry* entry : catalog.Enabled(chosen, detector)) {
    if (run.Stopped()) break;
    const std::string name = cleaners::ShownName(entry->name);
    view.CleanerBegins(*entry);
    view.ShowStatus(lang::Filled(texts[lang::Text::kCleanerStatus], {name}));
    // Each entry is a category of its own in a review.
    run.PartBegins("cleaner." + entry->name, name);
    const cleaners::EntryOutcome outcome = cleaners::RunEntry(*entry, places, run);
    run.AddItems(outcome.registryItems);
    run.PartEnds();
    if (!outcome.runningProgram.empty()) {
      run.Note(lang::Filled(texts[lang::Text::kCleanerRunning], {name, outcome.runningProgram}));
    } else {
      run.Report(name + ": " +
                 lang::FilesAndSize(static_cast<std::uint64_t>(outcome.files),
                                    static_cast<std::uint64_t>(outcome.bytes), texts));
    }
    for (const cleaners::KeyNote& note : outcome.refused) {
      run.Note(lang::Filled(texts[lang::Text::kCleanerKeyRefused],
                            {name, note.key + "=" + note.value, texts[ReasonText(note.issue)]}));
    }
    view.CleanerEnds(*entry, outcome);
    run.ProcessMessages();
  }
}

}  // namespace clean
