// The applications' entries in a run: each entry the user chose that applies to this computer
// runs after the special steps as a step of its own, with its status text and its report line.
#pragma once

#include <string>
#include <vector>

#include "clean/run_view.h"
#include "cleanups/run_context.h"

namespace clean {

// Reads the rule files through the run's System, so that an analysis runs the very same entries
// over its dry run. `chosen`: the entries the user switched on, by name.
void CleanerSteps(cleanups::RunContext& run, RunView& view, const std::vector<std::string>& chosen);

}  // namespace clean
