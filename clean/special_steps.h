// The special clean-ups of a run, in the order they run, with their texts.
#pragma once

#include <array>

namespace clean {

struct SpecialStep {
  int switchIndex;    // the switch that turns the step on
  int statusText;     // LanguageTexts entry shown while the step runs
  int reportLine;     // LanguageTexts entry added to the report afterwards; -1 for none
  bool processAfter;  // whether pending messages are processed after the step
};

inline constexpr std::array<SpecialStep, 11> kSpecialSteps = {{
    {0, 46, 47, true},    // temporary folders
    {1, 48, 49, true},    // recent documents
    {2, 50, 51, true},    // recycle bin
    {3, 52, 53, true},    // temporary internet files
    {4, 54, 55, true},    // cookies
    {5, 56, 57, true},    // favourites
    {6, 58, 59, true},    // history
    {8, 60, 61, false},   // old update files
    {9, 62, 63, true},    // system log
    {10, 64, -1, true},   // unused shared libraries: they report their own lines
    {11, 68, 69, false},  // the Run dialog's list
}};

}  // namespace clean
