// Whole program runs on the sim with one injected failure each, and what a run may be judged by
// afterwards: the files that were there before, the ones gone after, the ones a fault took.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "clean/markfile_form.h"
#include "platform/sim/fault_injection.h"
#include "platform/sim/sim_system.h"
#include "tests/clean/run_harness.h"

namespace reliability {

using platform::sim::Fault;
using platform::sim::Op;
using platform::sim::SimSystem;

// Every entry of the sim by its folded path: files with their sizes, folders and links.
struct Snapshot {
  std::map<std::string, std::uint64_t> files;
  std::set<std::string> others;  // folders and links

  bool Has(const std::string& folded) const {
    return files.count(folded) != 0 || others.count(folded) != 0;
  }
};

inline Snapshot TakeSnapshot(const SimSystem& sim) {
  Snapshot snapshot;
  const std::string dump = sim.Dump();
  std::size_t start = 0;
  while (start < dump.size()) {
    const std::size_t end = dump.find('\n', start);
    const std::string line = dump.substr(start, end - start);
    start = end + 1;
    const std::size_t arrow = line.find(" -> ");
    const std::size_t open = line.rfind(" (");
    if (arrow != std::string::npos) {
      snapshot.others.insert(platform::sim::FoldName(line.substr(0, arrow)));
    } else if (!line.empty() && line.back() == '\\') {
      snapshot.others.insert(platform::sim::FoldName(line.substr(0, line.size() - 1)));
    } else if (open != std::string::npos && line.back() == ')') {
      snapshot.files[platform::sim::FoldName(line.substr(0, open))] =
          std::stoull(line.substr(open + 2, line.size() - open - 3));
    }
  }
  return snapshot;
}

struct Injection {
  Op op;
  int n;
  Fault fault;
};

inline std::string Describe(const Injection& injection) {
  return std::string(platform::sim::NameOf(injection.op)) + " #" + std::to_string(injection.n) +
         " (" + platform::sim::NameOf(injection.fault) + ")";
}

// The operations whose failures can leave a trace on an entry, and so get every kind of fault.
inline bool TakesAPath(Op op) {
  switch (op) {
    case Op::kReadFile:
    case Op::kWriteFile:
    case Op::kReplaceFile:
    case Op::kDeleteFile:
    case Op::kRemoveFolder:
    case Op::kMoveToRecycleBin:
    case Op::kWriteNewFile:
    case Op::kReadFileStart:
    case Op::kListFolder:
    case Op::kLookUp:
      return true;
    default:
      return false;
  }
}

inline std::vector<Fault> FaultsFor(Op op) {
  if (!TakesAPath(op)) return {Fault::kAccessDenied};
  std::vector<Fault> faults = {Fault::kAccessDenied, Fault::kSharingViolation, Fault::kVanished,
                               Fault::kPathTooLong};
  if (op == Op::kWriteFile || op == Op::kWriteNewFile) faults.push_back(Fault::kDiskFull);
  return faults;
}

// Every injection a sweep makes: each kind of fault at each call a fault-free run made.
inline std::vector<Injection> EveryInjection(const std::vector<std::uint64_t>& calls) {
  std::vector<Injection> all;
  for (int op = 0; op < static_cast<int>(Op::kCount); ++op) {
    for (std::uint64_t n = 1; n <= calls[static_cast<std::size_t>(op)]; ++n) {
      for (Fault fault : FaultsFor(static_cast<Op>(op)))
        all.push_back({static_cast<Op>(op), static_cast<int>(n), fault});
    }
  }
  return all;
}

inline std::vector<std::uint64_t> CallsOf(const SimSystem& sim) {
  std::vector<std::uint64_t> calls;
  for (int op = 0; op < static_cast<int>(Op::kCount); ++op)
    calls.push_back(sim.Calls(static_cast<Op>(op)));
  return calls;
}

// A user who answers every dialog the program shows, whichever turns up: the language dialog
// is closed, the review confirms every file, the report is read and closed.
inline void AnswerEveryDialog(testing_app::RunHarness& h, std::vector<std::string>& report) {
  h.ui.onScriptProblem = [&report](ui::Form& form, const std::string&) {
    if (form.Name() == "TFrmmarkfile") {
      testing_app::MarkAllAndGoOn()(static_cast<clean::TFrmmarkfile&>(form));
    } else if (form.Name() == "TFrmDelinfo") {
      auto& delinfo = static_cast<clean::TFrmDelinfo&>(form);
      for (int i = 0; i < delinfo.LBdelinfo.Count(); ++i)
        report.push_back(delinfo.LBdelinfo.Item(i));
      delinfo.BBtnClose.Click();
    } else {
      form.Close();
    }
  };
}

}  // namespace reliability
