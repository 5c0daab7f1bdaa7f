// The clean-up after a review: the ticked items of the plan, removed as the analysis listed them
// and nothing else. Each is looked at again just before it goes; one that is no longer as the
// analysis saw it stays.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "clean/removal_plan.h"
#include "cleanups/run_context.h"

namespace clean {

class PlanReplay {
 public:
  PlanReplay(cleanups::RunContext& run, const RemovalPlan& plan) : run_(run), plan_(plan) {}

  // Works through the plan until its end or a stop; the report gets, category by category, a
  // line with what went and the paths of the files that went.
  void Run();
  // The wanted items left in place because they changed since the analysis (or are gone).
  std::uint64_t Changed() const { return changed_; }

 private:
  // Whether the file or folder is still as the analysis saw it: there, of the same size and
  // attributes, no link, in a folder that still leads where it led.
  bool Unchanged(const PlannedItem& item);
  bool SameFolder(const std::string& path);
  void Remove(const PlannedItem& item);
  void RecycleBatch();
  void Gone(const PlannedItem& item, std::uint64_t items, std::uint64_t bytes);

  cleanups::RunContext& run_;
  const RemovalPlan& plan_;
  std::uint64_t changed_ = 0;
  std::vector<const PlannedItem*> batch_;
  std::unordered_map<std::string, bool> sameFolder_;
  std::string lastGone_;  // the last file or folder that went
  // Per category: what went, and the paths of its files.
  struct Done {
    std::uint64_t items = 0;
    std::uint64_t bytes = 0;
    std::vector<std::string> paths;
  };
  std::vector<Done> done_;
};

}  // namespace clean
